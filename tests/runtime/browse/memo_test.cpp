#include <gtest/gtest.h>

#include "runtime/browse/memo_text.h"
#include "runtime/browse/memo_viewer.h"
#include "runtime/screen/keys.h"
#include "support/screen_test.h"

namespace rt {
namespace {

std::vector<std::string> shown_rows(const MemoText& m) {
    std::vector<std::string> out;
    for (const auto& r : m.rows())
        out.push_back(m.lines()[static_cast<std::size_t>(r.line)].substr(
            static_cast<std::size_t>(r.start), static_cast<std::size_t>(r.length)));
    return out;
}

TEST(MemoText, WrapsAtBlanksOrCutsLongWords) {
    struct Case {
        std::string text;
        int length;
        std::vector<std::string> rows;
    } cases[] = {
        {"uno dos tres", 8, {"uno dos ", "tres"}},
        {"uno dos", 7, {"uno dos"}},
        {"abcdefghijkl", 5, {"abcde", "fghij", "kl"}},
        {"select *\r\nfrom vales\r\n", 20, {"select *", "from vales", ""}},
        {"a\tb\nc", 10, {"a b", "c"}},
        {"", 10, {""}},
        {"x\ry", 10, {"x", "y"}},
    };
    for (const Case& c : cases) EXPECT_EQ(shown_rows(MemoText(c.text, c.length)), c.rows) << c.text;
}

TEST(MemoText, KeepsTheLineBreakOfTheText) {
    MemoText crlf("a\r\nb", 10);
    crlf.text_bottom();
    crlf.enter();
    EXPECT_EQ(crlf.text(), "a\r\nb\r\n");
    MemoText lf("a\nb", 10);
    lf.enter();
    EXPECT_EQ(lf.text(), "\na\nb");
    MemoText none("ab", 10);
    none.right();
    none.enter();
    EXPECT_EQ(none.text(), "a\r\nb");
}

TEST(MemoText, Edits) {
    MemoText m("abc\r\ndef", 10);
    m.type('X', false);  // overstrike
    EXPECT_EQ(m.text(), "Xbc\r\ndef");
    m.type('Y', true);  // insert
    EXPECT_EQ(m.text(), "XYbc\r\ndef");
    m.end();
    m.del();  // joins the next line
    EXPECT_EQ(m.text(), "XYbcdef");
    m.home();
    m.tab(4, true);
    EXPECT_EQ(m.text(), "    XYbcdef");
    m.type('-', true);
    m.tab(4, true);  // to the next stop: column 8
    EXPECT_EQ(m.text(), "    -   XYbcdef");
    m.enter();
    EXPECT_EQ(m.line(), 1);
    m.backspace();  // joins them again
    EXPECT_EQ(m.text(), "    -   XYbcdef");
    m.delete_line();
    EXPECT_EQ(m.text(), "");
    EXPECT_TRUE(m.changed());
    m.type('x', false);  // overstrike past the end appends
    EXPECT_EQ(m.text(), "x");
}

TEST(MemoText, UpAndDownKeepTheColumnAcrossWrappedRows) {
    MemoText m("aaaa bbbb cccc\r\nxy", 5);  // rows "aaaa ", "bbbb ", "cccc", "xy"
    for (int i = 0; i < 3; ++i) m.right();
    m.down();
    EXPECT_EQ(m.cursor_row(), 1);
    EXPECT_EQ(m.cursor_col(), 3);
    m.down();
    m.down();  // "xy" is shorter: its end
    EXPECT_EQ(m.cursor_row(), 3);
    EXPECT_EQ(m.cursor_col(), 2);
    m.up();  // the wanted column comes back
    EXPECT_EQ(m.cursor_col(), 3);
    m.text_top();
    m.end();  // end of a wrapped row stays on it
    EXPECT_EQ(m.cursor_row(), 0);
    m.page_down(10);
    EXPECT_EQ(m.cursor_row(), 3);
}

class MemoViewerTest : public testing_support::ScreenTest {
  protected:
    static constexpr MemoWindow kWindow{7, 3, 10, 22};  // 4 rows of 20 columns, lines of 19
    std::string run(std::string_view text, bool edit) {
        return memo_edit(cp::OemView::cp850(text), kWindow, edit).str();
    }
};

TEST_F(MemoViewerTest, ViewModeShowsTheTextAndChangesNothing) {
    console.set_colour("+bg/n,+w/n");
    term.type("abc").keys({key::kDel, key::kEnter, key::kDown, key::kCtrlW});
    EXPECT_EQ(run("select * from vales where nume_folio=1", false),
              "select * from vales where nume_folio=1");
    term.keys({key::kEsc});
    EXPECT_EQ(run("uno\tdos", false), "uno\tdos");
    EXPECT_EQ(row_text(7, 3, 20), "uno dos             ");
    EXPECT_EQ(colour_at(7, 3), "+BG/N");
    EXPECT_EQ(console.cursor_shape(), 0);
}

TEST_F(MemoViewerTest, ViewModeScrollsOverALongText) {
    std::string text;
    for (int i = 1; i <= 9; ++i) text += "linea " + std::to_string(i) + "\r\n";
    term.keys({key::kDown, key::kDown, key::kEsc});
    run(text, false);
    EXPECT_EQ(row_text(7, 3, 8), "linea 3 ");
    term.keys({key::kPgDn, key::kPgDn, key::kPgDn, key::kEsc});
    run(text, false);
    EXPECT_EQ(row_text(10, 3, 8), "        ");  // the empty line after the last break
    EXPECT_EQ(row_text(9, 3, 8), "linea 9 ");
}

TEST_F(MemoViewerTest, EscAnsweredNoKeepsEditingAndCtrlWReturnsTheChange) {
    term.type("X").keys({key::kEsc});
    term.keys({'N'});
    term.keys({key::kCtrlW});
    EXPECT_EQ(run("abc def", true), "Xbc def");
    // The question was shown 18 columns left of the right edge, then taken away.
    EXPECT_EQ(testing_support::grid_row_text(term.snapshots()[2].grid, 7, 4, 17),
              "Abort Edit? (Y/N)");
    EXPECT_EQ(testing_support::grid_row_text(term.snapshots()[3].grid, 7, 3, 18),
              "Xbc def           ");
}

TEST_F(MemoViewerTest, EscAnsweredYesDropsTheChanges) {
    term.type("XYZ").keys({key::kEnter, key::kEsc, 'y'});
    EXPECT_EQ(run("abc", true), "abc");
}

TEST_F(MemoViewerTest, EscWithoutChangesEndsAtOnce) {
    // Back to the same text: no question.
    term.type("X").keys({key::kBackspace, key::kLeft, key::kIns, 'a', key::kEsc});
    EXPECT_EQ(run("abc", true), "abc");
    EXPECT_TRUE(term.script_empty());
    term.keys({key::kEsc});
    EXPECT_EQ(run("", true), "");
    EXPECT_EQ(row_text(7, 3, 20), std::string(20, ' '));
}

TEST_F(MemoViewerTest, TypingWrapsAtTheLineLength) {
    term.type("uno dos tres cuatro cinco").keys({key::kCtrlW});
    EXPECT_EQ(run("", true), "uno dos tres cuatro cinco");
    // Lines of 19 (the window's 20 columns less one).
    EXPECT_EQ(row_text(7, 3, 20), "uno dos tres        ");
    EXPECT_EQ(row_text(8, 3, 20), "cuatro cinco        ");
    EXPECT_EQ(console.cursor_shape(), 0);  // put back
}

}  // namespace
}  // namespace rt
