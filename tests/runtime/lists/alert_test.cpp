#include "runtime/lists/alert.h"

#include <gtest/gtest.h>

#include "runtime/common/codepage.h"
#include "support/screen_test.h"

namespace {

using namespace rt::key;
using testing_support::attr_text;
using testing_support::grid_row_text;

class AlertTest : public testing_support::ScreenTest {
  protected:
    // The screen as the user saw it while the box waited for the last key.
    const rt::Grid& seen(std::size_t from_end = 0) const {
        return term.snapshots()[term.snapshots().size() - 1 - from_end].grid;
    }
    std::string seen_text(int row, int col, int width, std::size_t from_end = 0) const {
        return grid_row_text(seen(from_end), row, col, width);
    }
    std::string seen_colour(int row, int col, std::size_t from_end = 0) const {
        return attr_text(seen(from_end)[row][col].attr);
    }
};

TEST_F(AlertTest, OneLineBoxIsCentredWithItsOkButtonHighlighted) {
    term.keys({kEnter});
    EXPECT_EQ(rt::alert("Error: conexión perdida"_oem), 1);
    // 23 characters of text, a blank and the frame each side: 27 x 5, centred.
    EXPECT_EQ(seen_text(14, 36, 27), std::string(27, ' '));
    EXPECT_EQ(seen_text(15, 35, 29), " ┌─────────────────────────┐ ");
    EXPECT_EQ(seen_text(16, 35, 29), " │ Error: conexión perdida │ ");
    EXPECT_EQ(seen_text(17, 35, 29), " │                         │ ");
    EXPECT_EQ(seen_text(18, 35, 29), " │           Ok            │ ");
    EXPECT_EQ(seen_text(19, 35, 29), " └─────────────────────────┘ ");
    EXPECT_EQ(seen_colour(15, 36), "+W/R");
    EXPECT_EQ(seen_colour(16, 38), "+W/R");
    EXPECT_EQ(seen_colour(17, 50), "+W/R");
    for (int col = 47; col < 51; ++col) EXPECT_EQ(seen_colour(18, col), "+W/B") << col;
    EXPECT_EQ(seen_colour(18, 46), "+W/R");
    EXPECT_EQ(seen_colour(18, 51), "+W/R");
    EXPECT_EQ(term.cursor().shape, 0);
}

TEST_F(AlertTest, SemicolonsStartLinesThatAreCentredInTheBox) {
    term.keys({kEsc});
    rt::alert("ERROR;No se puede conectar con; base de datos ventas");
    // Widest line 24 characters: box 28 x 7 from row 14, column 36; each line centred.
    EXPECT_EQ(seen_text(14, 35, 29), " ┌──────────────────────────┐");
    EXPECT_EQ(seen_text(15, 35, 29), " │          ERROR           │");
    EXPECT_EQ(seen_text(16, 35, 29), " │ No se puede conectar con │");
    EXPECT_EQ(seen_text(17, 35, 29), " │   base de datos ventas   │");
    EXPECT_EQ(seen_text(18, 35, 29), " │                          │");
    EXPECT_EQ(seen_text(19, 35, 29), " │            Ok            │");
    EXPECT_EQ(seen_text(20, 35, 29), " └──────────────────────────┘");
}

TEST_F(AlertTest, ATextEndingWithASemicolonHasNoEmptyLastLine) {
    term.keys({kEnter});
    rt::alert("Registros;base de datos local;;productos: 12;bodegas: 3;");
    // Five lines: box 23 x 9 from row 13, column 38; the buttons right after a blank row.
    EXPECT_EQ(seen_text(13, 38, 23), "┌─────────────────────┐");
    EXPECT_EQ(seen_text(16, 38, 23), "│                     │");
    EXPECT_EQ(seen_text(17, 38, 23), "│    productos: 12    │");
    EXPECT_EQ(seen_text(18, 38, 23), "│     bodegas: 3      │");
    EXPECT_EQ(seen_text(19, 38, 23), "│                     │");
    EXPECT_EQ(seen_text(20, 38, 23), "│         Ok          │");
    EXPECT_EQ(seen_text(21, 38, 23), "└─────────────────────┘");
}

TEST_F(AlertTest, KeysChooseMoveAndLeave) {
    const cp::Oem si = "Sí"_oem, nandu = "Ñandú"_oem;
    const std::vector<cp::OemView> buttons = {si, "No", "Cancelar", nandu};
    struct Case {
        const char* what;
        std::vector<int> keys;
        int expected;
    } cases[] = {
        {"Enter chooses the first", {kEnter}, 1},
        {"Esc leaves", {kEsc}, 0},
        {"Esc after moving still leaves", {kRight, kEsc}, 0},
        {"Right then Enter", {kRight, kEnter}, 2},
        {"Tab twice", {kTab, kTab, kEnter}, 3},
        {"Right goes round", {kRight, kRight, kRight, kRight, kEnter}, 1},
        {"Left goes round", {kLeft, kEnter}, 4},
        {"Shift+Tab goes back", {kTab, kTab, kShiftTab, kEnter}, 2},
        {"lower-case letter", {'n'}, 2},
        {"upper-case letter", {'C'}, 3},
        {"accented first letter", {'s'}, 1},
        {"letter of the screen code page in either case", {0xA4}, 4},
        {"unknown letter and other keys do nothing", {'x', kF1, kDown, kRedraw, kEnter}, 1},
    };
    for (const auto& c : cases) {
        for (int k : c.keys) term.keys({k});
        EXPECT_EQ(rt::alert("¿Desea continuar?"_oem, buttons), c.expected) << c.what;
        EXPECT_TRUE(term.script_empty()) << c.what;
    }
}

TEST_F(AlertTest, MovingTheHighlightRecoloursTheButtons) {
    term.keys({kRight, kEnter});
    const cp::Oem si_text = "Sí"_oem;
    rt::alert("Grabar", {si_text, "No"});
    // " Sí " and " No " three columns apart, centred in an inner width of 11.
    const int row = 18, si = 44, no = 51;
    EXPECT_EQ(seen_text(row, si, 4, 1), " Sí ");
    EXPECT_EQ(seen_text(row, no, 4, 1), " No ");
    EXPECT_EQ(seen_colour(row, si + 1, 1), "+W/B");
    EXPECT_EQ(seen_colour(row, no + 1, 1), "+W/R");
    EXPECT_EQ(seen_colour(row, si + 1), "+W/R");
    EXPECT_EQ(seen_colour(row, no + 1), "+W/B");
}

TEST_F(AlertTest, PutsBackTheScreenTheCursorAndTheColour) {
    console.set_colour("w/b,+w/r");
    for (int r = 0; r < rt::kRows; ++r)
        console.write_at(r, 0, cp::Oem(rt::kCols, static_cast<char>('a' + r % 26)));
    console.set_pos(7, 9);
    console.set_cursor_shape(1);
    const rt::Grid before = console.grid();
    const std::string colour = console.colour_text();
    term.keys({kEnter});
    rt::alert("Listo");
    EXPECT_TRUE(console.grid() == before) << screen_dump();
    EXPECT_EQ(console.colour_text(), colour);
    EXPECT_EQ(console.row(), 7);
    EXPECT_EQ(console.col(), 9);
    EXPECT_EQ(console.cursor_shape(), 1);
}

TEST_F(AlertTest, ShowsAccentedTextsAndButtons) {
    term.keys({kEnter});
    const cp::Oem si = "Sí"_oem;
    rt::alert("Año;Especificación"_oem, {si});
    EXPECT_NE(seen_text(16, 0, 100).find("Año"), std::string::npos);
    EXPECT_NE(seen_text(17, 0, 100).find("Especificación"), std::string::npos);
    EXPECT_NE(seen_text(19, 0, 100).find(" Sí "), std::string::npos);
}

TEST_F(AlertTest, OversizedTextsAndButtonsStayOnTheScreen) {
    struct Case {
        const char* what;
        cp::Oem text;
        std::vector<cp::Oem> buttons;
    } cases[] = {
        {"line wider than the screen", cp::Oem(300, 'x'), {}},
        {"more lines than rows", cp::Oem(80, ';'), {}},
        {"empty text", cp::Oem(""), {}},
        {"button wider than the screen", cp::Oem("x"), {cp::Oem(200, 'b')}},
        {"many buttons", cp::Oem("x"), std::vector<cp::Oem>(40, "Botón"_oem)},
        {"empty button texts", cp::Oem("x"), {cp::Oem(""), cp::Oem("")}},
        {"server text with line ends and tabs", cp::Oem("Error: 1064\tnear 'x';\r\nline 1"), {}},
    };
    for (const auto& c : cases) {
        console.clear_screen();
        term.keys({kLeft, kEnter});
        const int chosen = rt::alert(c.text, {c.buttons.begin(), c.buttons.end()});
        EXPECT_EQ(chosen, c.buttons.empty() ? 1 : static_cast<int>(c.buttons.size())) << c.what;
        // The frame's corners are on the screen: the box was fitted, not clipped.
        const auto& grid = seen();
        int corners = 0;
        for (int r = 0; r < rt::kRows; ++r) {
            for (int col = 0; col < rt::kCols; ++col) {
                const auto ch = grid[r][col].ch;
                corners += ch == 0xDA || ch == 0xBF || ch == 0xD9 || ch == 0xC0;
            }
        }
        EXPECT_EQ(corners, 4) << c.what << "\n" << seen_text(0, 0, 100);
        for (int r = 0; r < rt::kRows; ++r) {
            const std::string row = grid_row_text(grid, r);
            EXPECT_EQ(row.find('\t'), std::string::npos) << c.what;
        }
    }
}

}  // namespace
