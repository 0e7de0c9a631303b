// The pick list on its own: movement keys, window arithmetic, choosing and leaving.
#include "runtime/lists/pick_list.h"

#include <gtest/gtest.h>

#include "pick_list_support.h"
#include "runtime/common/codepage.h"

namespace {

using namespace rt::key;
using lists_test::numbered_items;
using lists_test::PickListTest;

struct MoveCase {
    const char* what;
    int first_item, first_row;
    std::vector<int> keys;
    int current, first_shown;
};

TEST_F(PickListTest, ThirtyItemsInTenRows) {
    const auto items = numbered_items(30);
    const MoveCase cases[] = {
        {"PgDn from item 1", 1, 0, {kPgDn}, 10, 10},
        {"Ctrl+PgDn from item 1", 1, 0, {kCtrlPgDn}, 30, 21},
        {"second PgDn", 1, 0, {kPgDn, kPgDn}, 19, 19},
        {"PgDn past the end shows the last page", 1, 0, {kPgDn, kPgDn, kPgDn}, 21, 21},
        {"PgDn past the end keeps the row", 4, 3, {kPgDn, kPgDn, kPgDn}, 24, 21},
        {"PgDn with the last item shown", 1, 0, {kPgDn, kPgDn, kPgDn, kPgDn}, 30, 21},
        {"PgDn on the last item", 30, 9, {kPgDn}, 30, 21},
        {"PgUp from the last item", 30, 9, {kPgUp}, 21, 12},
        {"PgUp twice", 30, 9, {kPgUp, kPgUp}, 12, 3},
        {"PgUp stops the window at the top", 30, 9, {kPgUp, kPgUp, kPgUp}, 3, 1},
        {"PgUp with the first item shown", 30, 9, {kPgUp, kPgUp, kPgUp, kPgUp}, 1, 1},
        {"PgUp from a middle row", 15, 5, {kPgUp}, 6, 1},
        {"PgUp on the first item", 1, 0, {kPgUp}, 1, 1},
        {"Down scrolls by one row",
         1,
         0,
         {kDown, kDown, kDown, kDown, kDown, kDown, kDown, kDown, kDown, kDown},
         11,
         2},
        {"Up scrolls by one row", 15, 5, {kUp, kUp, kUp, kUp, kUp, kUp}, 9, 9},
        {"Up on the first item", 1, 0, {kUp}, 1, 1},
        {"Down on the last item", 30, 9, {kDown}, 30, 21},
        {"Ctrl+PgUp", 30, 9, {kCtrlPgUp}, 1, 1},
        {"Ctrl+End", 1, 0, {kCtrlEnd}, 10, 1},
        {"Ctrl+Home", 1, 0, {kPgDn, kDown, kCtrlHome}, 10, 10},
        {"End", 1, 0, {kEnd}, 30, 21},
        {"Home", 1, 0, {kEnd, kHome}, 1, 1},
        {"first item below 1", 0, 0, {}, 1, 1},
        {"first item past the end", 99, 0, {}, 30, 21},
        {"first item on a given row", 15, 3, {}, 15, 12},
        {"window filled near the end", 28, 0, {}, 28, 21},
        {"row past the window", 5, 42, {}, 5, 1},
        {"negative row", 15, -3, {}, 15, 15},
    };
    for (const auto& c : cases) {
        for (int k : c.keys) term.keys({k});
        term.keys({kEnter});
        EXPECT_EQ(run(items, {.first_item = c.first_item, .first_row = c.first_row}), c.current)
            << c.what;
        EXPECT_EQ(seen_item(0), items[c.first_shown - 1]) << c.what;
        EXPECT_EQ(seen_highlight(), c.current - c.first_shown) << c.what;
    }
}

TEST_F(PickListTest, PgDnFromItemOneShowsItemsTenToNineteen) {
    const auto items = numbered_items(30);
    term.keys({kPgDn, kEnter});
    EXPECT_EQ(run(items), 10);
    for (int r = 0; r < 10; ++r) EXPECT_EQ(seen_item(r), items[9 + r]);
    EXPECT_EQ(seen_colour(0), "+W/R");
    EXPECT_EQ(seen_colour(1), "W/B");
}

TEST_F(PickListTest, OneRowWindowStillPages) {
    const auto items = numbered_items(5);
    term.keys({kPgDn, kPgDn, kPgUp, kEnter});
    EXPECT_EQ(rt::pick_list(3, 0, 3, 20, items), 2);
}

TEST_F(PickListTest, KeysThatEndTheList) {
    const auto items = numbered_items(30);
    const struct {
        int key;
        int expected;
    } cases[] = {{kEnter, 4}, {kEsc, 0}, {kLeft, 0}, {kRight, 0}};
    for (const auto& c : cases) {
        term.keys({kDown, c.key});
        EXPECT_EQ(run(items, {.first_item = 3}), c.expected) << c.key;
        EXPECT_TRUE(term.script_empty());
    }
}

TEST_F(PickListTest, LettersSearchForwardAndGoRound) {
    const cp::Oem nandu = "Ñandú"_oem;
    const std::vector<cp::Oem> items =
        cp::oem_list({"Alfa", "beta", "Bravo", "Carlos", "alambre", nandu, "Beto"});
    const struct {
        const char* what;
        int first_item;
        std::vector<int> keys;
        int expected;
    } cases[] = {
        {"either case", 1, {'b'}, 2},
        {"the next one after the current", 1, {'B', 'b'}, 3},
        {"round to the top", 1, {'b', 'b', 'b', 'b'}, 2},
        {"the current item itself comes last", 4, {'c'}, 4},
        {"after the current item first", 1, {'a'}, 5},
        {"round from below", 5, {'a'}, 1},
        {"no such letter", 3, {'z'}, 3},
        {"a letter of the screen code page", 1, {0xA4}, 6},
        {"letters choose nothing", 1, {'c', kDown}, 5},
    };
    for (const auto& c : cases) {
        for (int k : c.keys) term.keys({k});
        term.keys({kEnter});
        EXPECT_EQ(run(items, {.first_item = c.first_item}), c.expected) << c.what;
    }
}

TEST_F(PickListTest, LetterSearchScrollsTheFoundItemIntoView) {
    auto items = numbered_items(30);
    items[24] = "Zeta";
    term.keys({'z', kEnter});
    EXPECT_EQ(run(items), 25);
    EXPECT_EQ(seen_item(9), "Zeta");
    EXPECT_EQ(seen_highlight(), 9);
}

TEST_F(PickListTest, UnselectableItemsArePassedOverAndShownDimmed) {
    const auto items = numbered_items(12);
    auto every_third_off = [](int item) { return item % 3 != 0 && item != 1 && item != 12; };
    const struct {
        const char* what;
        int first_item;
        std::vector<int> keys;
        int expected;
    } cases[] = {
        {"the first item asked for is cut to the first selectable", 1, {}, 2},
        {"an unselectable first item moves on", 3, {}, 4},
        {"Down passes over", 2, {kDown}, 4},
        {"Up passes over", 4, {kUp}, 2},
        {"Up on the first selectable", 2, {kUp}, 2},
        {"Ctrl+PgDn goes to the last selectable", 2, {kCtrlPgDn}, 11},
        {"End too", 2, {kEnd}, 11},
        {"PgDn with the last selectable shown", 2, {kPgDn}, 11},
        {"letters skip unselectable items", 2, {'a'}, 4},
    };
    for (const auto& c : cases) {
        for (int k : c.keys) term.keys({k});
        term.keys({kEnter});
        EXPECT_EQ(run(items, {.selectable = every_third_off, .first_item = c.first_item}),
                  c.expected)
            << c.what;
    }
    // The last run started on item 2 at the top row and stands on item 4.
    EXPECT_EQ(seen_item(0), "Actividad 02");
    EXPECT_EQ(seen_colour(1), "N/W");   // item 3
    EXPECT_EQ(seen_colour(2), "+W/R");  // item 4
    EXPECT_EQ(seen_colour(3), "W/B");   // item 5
}

TEST_F(PickListTest, PageIsPaddedCutAndBlankedBelowTheLastItem) {
    const std::vector<cp::Oem> items = {cp::Oem("corto"), cp::Oem(45, 'x'), "Operación"_oem};
    console.write_at(kWinTop + 4, kWinLeft, "basura que debe desaparecer");
    term.keys({kDown, kEnter});
    EXPECT_EQ(run(items), 2);
    EXPECT_EQ(shown_row(kWinTop).substr(kWinLeft - 1, kWinWidth + 2),
              " corto                          ");
    EXPECT_EQ(shown_row(kWinTop + 1).substr(kWinLeft, kWinWidth), std::string(kWinWidth, 'x'));
    EXPECT_EQ(shown_row(kWinTop + 1)[kWinRight + 1], ' ');
    EXPECT_EQ(row_text(kWinTop + 2, kWinLeft, kWinWidth),
              "Operación" + std::string(kWinWidth - 9, ' '));
    for (int r = 3; r < 10; ++r) {
        EXPECT_EQ(seen_item(r), "") << r;
        EXPECT_EQ(seen_colour(r), "W/B") << r;
    }
    EXPECT_EQ(testing_support::attr_text(term.snapshots().back().grid[kWinTop + 1][kWinRight].attr),
              "+W/R");
}

TEST_F(PickListTest, WindowIsCutToTheScreen) {
    const auto items = numbered_items(50);
    term.keys({kCtrlPgDn, kEnter});
    EXPECT_EQ(rt::pick_list(20, 90, 60, 140, items), 50);
    EXPECT_EQ(row_text(35, 90, 10), "Actividad ");
    EXPECT_EQ(rt::pick_list(10, 10, 5, 20, items), 0);  // nothing to show: no wait
    EXPECT_TRUE(term.script_empty());
}

TEST_F(PickListTest, EmptyOrUnselectableListEndsAtOnce) {
    const std::vector<cp::Oem> none;
    EXPECT_EQ(run(none), 0);
    EXPECT_EQ(run(numbered_items(4), {.selectable = [](int) { return false; }}), 0);
    EXPECT_EQ(term.waits(), 0);
}

TEST_F(PickListTest, HidesTheCursorAndGivesItsShapeBack) {
    console.set_cursor_shape(3);
    term.keys({kEnter});
    run(numbered_items(3));
    EXPECT_EQ(term.snapshots().back().cursor.shape, 0);
    EXPECT_EQ(console.cursor_shape(), 3);
    // Also when the wait is broken off.
    EXPECT_THROW(run(numbered_items(3)), rt::ScriptExhausted);
    EXPECT_EQ(console.cursor_shape(), 3);
}

}  // namespace
