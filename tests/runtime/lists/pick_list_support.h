#pragma once
// Shared pieces of the pick-list tests: numbered items and a 10-row window.
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/lists/pick_list.h"
#include "support/screen_test.h"

namespace lists_test {

inline std::vector<cp::Oem> numbered_items(int count) {
    std::vector<cp::Oem> items;
    for (int i = 1; i <= count; ++i) {
        char text[32];
        std::snprintf(text, sizeof text, "Actividad %02d", i);
        items.emplace_back(std::string(text));
    }
    return items;
}

class PickListTest : public testing_support::ScreenTest {
  protected:
    static constexpr int kWinTop = 5, kWinLeft = 10, kWinBottom = 14, kWinRight = 39;
    static constexpr int kWinWidth = kWinRight - kWinLeft + 1;

    PickListTest() { console.set_colour("w/b,+w/r,,,n/w"); }

    int run(const std::vector<cp::Oem>& items, const rt::PickOptions& options = {}) {
        return rt::pick_list(kWinTop, kWinLeft, kWinBottom, kWinRight, items, options);
    }
    // Window row r as the user saw it at the last key wait, without trailing blanks.
    std::string seen_item(int r) const {
        std::string text = shown_row(kWinTop + r).substr(kWinLeft, kWinWidth);
        return text.erase(text.find_last_not_of(' ') + 1);
    }
    std::string seen_colour(int r) const {
        return testing_support::attr_text(term.snapshots().back().grid[kWinTop + r][kWinLeft].attr);
    }
    // The window row drawn in the enhanced colour at the last key wait, or -1.
    int seen_highlight() const {
        for (int r = 0; r <= kWinBottom - kWinTop; ++r) {
            if (seen_colour(r) == "+W/R") return r;
        }
        return -1;
    }
};

}  // namespace lists_test
