// Conversions between Windows-1252, CP850 and Unicode.
#include "runtime/common/codepage.h"

#include <algorithm>
#include <array>
#include <utility>

#include "runtime/common/codepage_tables.h"

namespace cp {
namespace {

using tables::kAnsiHigh;
using tables::kOem;

// Code point -> CP850 byte for 0x80-0x10FFFF, sorted by code point. Where a character has
// two cells (¶ and § are both DOS glyphs and letters) the letter cell wins, so text stays
// text.
class OemReverse {
  public:
    OemReverse() {
        for (int b = 0x80; b <= 0xFF; ++b) pairs_[n_++] = {kOem[b], static_cast<unsigned char>(b)};
        pairs_[n_++] = {kOem[0x7F], 0x7F};
        for (int b = 0x01; b < 0x20; ++b) {
            bool taken = std::any_of(pairs_.begin(), pairs_.begin() + n_,
                                     [&](const auto& p) { return p.first == kOem[b]; });
            if (!taken) pairs_[n_++] = {kOem[b], static_cast<unsigned char>(b)};
        }
        std::sort(pairs_.begin(), pairs_.begin() + n_);
    }
    int find(char32_t c) const {
        auto end = pairs_.begin() + n_;
        auto it = std::lower_bound(pairs_.begin(), end, std::pair<char32_t, unsigned char>{c, 0});
        return it != end && it->first == c ? it->second : -1;
    }

  private:
    std::array<std::pair<char32_t, unsigned char>, 256> pairs_{};
    int n_ = 0;
};

const OemReverse& oem_reverse() {
    static const OemReverse reverse;
    return reverse;
}

// One converted byte: the exact form, else the nearest one, else '?'.
char or_nearest(int exact, char32_t c) {
    if (exact >= 0) return static_cast<char>(exact);
    int near = nearest_ascii(c);
    return static_cast<char>(near >= 0 ? near : '?');
}

template <typename ToByte>
std::string from_utf8(std::string_view utf8, ToByte to_byte) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t c;
        int n = decode_utf8(utf8.substr(i), c);
        if (n == 0) {  // the text ends inside a sequence
            out += '?';
            break;
        }
        out += c == 0xFFFD ? '?' : or_nearest(to_byte(c), c);
        i += static_cast<std::size_t>(n);
    }
    return out;
}

}  // namespace

char32_t oem_to_unicode(unsigned char b) {
    return kOem[b];
}

int unicode_to_oem(char32_t c) {
    if (c < 0x80) return static_cast<int>(c);  // controls stay controls, ASCII stays ASCII
    return oem_reverse().find(c);
}

char32_t ansi_to_unicode(unsigned char b) {
    return b >= 0x80 && b < 0xA0 ? kAnsiHigh[b - 0x80] : b;
}

int unicode_to_ansi(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (kAnsiHigh[i] == c) return 0x80 + i;
    return -1;
}

namespace {

// clang-format off
// Characters that Windows-1252 or CP850 lack, with the plain form that stands in for them.
struct Nearest {
    char32_t c;
    char plain;
};
constexpr Nearest kNearest[] = {
    {0x20AC, 'E'},  {0x201A, ','}, {0x201E, '"'}, {0x201C, '"'}, {0x201D, '"'},   // € ‚ „ “ ”
    {0x2018, '\''}, {0x2019, '\''}, {0x2032, '\''},                               // ‘ ’ ′
    {0x2026, '.'},  {0x2020, '+'}, {0x2021, '+'}, {0x02C6, '^'}, {0x02DC, '~'},   // … † ‡ ˆ ˜
    {0x2030, '%'},  {0x0160, 'S'}, {0x0161, 's'}, {0x017D, 'Z'}, {0x017E, 'z'},   // ‰ Š š Ž ž
    {0x0152, 'O'},  {0x0153, 'o'}, {0x0178, 'Y'}, {0x2039, '<'}, {0x203A, '>'},   // Œ œ Ÿ ‹ ›
    {0x2122, 'T'},  {0x2022, '*'}, {0x2017, '_'}, {0x0131, 'i'}, {0x00A0, ' '},   // ™ • ‗ ı
    {0x2010, '-'},  {0x2011, '-'}, {0x2012, '-'}, {0x2013, '-'}, {0x2014, '-'},   // dashes
    {0x2015, '-'},  {0x2212, '-'},                                                // ― −
    {0x2190, '<'},  {0x25C4, '<'}, {0x2192, '>'}, {0x25BA, '>'},                  // ← ◄ → ►
    {0x2191, '^'},  {0x25B2, '^'}, {0x2193, 'v'}, {0x25BC, 'v'},                  // ↑ ▲ ↓ ▼
    {0x2195, '|'},  {0x21A8, '|'}, {0x2194, '-'},                                 // ↕ ↨ ↔
};
// clang-format on

}  // namespace

int nearest_ascii(char32_t c) {
    for (const auto& n : kNearest)
        if (n.c == c) return n.plain;
    if (c >= 0x2000 && c <= 0x200A) return ' ';  // typographic spaces
    if (c == 0x2500 || c == 0x2550) return '-';  // ─ ═
    if (c == 0x2502 || c == 0x2551) return '|';  // │ ║
    if (c > 0x2500 && c < 0x2580) return '+';    // corners, tees, crosses
    if (c >= 0x2580 && c <= 0x25A0) return '#';  // blocks, shades, ■
    return -1;
}

namespace {
// The letter under the accent, for the Latin-1 letters: "ÀÁÂÃÄÅ" are 'A', and so on.
int sin_acento(char32_t c) {
    static constexpr std::string_view kLatin1 =
        "AAAAAAACEEEEIIIIDNOOOOO?OUUUUY??aaaaaaaceeeeiiiidnooooo?ouuuuy?y";
    if (c < 0xC0 || c > 0xFF) return -1;
    const char letra = kLatin1[c - 0xC0];
    return letra == '?' ? -1 : letra;
}
}  // namespace

std::string utf8_to_ascii(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        char32_t c = 0;
        const int n = decode_utf8(utf8, c);
        utf8.remove_prefix(n > 0 ? static_cast<std::size_t>(n) : utf8.size());
        if (n <= 0) c = 0xFFFD;
        int plano = c < 0x80 ? static_cast<int>(c) : sin_acento(c);
        if (plano < 0) plano = nearest_ascii(c);
        out += plano < 0 ? '?' : static_cast<char>(plano);
    }
    return out;
}

int unicode_to_oem_nearest(char32_t c) {
    int exact = unicode_to_oem(c);
    return exact >= 0 ? exact : nearest_ascii(c);
}

Oem ansi_to_oem(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (unsigned char b : ansi) {
        if (b < 0x80) {
            out += static_cast<char>(b);
            continue;
        }
        char32_t c = ansi_to_unicode(b);
        out += or_nearest(unicode_to_oem(c), c);
    }
    return Oem(std::move(out));
}

std::string oem_to_ansi(OemView oem) {
    std::string out;
    out.reserve(oem.size());
    for (unsigned char b : oem) {
        if (b < 0x80) {  // controls are controls in stored text, not glyphs
            out += static_cast<char>(b);
            continue;
        }
        char32_t c = oem_to_unicode(b);
        out += or_nearest(unicode_to_ansi(c), c);
    }
    return out;
}

std::string oem_to_ansi_keeping(OemView shown, std::string_view stored) {
    if (ansi_to_oem(stored) == shown) return std::string(stored);
    return oem_to_ansi(shown);
}

std::string utf8_to_ansi(std::string_view utf8) {
    return from_utf8(utf8, unicode_to_ansi);
}
Oem utf8_to_oem(std::string_view utf8) {
    return Oem(from_utf8(utf8, unicode_to_oem));
}

std::string oem_to_utf8(OemView oem) {
    std::string out;
    out.reserve(oem.size() * 2);
    for (unsigned char b : oem) append_utf8(out, oem_to_unicode(b));
    return out;
}

std::string ansi_to_utf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size() * 2);
    for (unsigned char b : ansi) append_utf8(out, ansi_to_unicode(b));
    return out;
}

}  // namespace cp
