// The read-only viewer of statements and server error texts.
#include <gtest/gtest.h>

#include "runtime/common/codepage.h"
#include "runtime/screen/keys.h"
#include "support/screen_test.h"
#include "ui/vermemo.h"

namespace {

class VerMemo : public testing_support::ScreenTest {
  protected:
    VerMemo() {
        console.set_colour("w/b,+w/r");
        console.clear_screen();
        console.write_at(10, 10, "debajo");
    }
};

TEST_F(VerMemo, ShowsTheTextFramedUntilEscAndPutsEverythingBack) {
    const auto before = console.grid();
    term.type("abc").keys({rt::key::kDown, rt::key::kEsc});
    ui::VERMEMO("select * from prodvtas where codi_prod='Ñ'"_oem);
    EXPECT_TRUE(term.script_empty()) << "typing changes nothing; Esc leaves";
    const auto& shot = term.snapshots().front().grid;
    EXPECT_EQ(testing_support::grid_row_text(shot, 6, 2, 3), "┌──");
    EXPECT_EQ(testing_support::grid_row_text(shot, 30, 95, 3), "──┘");
    EXPECT_EQ(testing_support::grid_row_text(shot, 7, 3, 42),
              "select * from prodvtas where codi_prod='Ñ'");
    EXPECT_EQ(testing_support::attr_text(shot[7][3].attr), "+BG/N") << "the default colour";
    EXPECT_EQ(console.grid(), before);
    EXPECT_EQ(console.colour_text().substr(0, 8), "W/B,+W/R");
}

TEST_F(VerMemo, GivenColour) {
    term.keys({rt::key::kEsc});
    ui::VERMEMO("Duplicate entry", "+w/r,n/w");
    EXPECT_EQ(testing_support::attr_text(term.snapshots().front().grid[7][3].attr), "+W/R");
}

}  // namespace
