#include "runtime/lists/oem_letters.h"

#include "runtime/common/codepage.h"

namespace rt {

int oem_upper(int code) {
    if (code < 0 || code > 255) return code;
    if (code < 128) return code >= 'a' && code <= 'z' ? code - ('a' - 'A') : code;
    // Latin-1 small letters (U+00E0..U+00FE, except the division sign) sit 0x20 above
    // their capitals; CP850 has both forms of every Spanish letter.
    char32_t u = cp::oem_to_unicode(static_cast<unsigned char>(code));
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7) {
        int upper = cp::unicode_to_oem(u - 0x20);
        if (upper >= 0) return upper;
    }
    return code;
}

}  // namespace rt
