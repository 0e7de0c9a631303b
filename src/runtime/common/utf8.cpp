// UTF-8, the terminal's encoding. Decoding never trusts its input: whatever arrives from the
// keyboard or a file, a bad byte becomes one replacement character and decoding goes on.
#include "runtime/common/codepage.h"

namespace cp {

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c >= 0xD800 && c <= 0xDFFF) {
        out += '?';  // a lone surrogate is not a character
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c <= 0x10FFFF) {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += '?';
    }
}

int decode_utf8(std::string_view bytes, char32_t& out) {
    out = 0xFFFD;
    if (bytes.empty()) return 0;
    auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    unsigned char lead = at(0);
    if (lead < 0x80) {
        out = lead;
        return 1;
    }
    int length;
    char32_t value;
    // The second byte's range excludes overlong forms, surrogates and values past U+10FFFF.
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 1;  // a continuation byte or a byte that never starts a sequence
    }
    for (int i = 1; i < length; ++i) {
        if (static_cast<std::size_t>(i) >= bytes.size()) return 0;
        unsigned char b = at(i);
        unsigned char lo = i == 1 ? low : 0x80, hi = i == 1 ? high : 0xBF;
        if (b < lo || b > hi) return 1;
        value = value << 6 | (b & 0x3F);
    }
    out = value;
    return length;
}

}  // namespace cp
