#include "runtime/lists/pick_window.h"

#include <algorithm>

#include "runtime/lists/oem_letters.h"

namespace rt {

PickWindow::PickWindow(int height) : height_(std::max(1, height)) {}

bool PickWindow::selectable(int item) const {
    return item >= 1 && item <= count_ && selectable_[item - 1];
}

void PickWindow::refresh(int count, const std::function<bool(int)>& is_selectable) {
    count_ = std::max(0, count);
    selectable_.assign(count_, true);
    if (is_selectable) {
        for (int i = 1; i <= count_; ++i) selectable_[i - 1] = is_selectable(i);
    }
    first_sel_ = next_selectable(1);
    last_sel_ = prev_selectable(count_);
    if (!any_selectable()) {
        current_ = std::clamp(current_, 1, std::max(1, count_));
        first_ = 1;
        return;
    }
    land(current_, +1);
    keep_in_view();
}

void PickWindow::start(int item, int row) {
    if (!any_selectable()) return;
    land(item, +1);
    first_ = current_ - std::clamp(row, 0, height_ - 1);
    keep_in_view();
}

int PickWindow::next_selectable(int from) const {
    for (int i = std::max(from, 1); i <= count_; ++i) {
        if (selectable_[i - 1]) return i;
    }
    return 0;
}

int PickWindow::prev_selectable(int from) const {
    for (int i = std::min(from, count_); i >= 1; --i) {
        if (selectable_[i - 1]) return i;
    }
    return 0;
}

void PickWindow::land(int item, int direction) {
    item = std::clamp(item, first_sel_, last_sel_);
    if (selectable(item)) {
        current_ = item;
        return;
    }
    // Between the first and last selectable items there is one either way.
    int ahead = direction > 0 ? next_selectable(item) : prev_selectable(item);
    current_ = ahead ? ahead : (direction > 0 ? prev_selectable(item) : next_selectable(item));
}

void PickWindow::keep_in_view() {
    first_ = std::clamp(first_, 1, std::max(1, count_ - height_ + 1));
    if (current_ < first_) first_ = current_;
    if (current_ > last_shown()) first_ = current_ - height_ + 1;
}

int PickWindow::up() {
    if (current_ == first_sel_) return 1;
    current_ = prev_selectable(current_ - 1);
    keep_in_view();
    return 0;
}

int PickWindow::down() {
    if (current_ == last_sel_) return 2;
    current_ = next_selectable(current_ + 1);
    keep_in_view();
    return 0;
}

int PickWindow::page_up() {
    if (current_ == first_sel_) return 1;
    if (first_sel_ >= first_) {
        current_ = first_sel_;
    } else {
        // Item and window move up together by one window less a row.
        const int step = std::max(1, height_ - 1);
        first_ = std::max(1, first_ - step);
        land(current_ - step, -1);
    }
    keep_in_view();
    return 0;
}

int PickWindow::page_down() {
    if (current_ == last_sel_) return 2;
    if (last_sel_ <= last_shown()) {
        current_ = last_sel_;
    } else {
        // Item and window move down together; past the end the window shows the last page
        // and the item keeps its window row within it.
        const int step = std::max(1, height_ - 1);
        const int row_now = row();
        first_ = std::min(first_ + step, std::max(1, count_ - height_ + 1));
        land(first_ + row_now, +1);
    }
    keep_in_view();
    return 0;
}

int PickWindow::to_first() {
    const int mode = current_ == first_sel_ ? 1 : 0;
    current_ = first_sel_;
    keep_in_view();
    return mode;
}

int PickWindow::to_last() {
    const int mode = current_ == last_sel_ ? 2 : 0;
    current_ = last_sel_;
    keep_in_view();
    return mode;
}

int PickWindow::to_window_top() {
    const int mode = current_ == first_sel_ ? 1 : 0;
    // The current item is shown and selectable, so the search ends at it at the latest.
    current_ = next_selectable(first_);
    return mode;
}

int PickWindow::to_window_bottom() {
    const int mode = current_ == last_sel_ ? 2 : 0;
    current_ = prev_selectable(std::min(last_shown(), count_));
    return mode;
}

bool PickWindow::search_letter(int code, const std::vector<cp::Oem>& items) {
    const int count = std::min(count_, static_cast<int>(items.size()));
    if (count == 0 || !any_selectable()) return false;
    for (int step = 1; step <= count; ++step) {
        const int item = (current_ - 1 + step) % count + 1;
        const std::string& text = items[item - 1].str();
        if (selectable(item) && !text.empty() &&
            same_letter(static_cast<unsigned char>(text[0]), code)) {
            current_ = item;
            keep_in_view();
            return true;
        }
    }
    return false;
}

}  // namespace rt
