#pragma once
// Where a pick list stands: the current item and the first item shown in a window of a
// given height, and how the movement keys change them. Pure arithmetic over the number of
// items and their selectable marks, so that the list can read its items again whenever a
// handler may have changed them.
#include <functional>
#include <string>
#include <vector>

#include "runtime/common/oem.h"

namespace rt {

class PickWindow {
  public:
    explicit PickWindow(int height);

    // Takes a new look at the items (count and selectable marks) and brings the current
    // item and the window back within them. Items are numbered from 1.
    void refresh(int count, const std::function<bool(int item)>& selectable);
    // The first position: `item` cut to the first and last selectable items, standing at
    // window row `row` when the items allow it, the window filled when there are enough.
    void start(int item, int row);

    bool any_selectable() const { return first_sel_ > 0; }
    int count() const { return count_; }
    int height() const { return height_; }
    int current() const { return current_; }
    int first_shown() const { return first_; }
    int row() const { return current_ - first_; }  // window row of the current item, from 0
    bool selectable(int item) const;

    // The movement keys. Each gives the mode the handler routine is told: 0, or 1 when the
    // current item was already the first selectable one, 2 when it was the last.
    int up();
    int down();
    int page_up();
    int page_down();
    int to_first();          // Ctrl+PgUp
    int to_last();           // Ctrl+PgDn
    int to_window_top();     // Ctrl+Home
    int to_window_bottom();  // Ctrl+End
    // The next selectable item after the current one, going round, whose first character
    // is `code` in either case. False (nothing moves) when there is none.
    bool search_letter(int code, const std::vector<cp::Oem>& items);

  private:
    int last_shown() const { return first_ + height_ - 1; }
    int next_selectable(int from) const;  // at or after `from`, or 0
    int prev_selectable(int from) const;  // at or before `from`, or 0
    // Moves the current item onto a selectable one, looking first in `direction`.
    void land(int item, int direction);
    // Keeps the window filled when it can be and scrolls it as little as needed to show
    // the current item.
    void keep_in_view();

    int height_;
    int count_ = 0;
    std::vector<bool> selectable_;
    int first_sel_ = 0, last_sel_ = 0;
    int current_ = 1;
    int first_ = 1;
};

}  // namespace rt
