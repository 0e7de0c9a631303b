#include "runtime/browse/browser.h"
#include "runtime/common/codepage.h"

#include <gtest/gtest.h>

#include "browse_fixture.h"
#include "runtime/browse/browse_loop.h"
#include "runtime/screen/keys.h"

namespace browse_test {
namespace {

TEST_F(BrowseTest, FiveRecordsInTwentyRows) {
    fill(5);
    auto b = make_browser();
    EXPECT_EQ(row_text(1, kLeft, 16), "N°      Detalle ");
    EXPECT_EQ(row_text(2, kLeft, 16), "────────────────");
    for (int r = 1; r <= 5; ++r) EXPECT_EQ(shown_number(r), r);
    for (int r = 6; r <= 20; ++r)
        EXPECT_EQ(row_text(screen_row(r), kLeft, 60), std::string(60, ' ')) << r;
    EXPECT_EQ(colour_at(screen_row(1), kLeft), "+W/R");  // current record
    EXPECT_EQ(colour_at(screen_row(2), kLeft), "W/B");
    EXPECT_EQ(colour_at(screen_row(1), kLeft + 40), "W/B");  // beyond the column

    b->page_down();
    b->force_stable();
    EXPECT_EQ(b->row_pos(), 5);
    EXPECT_EQ(current_number(), 5);
    EXPECT_EQ(colour_at(screen_row(5), kLeft), "+W/R");
    EXPECT_EQ(colour_at(screen_row(1), kLeft), "W/B");
    EXPECT_EQ(shown_number(1), 1);
}

TEST_F(BrowseTest, AMoveThatCannotSkipChangesNothing) {
    fill(30);
    auto b = make_browser();
    for (auto [go, k] : {std::pair{&rt::Browser::go_bottom, rt::key::kDown},
                         std::pair{&rt::Browser::go_bottom, rt::key::kPgDn},
                         std::pair{&rt::Browser::go_top, rt::key::kUp},
                         std::pair{&rt::Browser::go_top, rt::key::kPgUp}}) {
        ((*b).*go)();
        b->force_stable();
        const rt::Grid before = console.grid();
        const std::size_t at = table().recno();
        b->apply_key(k);
        EXPECT_TRUE(b->stable()) << k;
        b->force_stable();
        EXPECT_EQ(console.grid(), before) << k;
        EXPECT_EQ(table().recno(), at) << k;
    }
}

TEST_F(BrowseTest, ADeletedRecordDisappearsAfterARefresh) {
    fill(5);
    auto b = make_browser();
    b->down();
    b->force_stable();
    ASSERT_EQ(current_number(), 2);
    table().mark_deleted();
    b->refresh_all();
    b->force_stable();
    EXPECT_EQ(shown_number(1), 1);
    EXPECT_EQ(shown_number(2), 3);
    EXPECT_EQ(shown_number(4), 5);
    EXPECT_EQ(shown_number(5), 0);
    EXPECT_EQ(current_number(), 3);  // the highlight stays on the row, now the next record
    EXPECT_EQ(colour_at(screen_row(2), kLeft), "+W/R");
    EXPECT_EQ(table().rec_count(), 5u);

    // Deleting the last one moves the highlight to the one before.
    b->go_bottom();
    b->force_stable();
    table().mark_deleted();
    b->refresh_all();
    b->force_stable();
    EXPECT_EQ(current_number(), 4);
    EXPECT_EQ(b->row_pos(), 3);
    EXPECT_EQ(shown_number(4), 0);
}

// Rows shown after a sequence of moves over 50 records in 20 rows.
TEST_F(BrowseTest, MovesAndPages) {
    fill(50);
    struct Case {
        std::vector<int> keys;
        int top_record, current, row;
    } cases[] = {
        {{rt::key::kDown, rt::key::kDown}, 1, 3, 3},
        {std::vector<int>(25, rt::key::kDown), 7, 26, 20},  // scrolled by one row at a time
        {{rt::key::kPgDn}, 21, 40, 20},                     // row 1 -> last row of the next page
        {{rt::key::kDown, rt::key::kDown, rt::key::kDown, rt::key::kDown, rt::key::kPgDn},
         21,
         40,
         20},
        {{rt::key::kPgDn, rt::key::kPgDn}, 31, 50, 20},  // stops at the end
        {{rt::key::kPgDn, rt::key::kUp, rt::key::kUp, rt::key::kPgUp}, 1, 1, 1},  // back 20 from 38
        {{rt::key::kCtrlPgDn, rt::key::kPgUp}, 11, 11, 1},
        {{rt::key::kCtrlPgDn, rt::key::kUp, rt::key::kPgUp}, 11, 11, 1},
        {{rt::key::kCtrlPgDn, rt::key::kCtrlPgUp}, 1, 1, 1},
        {{rt::key::kCtrlPgDn, rt::key::kDown, rt::key::kLeft, rt::key::kRight}, 31, 50, 20},
        {{rt::key::kCtrlPgDn, std::vector<int>(22, rt::key::kUp)[0]}, 31, 49, 19},
    };
    for (const Case& c : cases) {
        auto b = make_browser();
        for (int k : c.keys) {
            b->apply_key(k);
            b->force_stable();
        }
        EXPECT_EQ(shown_number(1), c.top_record);
        EXPECT_EQ(current_number(), c.current);
        EXPECT_EQ(b->row_pos(), c.row);
        for (int r = 1; r <= 20; ++r) EXPECT_EQ(shown_number(r), c.top_record + r - 1) << r;
        EXPECT_EQ(colour_at(screen_row(c.row), kLeft), "+W/R");
    }
}

TEST_F(BrowseTest, UpScrollsTheWindowDownOneRowAtATime) {
    fill(50);
    auto b = make_browser();
    b->go_bottom();
    b->force_stable();
    for (int i = 0; i < 22; ++i) {
        b->up();
        b->force_stable();
    }
    EXPECT_EQ(current_number(), 28);
    EXPECT_EQ(b->row_pos(), 1);
    for (int r = 1; r <= 20; ++r) EXPECT_EQ(shown_number(r), 27 + r);
    for (int r = 2; r <= 20; ++r) EXPECT_EQ(colour_at(screen_row(r), kLeft), "W/B");
}

TEST_F(BrowseTest, AnEmptyTableShowsTheHeadingAndTakesNoMoves) {
    auto b = make_browser();
    EXPECT_EQ(row_text(1, kLeft, 16), "N°      Detalle ");
    for (int k : {rt::key::kDown, rt::key::kPgDn, rt::key::kCtrlPgDn, rt::key::kUp}) {
        b->apply_key(k);
        b->force_stable();
    }
    for (int r = 1; r <= 20; ++r) EXPECT_EQ(shown_number(r), 0);
    fill(3);  // a search fills it
    b->go_top();
    b->force_stable();
    EXPECT_EQ(shown_number(3), 3);
    table().zap();  // and a cleared search empties it
    b->refresh_all();
    b->force_stable();
    EXPECT_EQ(shown_number(1), 0);
}

TEST_F(BrowseTest, AColumnGrowsToItsWidestValue) {
    fill(3);
    rt::Browser b(table(), kTop, kLeft, kBottom, kRight);
    b.add_column("Cód"_oem, [this] { return cp::Oem(table().text("DETALLE").substr(0, 8)); });
    b.set_colour("w/bg,+w/r");
    b.set_heading_separator("─┬─"_oem);
    b.go_top();
    b.force_stable();
    EXPECT_EQ(row_text(1, kLeft, 9), "Cód      ");
    EXPECT_EQ(row_text(2, kLeft, 9), "──────── ");
    EXPECT_EQ(row_text(screen_row(1), kLeft, 9), "Vale 1   ");
    EXPECT_EQ(colour_at(screen_row(1), kLeft + 7), "+W/R");
    EXPECT_EQ(colour_at(screen_row(1), kLeft + 8), "W/BG");
}

TEST_F(BrowseTest, TheKeyLoopGivesTheOperationItsKeysFirst) {
    fill(10);
    auto b = make_browser();
    std::vector<int> picked;
    term.keys({rt::key::kDown, rt::key::kDown, rt::key::kEnter, rt::key::kLeft, rt::key::kCtrlPgDn,
               rt::key::kEnter, 'x', rt::key::kEsc});
    int shown = 0;
    int last = rt::browse_keys(
        *b,
        [&](int k) {
            if (k == rt::key::kEnter) {
                picked.push_back(current_number());
                return rt::BrowseKey::kHandled;
            }
            return k == rt::key::kLeft ? rt::BrowseKey::kLeave : rt::BrowseKey::kShared;
        },
        [&] { ++shown; });
    EXPECT_EQ(last, rt::key::kLeft);
    EXPECT_EQ(picked, std::vector<int>{3});
    EXPECT_EQ(shown, 4);
    EXPECT_EQ(term.keys_left(), 4u);

    last = rt::browse_keys(*b);  // Ctrl+PgDn, Enter, 'x': shared or nothing; Esc leaves
    EXPECT_EQ(last, rt::key::kEsc);
    EXPECT_EQ(current_number(), 10);
}

TEST_F(BrowseTest, AMoveReadsOnlyTheRowsItShows) {
    fill(2000);
    auto b = make_browser();
    b->go_bottom();
    b->force_stable();
    for (int k :
         {rt::key::kUp, rt::key::kPgUp, rt::key::kDown, rt::key::kPgDn, rt::key::kCtrlPgUp}) {
        table().reset_reads();
        b->apply_key(k);
        b->force_stable();
        // A page skips up to two windows and reads one: never the 2000 records.
        EXPECT_LE(table().reads(), 4u * 20u + 2u) << k;
    }
}

}  // namespace
}  // namespace browse_test
