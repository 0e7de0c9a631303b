#include "runtime/common/codepage.h"

#include <gtest/gtest.h>

#include <string>

#include "support/oem_compare.h"

namespace {

struct OemGlyph {
    unsigned char oem;
    const char* utf8;
};

// Cells the screen relies on: DOS glyphs, letters of Spanish texts, the box and arrow set.
const OemGlyph kGlyphs[] = {
    {0x01, "☺"}, {0x07, "•"}, {0x10, "►"}, {0x11, "◄"}, {0x12, "↕"},      {0x14, "¶"}, {0x15, "§"},
    {0x18, "↑"}, {0x19, "↓"}, {0x1A, "→"}, {0x1B, "←"}, {0x1E, "▲"},      {0x1F, "▼"}, {0x7F, "⌂"},
    {0x20, " "}, {'A', "A"},  {0x80, "Ç"}, {0x81, "ü"}, {0x82, "é"},      {0x90, "É"}, {0xA0, "á"},
    {0xA1, "í"}, {0xA2, "ó"}, {0xA3, "ú"}, {0xA4, "ñ"}, {0xA5, "Ñ"},      {0xA6, "ª"}, {0xA7, "º"},
    {0xA8, "¿"}, {0xAD, "¡"}, {0xB3, "│"}, {0xB4, "┤"}, {0xBF, "┐"},      {0xC0, "└"}, {0xC3, "├"},
    {0xC4, "─"}, {0xC5, "┼"}, {0xC2, "┬"}, {0xD9, "┘"}, {0xDA, "┌"},      {0xCD, "═"}, {0xBA, "║"},
    {0xB0, "░"}, {0xDB, "█"}, {0xFE, "■"}, {0xB5, "Á"}, {0xD6, "Í"},      {0xE0, "Ó"}, {0xE9, "Ú"},
    {0xF8, "°"}, {0xF4, "¶"}, {0xF5, "§"}, {0xD5, "ı"}, {0xFF, "\u00A0"},
};

TEST(Codepage, OemCellsShowAsTheirGlyphs) {
    for (const auto& g : kGlyphs) {
        EXPECT_EQ(cp::oem_to_utf8(cp::Oem(std::string(1, static_cast<char>(g.oem)))), g.utf8)
            << "byte " << int(g.oem);
    }
}

TEST(Codepage, EveryOemByteHasOneGlyphAndLettersComeBack) {
    for (int b = 0x20; b <= 0xFF; ++b) {
        char32_t c = cp::oem_to_unicode(static_cast<unsigned char>(b));
        EXPECT_EQ(cp::unicode_to_oem(c), b) << "byte " << b;
    }
    // ¶ and § have a glyph cell and a letter cell: text takes the letter cell.
    EXPECT_EQ(cp::unicode_to_oem(U'¶'), 0xF4);
    EXPECT_EQ(cp::unicode_to_oem(U'§'), 0xF5);
    EXPECT_EQ(cp::unicode_to_oem(U'↑'), 0x18);
    EXPECT_EQ(cp::unicode_to_oem(U'€'), -1);
    EXPECT_EQ(cp::unicode_to_oem(U'\n'), '\n');
}

TEST(Codepage, AnsiMapsThroughUnicodeBothWays) {
    for (int b = 0; b <= 0xFF; ++b) {
        char32_t c = cp::ansi_to_unicode(static_cast<unsigned char>(b));
        EXPECT_EQ(cp::unicode_to_ansi(c), b) << "byte " << b;
    }
    EXPECT_EQ(cp::ansi_to_unicode(0x80), U'€');
    EXPECT_EQ(cp::ansi_to_unicode(0x93), U'“');
    EXPECT_EQ(cp::ansi_to_unicode(0xF1), U'ñ');
    EXPECT_EQ(cp::unicode_to_ansi(U'─'), -1);
}

struct Conversion {
    const char* from;  // UTF-8 source text, converted to ANSI first
    const char* to;    // expected OEM text, as UTF-8
};

TEST(Codepage, AnsiToOemTakesTheNearestFormWhenThereIsNone) {
    const Conversion cases[] = {
        {"Año producción", "Año producción"},
        {"¿Desea salir?", "¿Desea salir?"},
        {"ÁÉÍÓÚ áéíóú Üü Ññ", "ÁÉÍÓÚ áéíóú Üü Ññ"},
        {"€ 100", "E 100"},
        {"“cita” y ‘otra’", "\"cita\" y 'otra'"},
        {"a–b—c", "a-b-c"},
        {"fin…", "fin."},
        {"Œuvre ™ ‰", "Ouvre T %"},
        {"Šž Ÿ", "Sz Y"},
        {"° ± ² ½", "° ± ² ½"},
    };
    for (const auto& c : cases) {
        cp::Oem oem = cp::ansi_to_oem(cp::utf8_to_ansi(c.from));
        EXPECT_EQ(cp::oem_to_utf8(oem), c.to) << c.from;
    }
    // Bytes with no character in Windows-1252 do not pass through as garbage.
    EXPECT_EQ(cp::ansi_to_oem("\x81\x8D"), "??");
}

// For a terminal that is not UTF-8 (the program's help and command-line messages).
TEST(Codepage, Utf8ToAsciiKeepsTheLettersWithoutTheirAccents) {
    const Conversion cases[] = {
        {"Año producción", "Ano produccion"},
        {"ÁÉÍÓÚ áéíóú Üü Ññ Çç ÿ", "AEIOU aeiou Uu Nn Cc y"},
        {"“cita” a–b € 100", "\"cita\" a-b E 100"},
        {"× ÷ ß \xC3", "? ? ? ?"},
    };
    for (const auto& c : cases) EXPECT_EQ(cp::utf8_to_ascii(c.from), c.to) << c.from;
}

TEST(Codepage, LatinTextSurvivesTheTripToTheScreenAndBack) {
    std::string all;
    for (int b = 0x01; b <= 0x7F; ++b) all += static_cast<char>(b);
    for (int b = 0xA0; b <= 0xFF; ++b) all += static_cast<char>(b);
    EXPECT_EQ(cp::oem_to_ansi(cp::ansi_to_oem(all)), all);
}

TEST(Codepage, OemToAnsiDrawsBoxesWithPlainCharacters) {
    EXPECT_EQ(cp::oem_to_ansi("┌─┐│└┘═║├┼"_oem), "+-+|++-|++");
    EXPECT_EQ(cp::oem_to_ansi("░█"_oem), "##");
    EXPECT_EQ(cp::oem_to_ansi("Línea 1\n"_oem), "Línea 1\n"_ansi);
}

TEST(Codepage, LiteralOperatorsConvertUtf8Sources) {
    EXPECT_EQ("Año"_ansi, "A\xF1o");
    EXPECT_EQ("Año"_oem, "A\xA4o");
    EXPECT_EQ("┌─┐"_oem, "\xDA\xC4\xBF");
    EXPECT_EQ("→"_oem, "\x1A");
}

struct Utf8Case {
    std::string bytes;
    std::string ansi;
};

TEST(Codepage, InvalidUtf8BecomesQuestionMarks) {
    const Utf8Case cases[] = {
        {"ok", "ok"},
        {"\xC3\xB1", "\xF1"},          // ñ
        {"\xC3", "?"},                 // cut short at the end
        {"\xC3(", "?("},               // lead byte without continuation
        {"\x80\xBF", "??"},            // stray continuation bytes
        {"\xC0\xAF", "??"},            // overlong '/'
        {"\xE0\x80\xAF", "???"},       // overlong, three bytes
        {"\xED\xA0\x80", "???"},       // a surrogate
        {"\xF4\x90\x80\x80", "????"},  // past U+10FFFF
        {"\xFF\xFE", "??"},            // never valid
        {"\xF0\x9F\x98\x80!", "?!"},   // a real character with no ANSI form
        {"a\xE2\x82", "a?"},           // truncated euro sign
    };
    for (const auto& c : cases) EXPECT_EQ(cp::utf8_to_ansi(c.bytes), c.ansi);
}

TEST(Codepage, Utf8EncodesEveryRange) {
    const std::pair<char32_t, std::string> cases[] = {
        {U'A', "A"},
        {U'ñ', "\xC3\xB1"},
        {U'€', "\xE2\x82\xAC"},
        {U'\U0001F600', "\xF0\x9F\x98\x80"},
        {0xD800, "?"},
        {0x110000, "?"},
    };
    for (const auto& [c, bytes] : cases) {
        std::string out;
        cp::append_utf8(out, c);
        EXPECT_EQ(out, bytes);
        if (bytes != "?") {
            char32_t back;
            EXPECT_EQ(cp::decode_utf8(out, back), static_cast<int>(bytes.size()));
            EXPECT_EQ(back, c);
        }
    }
}

TEST(Codepage, RandomBytesNeverBreakTheConverters) {
    unsigned seed = 12345;
    for (int round = 0; round < 2000; ++round) {
        std::string bytes;
        int n = static_cast<int>(seed % 17);
        for (int i = 0; i < n; ++i) {
            seed = seed * 1103515245u + 12345u;
            bytes += static_cast<char>(seed >> 16);
        }
        std::string ansi = cp::utf8_to_ansi(bytes);
        cp::Oem oem = cp::utf8_to_oem(bytes);
        EXPECT_LE(ansi.size(), bytes.size());
        EXPECT_LE(oem.size(), bytes.size());
        EXPECT_EQ(cp::ansi_to_oem(ansi).size(), ansi.size());
        EXPECT_EQ(cp::oem_to_ansi(oem).size(), oem.size());
        seed = seed * 1103515245u + 12345u;
    }
}

}  // namespace
