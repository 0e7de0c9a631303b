#include <gtest/gtest.h>

#include "runtime/common/codepage.h"
#include "support/screen_test.h"

namespace {

using testing_support::ScreenTest;

class ConsoleTest : public ScreenTest {};

TEST_F(ConsoleTest, WriteAtUsesTheStandardSlotOfTheGivenSettingOnlyForThatWrite) {
    console.set_colour("w/b,+w/r");
    console.write_at(3, 10, "Hola", "+gr/r");
    EXPECT_EQ(row_text(3, 10, 4), "Hola");
    EXPECT_EQ(colour_at(3, 10), "+GR/R");
    EXPECT_EQ(console.colour_text(), "W/B,+W/R,N/N,N/N,+W/R");
    EXPECT_EQ(console.row(), 3);
    EXPECT_EQ(console.col(), 14);
    console.write("!");
    EXPECT_EQ(colour_at(3, 14), "W/B");
}

TEST_F(ConsoleTest, WriteIsClippedAtTheRightEdge) {
    console.write_at(0, 98, "abcd");
    EXPECT_EQ(row_text(0, 98, 2), "ab");
    EXPECT_EQ(row_text(1, 0, 2), "  ");
}

TEST_F(ConsoleTest, SingleLineFrameAndBlankFill) {
    console.set_colour("w/b");
    console.fill_box(2, 1, 5, 6, 1);
    EXPECT_EQ(row_text(2, 1, 6), "┌────┐");
    EXPECT_EQ(row_text(3, 1, 6), "│    │");
    EXPECT_EQ(row_text(5, 1, 6), "└────┘");
    console.fill_box(10, 0, 10, 4, "─"_oem);  // a one-row box is a horizontal rule
    EXPECT_EQ(row_text(10, 0, 5), "─────");
    console.fill_box(2, 1, 5, 6, "         ", "n/w");
    EXPECT_EQ(row_text(2, 1, 6), "      ");
    EXPECT_EQ(colour_at(4, 3), "N/W");
}

TEST_F(ConsoleTest, SaveAndRestoreRegionPutsEveryCellBack) {
    console.write_at(7, 7, "antes", "+w/r");
    auto saved = console.save_region(5, 5, 9, 20);
    console.fill_box(5, 5, 9, 20, "         ", "n/n");
    console.restore_region(saved);
    EXPECT_EQ(row_text(7, 7, 5), "antes");
    EXPECT_EQ(colour_at(7, 7), "+W/R");
}

TEST_F(ConsoleTest, ScrollRegionUpAndDownBlanksFreedLines) {
    for (int r = 0; r < 5; ++r) console.write_at(r, 0, cp::Oem(std::string(1, char('a' + r))));
    auto column = [&] {
        std::string s;
        for (int r = 0; r < 5; ++r) s += row_text(r, 0, 1);
        return s;
    };
    console.scroll_region(0, 0, 4, 0, 2);
    EXPECT_EQ(column(), "cde  ");
    console.scroll_region(0, 0, 4, 0, -1);
    EXPECT_EQ(column(), " cde ");
}

TEST_F(ConsoleTest, PutKeysAreReadBackInOrderWithoutWaiting) {
    console.put_keys(std::vector<int>{rt::key::kHome, '1', '2', '3', rt::key::kEnter});
    EXPECT_EQ(console.next_key(), 1);
    std::vector<int> got;
    for (int i = 0; i < 5; ++i) got.push_back(console.inkey(0));
    EXPECT_EQ(got, (std::vector<int>{1, 49, 50, 51, 13}));
    EXPECT_EQ(term.waits(), 0);
    EXPECT_EQ(console.last_key(), 13);
}

TEST_F(ConsoleTest, PutKeysEmptiesTheBufferFirst) {
    console.put_keys("abc");
    console.put_keys("");
    EXPECT_EQ(console.next_key(), 0);
    EXPECT_EQ(console.inkey(), 0);
}

TEST_F(ConsoleTest, TimedWaitReturnsZeroAfterTheTimeOnTheVirtualClock) {
    double start = console.monotonic();
    EXPECT_EQ(console.inkey(3), 0);
    EXPECT_DOUBLE_EQ(console.monotonic() - start, 3.0);
    term.pause(1.5).keys({'x'});
    EXPECT_EQ(console.inkey(3), 'x');
    EXPECT_DOUBLE_EQ(console.monotonic() - start, 4.5);
}

TEST_F(ConsoleTest, PollsSeeOnlyKeysAlreadyPressed) {
    term.keys({'a'});
    EXPECT_EQ(console.inkey(), 0);
    EXPECT_EQ(console.next_key(), 0);
    term.type_ahead('b');
    EXPECT_EQ(console.inkey(0), 'a');
    EXPECT_EQ(console.next_key(), 'b');
    EXPECT_EQ(console.inkey(), 'b');
}

// Keys typed while the program was busy are moved to the buffer without waiting; a wait
// for a fresh key (a message box's) neither takes them nor loses them.
TEST_F(ConsoleTest, TypedKeysQueueAndFreshWaitsLeaveThemAlone) {
    term.type_ahead('c').type_ahead('d').keys({'x'});
    console.queue_typed_keys();
    EXPECT_EQ(term.waits(), 0) << "queueing never waits";
    EXPECT_EQ(console.next_key(), 'c');
    EXPECT_EQ(console.inkey_fresh(3), 'x');
    EXPECT_EQ(console.last_key(), 'x');
    const double start = console.monotonic();
    EXPECT_EQ(console.inkey_fresh(3), 0);
    EXPECT_DOUBLE_EQ(console.monotonic() - start, 3.0);
    std::vector<int> left;
    while (int k = console.inkey()) left.push_back(k);
    EXPECT_EQ(left, (std::vector<int>{'c', 'd'}));
}

TEST_F(ConsoleTest, UntimedWaitOnAnEmptyScriptFailsInsteadOfHanging) {
    EXPECT_THROW(console.inkey(0), rt::ScriptExhausted);
}

TEST_F(ConsoleTest, EveryKeyWaitShowsTheScreenFirst) {
    console.write_at(0, 0, "visible");
    term.keys({'a'});
    console.inkey(0);
    EXPECT_EQ(shown_row(0).substr(0, 7), "visible");
}

TEST_F(ConsoleTest, SetColourReturnsThePreviousSettingWrittenOut) {
    console.set_colour("w/b,+w/r,,,+w/b");
    EXPECT_EQ(console.set_colour("w/b,r/w"), "W/B,+W/R,N/N,N/N,+W/B");
}

TEST_F(ConsoleTest, KeyHandlerReplacedAndRemoved) {
    console.set_key_handler(rt::key::kF1, [&](auto&, int, auto&) {});
    auto previous = console.set_key_handler(rt::key::kF1);
    EXPECT_TRUE(previous);
    EXPECT_EQ(console.key_handler(rt::key::kF1), nullptr);
}

}  // namespace
