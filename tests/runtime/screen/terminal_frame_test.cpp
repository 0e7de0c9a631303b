#include "runtime/screen/terminal_frame.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ansi_screen.h"
#include "runtime/common/codepage.h"

namespace {

using rt::Attr;
using rt::CursorState;
using rt::FrameComposer;
using rt::Grid;
using rt::test::AnsiScreen;

Grid filled(Attr attr) {
    Grid g;
    for (auto& row : g)
        for (auto& c : row) c = {' ', attr};
    return g;
}

void write(Grid& g, int row, int col, const std::string& oem, Attr attr) {
    for (std::size_t i = 0; i < oem.size() && col + static_cast<int>(i) < rt::kCols; ++i)
        g[row][col + i] = {static_cast<std::uint8_t>(oem[i]), attr};
}

// The first cell where the terminal differs from the grid, or "" when none does.
std::string difference(const Grid& shown, const Grid& drawn) {
    for (int r = 0; r < rt::kRows; ++r)
        for (int c = 0; c < rt::kCols; ++c)
            if (!(shown[r][c] == drawn[r][c]))
                return "row " + std::to_string(r) + " col " + std::to_string(c) + ": shown " +
                       std::to_string(shown[r][c].ch) + "/" + std::to_string(shown[r][c].attr) +
                       ", drawn " + std::to_string(drawn[r][c].ch) + "/" +
                       std::to_string(drawn[r][c].attr);
    return "";
}

std::string pad(std::string s, std::size_t n) {
    s.resize(n, ' ');
    return s;
}

// The main menu: nine 38-character prompts in a box, the first one highlighted.
Grid main_menu(int highlighted) {
    constexpr Attr kNormal = 0x0A, kHigh = 0x2F, kBlue = 0x17;
    Grid g = filled(kBlue);
    write(g, 0, 0, pad(" Refractarios Velmo Ltda.", 100), 0x5F);
    write(g, 3, 1, cp::utf8_to_oem("┌" + std::string(38, ' ') + "┐").str(), 0x02);
    write(g, 3, 2, std::string(38, '\xC4'), 0x02);  // ─
    const char* prompts[] = {" Conectar con Servidor",
                             " Desconectarse del Servidor",
                             " Ingreso de Vales ON-LINE",
                             " Ingreso de Vales OFF-LINE",
                             " Lista de ingresos OFF-LINE",
                             " Obtener base de datos de servidor",
                             " Enviar datos ingresados al Servidor",
                             " Imprimir vales de producción",
                             " Salir del Sistema"};
    for (int i = 0; i < 9; ++i)
        write(g, 4 + i, 2, pad(cp::utf8_to_oem(prompts[i]).str(), 38),
              i + 1 == highlighted ? kHigh : kNormal);
    write(g, 35, 0,
          pad(cp::utf8_to_oem("Seleccione opción   -   [Escape] Salir del sistema").str(), 100),
          kBlue);
    return g;
}

TEST(FrameComposer, FirstFrameDrawsEveryCellAndTheTerminalShowsTheGrid) {
    FrameComposer composer;
    AnsiScreen term;
    std::string out;
    Grid g = main_menu(1);
    composer.compose(g, {}, out);
    term.apply(out);
    EXPECT_FALSE(term.unknown_sequence());
    EXPECT_EQ(out.rfind("\x1b[0m\x1b[2J", 0), 0u);
    EXPECT_EQ(term.cells_written(), rt::kRows * rt::kCols);
    EXPECT_EQ(difference(term.grid(), g), "");
    EXPECT_FALSE(term.cursor_visible());
    EXPECT_LT(out.size(), 9000u);
}

TEST(FrameComposer, HighlightMoveRewritesOnlyTheTwoPrompts) {
    FrameComposer composer;
    AnsiScreen term;
    std::string out;
    composer.compose(main_menu(1), {}, out);
    term.apply(out);
    term.reset_count();
    out.clear();
    composer.compose(main_menu(2), {}, out);
    term.apply(out);
    EXPECT_EQ(difference(term.grid(), main_menu(2)), "");
    EXPECT_EQ(term.cells_written(), 2 * 38);
    EXPECT_LT(out.size(), 300u) << out;
    // Nothing changed: nothing to send.
    out.clear();
    composer.compose(main_menu(2), {}, out);
    EXPECT_EQ(out, "");
}

TEST(FrameComposer, ShortGapsAreRewrittenLongOnesJumped) {
    FrameComposer composer;
    std::string out;
    Grid g = filled(0x07);
    composer.compose(g, {}, out);
    write(g, 5, 10, "a", 0x07);
    write(g, 5, 12, "b", 0x07);  // one unchanged cell between: cheaper to write it again
    write(g, 5, 40, "c", 0x07);  // far away on the same row: a forward jump
    out.clear();
    composer.compose(g, {}, out);
    EXPECT_EQ(out, "\x1b[6;11Ha b\x1b[27Cc");
}

struct ColourCase {
    Attr attr;
    int fg, bg;
};

TEST(FrameComposer, SixteenColoursOnSixteenBackgrounds) {
    const ColourCase cases[] = {
        {0x07, 37, 40},  {0x1F, 97, 44},  {0x4E, 93, 41}, {0x2F, 97, 42},
        {0x0A, 92, 40},  {0x5F, 97, 45},  {0x30, 30, 46}, {0x61, 34, 43},
        {0x9F, 97, 104}, {0xF0, 30, 107}, {0x08, 90, 40}, {0x7C, 91, 47},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rt::sgr_foreground(c.attr), c.fg) << int(c.attr);
        EXPECT_EQ(rt::sgr_background(c.attr), c.bg) << int(c.attr);
    }
    // Every pair reaches the terminal as drawn.
    Grid g = filled(0x07);
    for (int a = 0; a < 256; ++a) g[a / 100][a % 100] = {'X', static_cast<Attr>(a)};
    FrameComposer composer;
    AnsiScreen term;
    std::string out;
    composer.compose(g, {}, out);
    term.apply(out);
    EXPECT_EQ(difference(term.grid(), g), "");
}

TEST(FrameComposer, CursorShapesAndPosition) {
    FrameComposer composer;
    AnsiScreen term;
    std::string out;
    Grid g = filled(0x17);
    composer.compose(g, {10, 20, 1}, out);
    term.apply(out);
    EXPECT_TRUE(term.cursor_visible());
    EXPECT_EQ(term.cursor_style(), 4);  // underline
    EXPECT_EQ(term.row(), 10);
    EXPECT_EQ(term.col(), 20);
    out.clear();
    composer.compose(g, {2, 100, 3}, out);  // one past the last column: shown on the last
    term.apply(out);
    EXPECT_EQ(term.cursor_style(), 2);  // block
    EXPECT_EQ(term.col(), 99);
    out.clear();
    composer.compose(g, {2, 100, 3}, out);
    EXPECT_EQ(out, "");
    composer.compose(g, {2, 100, 0}, out);
    EXPECT_EQ(out, "\x1b[?25l");
    // Cells change while the cursor is shown: hidden during the change, then back in place.
    out.clear();
    composer.compose(g, {5, 5, 1}, out);
    g[20][30] = {'Z', 0x4E};
    out.clear();
    composer.compose(g, {5, 5, 1}, out);
    term.apply(out);
    EXPECT_EQ(out.rfind("\x1b[?25l", 0), 0u);
    EXPECT_TRUE(term.cursor_visible());
    EXPECT_EQ(term.row(), 5);
    EXPECT_EQ(term.col(), 5);
}

TEST(FrameComposer, RandomChangesAlwaysLeaveTheTerminalEqualToTheGrid) {
    std::mt19937 rng(7);
    FrameComposer composer;
    AnsiScreen term;
    Grid g = filled(0x17);
    std::string out;
    for (int frame = 0; frame < 300; ++frame) {
        int changes = static_cast<int>(rng() % 40);
        for (int i = 0; i < changes; ++i) {
            std::uint8_t ch;
            do ch = static_cast<std::uint8_t>(rng());
            while (ch == 0 || ch == 0x14 || ch == 0x15);  // ¶ § shown by their letter cells
            g[rng() % rt::kRows][rng() % rt::kCols] = {ch, static_cast<Attr>(rng())};
        }
        if (frame % 50 == 0) composer.invalidate();
        out.clear();
        CursorState cursor{static_cast<int>(rng() % 36), static_cast<int>(rng() % 101),
                           static_cast<int>(rng() % 2) * 3};
        composer.compose(g, cursor, out);
        term.apply(out);
        ASSERT_EQ(difference(term.grid(), g), "") << "frame " << frame;
        ASSERT_FALSE(term.unknown_sequence());
        if (cursor.shape) {
            ASSERT_EQ(term.row(), cursor.row);
            ASSERT_EQ(term.col(), std::min(cursor.col, 99));
        }
    }
}

}  // namespace
