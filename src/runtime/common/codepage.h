#pragma once
// The three code pages of the program, and the only place that converts between them:
//  - program and stored texts (server, off-line store) are Windows-1252 ("ANSI");
//  - the screen grid holds CP850 ("OEM") bytes, one per cell;
//  - the terminal speaks UTF-8.
// Source literals are UTF-8 and are converted once, with the literal operators below.
#include <string>
#include <string_view>

#include "runtime/common/oem.h"

namespace cp {

// CP850 byte -> Unicode code point (0x00-0x1F are the DOS glyphs: 0x18 is an up arrow ...).
char32_t oem_to_unicode(unsigned char b);
// Unicode -> CP850 byte, or -1 when CP850 has no such character.
int unicode_to_oem(char32_t c);
// Windows-1252 byte -> Unicode (undefined bytes map to themselves as C1 controls).
char32_t ansi_to_unicode(unsigned char b);
// Unicode -> Windows-1252 byte, or -1.
int unicode_to_ansi(char32_t c);

// Windows-1252 -> CP850 as the platform's CharToOem does: characters with no CP850 form
// get the nearest one ("€" -> "E", curly quotes -> straight ones ...).
Oem ansi_to_oem(std::string_view ansi);
std::string oem_to_ansi(OemView oem);
// The text to store back for a value that was shown as `stored` converted to the console:
// `stored` itself while `shown` is still exactly that conversion, so that characters the
// console cannot show ("—", "€", curly quotes) are not replaced by their nearest form just
// because the value went through a form; the conversion of `shown` once it was edited.
std::string oem_to_ansi_keeping(OemView shown, std::string_view stored);

std::string utf8_to_ansi(std::string_view utf8);
Oem utf8_to_oem(std::string_view utf8);
std::string oem_to_utf8(OemView oem);
std::string ansi_to_utf8(std::string_view ansi);

// Appends the UTF-8 form of one code point ('?' for a value that is not a character).
void append_utf8(std::string& out, char32_t c);
// Decodes the code point at the start of `bytes` into `out` and returns how many bytes it
// took. An invalid or overlong byte sequence takes 1 byte and decodes as U+FFFD; a text that
// ends inside a sequence returns 0 (the caller may wait for the rest).
int decode_utf8(std::string_view bytes, char32_t& out);

// The nearest plain character for one that a code page lacks (curly quotes -> straight
// ones, dashes -> '-', "€" -> 'E', box lines -> '-' '|' '+'), or -1 when there is none.
int nearest_ascii(char32_t c);
// A UTF-8 text in plain ASCII, for a terminal that cannot show more: letters lose their
// accents ("producción" -> "produccion", "ñ" -> "n"), other characters take their nearest
// form or '?'.
std::string utf8_to_ascii(std::string_view utf8);
// The CP850 byte of a character, or its nearest form, or -1.
int unicode_to_oem_nearest(char32_t c);

}  // namespace cp

// "Año"_ansi is the Windows-1252 text of a UTF-8 source literal; "Año"_oem its CP850 text.
inline std::string operator""_ansi(const char* s, std::size_t n) {
    return cp::utf8_to_ansi({s, n});
}
inline cp::Oem operator""_oem(const char* s, std::size_t n) {
    return cp::utf8_to_oem({s, n});
}
