// Random keys on pick lists whose handler changes the list at random: the list must never
// crash, never point outside the list, never draw outside its window.
#include <gtest/gtest.h>

#include <random>

#include "runtime/lists/pick_list.h"
#include "support/screen_test.h"

namespace {

using namespace rt::key;

constexpr unsigned kSeed = 20261207;
constexpr long kKeystrokes = 100'000;
constexpr int kMaxRuns = 50'000;

class PickListFuzz : public testing_support::ScreenTest {
  protected:
    std::mt19937 rng{kSeed};

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng); }

    cp::Oem random_text() {
        std::string text(pick(0, 120), ' ');
        for (char& ch : text) ch = static_cast<char>(chance(0.7) ? pick('a', 'e') : pick(1, 255));
        return cp::Oem(std::move(text));
    }
    void random_resize(std::vector<cp::Oem>& items) {
        const std::size_t length = chance(0.1) ? 0 : pick(0, 60);
        while (items.size() > length) items.pop_back();
        while (items.size() < length) items.push_back(random_text());
    }
    int random_key() {
        static const int common[] = {kUp,   kDown,     kPgUp,    kPgDn, kCtrlPgUp, kCtrlPgDn,
                                     kHome, kCtrlHome, kCtrlEnd, kEnd,  kEsc,      kEnter,
                                     kLeft, kRight,    kF1,      kF2,   kRedraw,   kShiftTab};
        const int roll = pick(0, 9);
        if (roll < 6) return common[pick(0, std::size(common) - 1)];
        if (roll < 8) return pick('a', 'e');
        int code = pick(-50, 300);
        return code == 0 ? kDown : code;
    }
};

TEST_F(PickListFuzz, RandomKeysOnAListThatChangesUnderTheHandler) {
    long keystrokes = 0;
    int runs = 0;
    std::vector<cp::Oem> items;
    int pattern = 0;  // which items are selectable, fixed per run
    auto selectable = [&](int item) {
        return pattern == 0 || (pattern > 0 && (item * 7 + pattern) % 5 != 0);
    };
    auto count_selectable = [&] {
        int n = 0;
        for (int i = 1; i <= static_cast<int>(items.size()); ++i) n += selectable(i);
        return n;
    };

    for (; keystrokes < kKeystrokes && runs < kMaxRuns; ++runs) {
        random_resize(items);
        pattern = chance(0.5) ? 0 : (chance(0.1) ? -1 : pick(1, 4));
        const int top = pick(-3, 40), left = pick(-5, 105);
        const int bottom = top + pick(-2, 15), right = left + pick(-2, 60);
        const int shown_top = std::max(top, 0), shown_left = std::max(left, 0);
        const int shown_bottom = std::min(bottom, rt::kRows - 1);
        const int shown_right = std::min(right, rt::kCols - 1);
        const int height = shown_bottom - shown_top + 1;

        // A marker everywhere, to see that nothing is drawn outside the window.
        console.set_colour(chance(0.5) ? "w/b,+w/r,,,n/w" : "+g/n,+w/bg");
        console.fill_box(0, 0, rt::kRows - 1, rt::kCols - 1, "#########", "gr/n");
        const rt::Grid before = console.grid();

        console.set_key_handler(kF1, [&](const std::string&, int, const std::string&) {
            if (chance(0.5)) random_resize(items);
            if (chance(0.1)) rt::pick_list(top, left, bottom, right, items);  // a nested list
        });

        rt::PickOptions options;
        options.first_item = pick(-5, 70);
        options.first_row = pick(-3, 40);
        if (pattern != 0) options.selectable = selectable;
        if (chance(0.8)) {
            options.handler = [&](int mode, int current, int row) -> int {
                const int count = static_cast<int>(items.size());
                EXPECT_GE(mode, 0);
                EXPECT_LE(mode, 4);
                if (mode == rt::pick::kNothing) {
                    EXPECT_EQ(current, 0);
                    EXPECT_EQ(count_selectable(), 0);
                } else {
                    EXPECT_GE(current, 1);
                    EXPECT_LE(current, count);
                    EXPECT_TRUE(current >= 1 && current <= count && selectable(current));
                    EXPECT_GE(row, 0);
                    EXPECT_LT(row, height);
                    // The highlight stands where the handler is told it does.
                    if (row >= 0 && row < height) {
                        EXPECT_EQ(console.cell(shown_top + row, shown_left).attr,
                                  console.colour().enhanced());
                    }
                }
                const int change = pick(0, 19);
                if (change < 3) {
                    random_resize(items);
                } else if (change < 5 && current >= 1 && current <= count) {
                    items.insert(items.begin() + current - 1, random_text());
                } else if (change < 7 && current >= 1 && current <= count) {
                    items.erase(items.begin() + current - 1);
                } else if (change < 8 && !items.empty()) {
                    items[pick(0, static_cast<int>(items.size()) - 1)] = random_text();
                }
                const int answer = pick(0, 99);
                if (answer < 1) return rt::pick::kAbort;
                if (answer < 2) return rt::pick::kSelect;
                if (answer < 12) return rt::pick::kLetterSearch;
                if (answer < 20) return rt::pick::kContinueToo;
                if (answer < 22) return pick(-10, 10);
                return rt::pick::kContinue;
            };
        }

        std::vector<int> keys(pick(1, 300));
        for (int& k : keys) k = random_key();
        console.put_keys(keys);
        int result = -1;
        try {
            result = rt::pick_list(top, left, bottom, right, items, options);
        } catch (const rt::ScriptExhausted&) {
            // The keys ran out while the list waited: this run is over.
        }
        long left_over = 0;
        while (console.inkey() != 0) ++left_over;
        keystrokes += static_cast<long>(keys.size()) - left_over;

        if (result > 0) {
            EXPECT_LE(result, static_cast<int>(items.size()));
            EXPECT_TRUE(result <= static_cast<int>(items.size()) && selectable(result));
        }
        EXPECT_EQ(console.cursor_shape(), 0);
        for (int r = 0; r < rt::kRows; ++r) {
            for (int c = 0; c < rt::kCols; ++c) {
                const bool inside =
                    r >= shown_top && r <= shown_bottom && c >= shown_left && c <= shown_right;
                if (!inside && !(console.cell(r, c) == before[r][c])) {
                    ADD_FAILURE() << "run " << runs << " drew at " << r << "," << c;
                    r = rt::kRows;
                    break;
                }
            }
        }
        if (HasFailure()) break;
        console.set_key_handler(kF1);
    }
    EXPECT_GE(keystrokes, kKeystrokes) << "after " << runs << " runs";
    std::cout << "pick-list fuzz: " << keystrokes << " keys in " << runs << " runs, "
              << term.waits() << " waits\n";
}

}  // namespace
