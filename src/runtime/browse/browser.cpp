#include "runtime/browse/browser.h"

#include <algorithm>

#include "runtime/screen/console.h"
#include "runtime/screen/keys.h"

namespace rt {

Browser::Browser(wt::WorkTable& table, int top, int left, int bottom, int right)
    : table_(table),
      top_(std::max(top, 0)),
      left_(std::max(left, 0)),
      bottom_(std::min(bottom, kRows - 1)),
      right_(std::min(right, kCols - 1)),
      rows_(std::max(bottom_ - top_ - 1, 0)),
      standard_(con().colour().standard()),
      enhanced_(con().colour().enhanced()),
      marks_(static_cast<std::size_t>(rows_ + 1), true) {}

void Browser::add_column(cp::OemView heading, CellText value) {
    int width = std::min(static_cast<int>(heading.size()), right_ - left_ + 1);
    columns_.push_back(Column{std::string(heading.view()), std::move(value), width});
    headings_drawn_ = false;
    mark_all();
}

void Browser::set_colour(std::string_view setting) {
    ColourSetting c = ColourSetting{}.with(setting);
    standard_ = c.standard();
    enhanced_ = c.enhanced();
    headings_drawn_ = false;
    mark_all();
}

void Browser::set_heading_separator(cp::OemView text) {
    head_sep_ = std::string(text.view());
    headings_drawn_ = false;
}

void Browser::set_column_separator(cp::OemView text) {
    col_sep_ = std::string(text.view());
    headings_drawn_ = false;
    mark_all();
}

// --- marks ------------------------------------------------------------------------------

void Browser::mark(int row) {
    if (row >= 1 && row <= rows_) marks_[static_cast<std::size_t>(row)] = true;
    stable_ = false;
}

void Browser::mark_all() {
    std::fill(marks_.begin(), marks_.end(), true);
    all_marked_ = true;
    stable_ = false;
}

void Browser::refresh_all() {
    mark_all();
}

// --- moves ------------------------------------------------------------------------------

void Browser::go_top() {
    table_.go_top();
    row_ = 1;
    mark_all();
}

void Browser::go_bottom() {
    table_.go_bottom();
    row_ = std::max(rows_, 1);
    mark_all();
}

void Browser::page_down() {
    move((rows_ - row_) + rows_);
}

void Browser::page_up() {
    move(-((row_ - 1) + rows_));
}

void Browser::left() {
    if (col_ > 0) {
        --col_;
        mark(row_);
    }
}

void Browser::right() {
    if (col_ + 1 < static_cast<int>(columns_.size())) {
        ++col_;
        mark(row_);
    }
}

void Browser::move(int n) {
    if (rows_ < 1) return;
    std::size_t was = table_.recno();
    bool was_on_record = !table_.eof();
    if (!table_.settle()) return;                             // empty table: nothing moves
    if (!was_on_record || table_.recno() != was) mark_all();  // the pointer had been moved
    const int moved = table_.skip_within(n);
    if (moved == 0) return;  // at the end already: nothing changes
    const int target = row_ + moved;
    if (all_marked_) {
        row_ = std::clamp(target, 1, rows_);
        return;
    }
    if (std::abs(moved) >= rows_) {
        // A whole window or more: read every row again, the current record on the last
        // row after a forward move, on the first after a backward one.
        row_ = moved > 0 ? rows_ : 1;
        mark_all();
        return;
    }
    if (target >= 1 && target <= rows_) {
        mark(row_);  // only the highlight moves
        mark(target);
        row_ = target;
        return;
    }
    const int by = target > rows_ ? target - rows_ : target - 1;  // > 0 up, < 0 down
    scroll(by);
    mark(row_ - by);  // the old highlight, where it went
    if (by > 0)
        for (int r = rows_ - by + 1; r <= rows_; ++r) mark(r);
    else
        for (int r = 1; r <= -by; ++r) mark(r);
    row_ = target > rows_ ? rows_ : 1;
}

void Browser::scroll(int n) {
    con().scroll_region(first_data_row(), left_, bottom_, right_, n);
    // Marks travel with their rows.
    std::vector<bool> moved(marks_.size(), false);
    for (int r = 1; r <= rows_; ++r) {
        int from = r + n;
        if (from >= 1 && from <= rows_)
            moved[static_cast<std::size_t>(r)] = marks_[static_cast<std::size_t>(from)];
    }
    marks_ = std::move(moved);
    stable_ = false;
}

bool Browser::apply_key(int key) {
    switch (key) {
        case key::kUp:
            up();
            return true;
        case key::kDown:
            down();
            return true;
        case key::kLeft:
            left();
            return true;
        case key::kRight:
            right();
            return true;
        case key::kPgUp:
            page_up();
            return true;
        case key::kPgDn:
            page_down();
            return true;
        case key::kCtrlPgUp:
            go_top();
            return true;
        case key::kCtrlPgDn:
            go_bottom();
            return true;
        case 254:
            refresh_all();
            return true;
        default:
            return false;
    }
}

// --- drawing ----------------------------------------------------------------------------

void Browser::draw_headings() {
    const int width = right_ - left_ + 1;
    const std::uint8_t line = head_sep_.empty() ? ' ' : static_cast<std::uint8_t>(head_sep_[0]);
    for (int c = 0; c < width; ++c) {
        con().put_cell(top_, left_ + c, ' ', standard_);
        if (top_ + 1 <= bottom_) con().put_cell(top_ + 1, left_ + c, ' ', standard_);
    }
    int x = left_;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (i > 0) {
            for (std::size_t k = 0; k < col_sep_.size(); ++k) {
                std::uint8_t under =
                    k < head_sep_.size() ? static_cast<std::uint8_t>(head_sep_[k]) : line;
                if (top_ + 1 <= bottom_)
                    con().put_cell(top_ + 1, x + static_cast<int>(k), under, standard_);
            }
            x += static_cast<int>(col_sep_.size());
        }
        const Column& col = columns_[i];
        for (int c = 0; c < col.width && x + c <= right_; ++c) {
            std::uint8_t ch =
                c < static_cast<int>(col.heading.size())
                    ? static_cast<std::uint8_t>(col.heading[static_cast<std::size_t>(c)])
                    : ' ';
            con().put_cell(top_, x + c, ch, standard_);
            if (top_ + 1 <= bottom_) con().put_cell(top_ + 1, x + c, line, standard_);
        }
        x += col.width;
    }
    headings_drawn_ = true;
}

// Columns are as wide as the widest of heading and values seen; a wider value widens its
// column (up to the window) and everything is drawn again.
bool Browser::widen(const std::vector<std::string>& texts) {
    bool wider = false;
    const int room = right_ - left_ + 1;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        int w = std::min(static_cast<int>(texts[i].size()), room);
        if (w > columns_[i].width) {
            columns_[i].width = w;
            wider = true;
        }
    }
    return wider;
}

bool Browser::draw_row(int row, bool blank) {
    const int y = first_data_row() + row - 1;
    std::vector<std::string> texts(columns_.size());
    if (!blank) {
        for (std::size_t i = 0; i < columns_.size(); ++i)
            texts[i] = columns_[i].value ? columns_[i].value().str() : std::string{};
        if (widen(texts)) return false;
    }
    for (int x = left_; x <= right_; ++x) con().put_cell(y, x, ' ', standard_);
    if (blank) return true;
    int x = left_;
    for (std::size_t i = 0; i < columns_.size() && x <= right_; ++i) {
        if (i > 0) {
            for (char ch : col_sep_)
                con().put_cell(y, x++, static_cast<std::uint8_t>(ch), standard_);
        }
        const Attr attr = (row == row_ && static_cast<int>(i) == col_) ? enhanced_ : standard_;
        const Column& col = columns_[i];
        for (int c = 0; c < col.width && x + c <= right_; ++c) {
            std::uint8_t ch = c < static_cast<int>(texts[i].size())
                                  ? static_cast<std::uint8_t>(texts[i][static_cast<std::size_t>(c)])
                                  : ' ';
            con().put_cell(y, x + c, ch, attr);
        }
        if (static_cast<int>(i) == col_ && row == row_) con().set_pos(y, x);
        x += col.width;
    }
    return true;
}

void Browser::force_stable() {
    if (stable_ && headings_drawn_) return;
    if (!headings_drawn_) {
        mark_all();
        draw_headings();
    }
    if (rows_ < 1) {
        stable_ = true;
        return;
    }
    if (!table_.settle()) {
        // Nothing to show: blank rows.
        for (int r = 1; r <= rows_; ++r)
            if (marks_[static_cast<std::size_t>(r)] || all_marked_) draw_row(r, true);
        row_ = 1;
    } else {
        const std::size_t current = table_.recno();
        bool redo = false;
        if (all_marked_) {
            // The current row may sit lower than there are records above it.
            row_ = 1 - table_.skip_within(-(row_ - 1));
            bool ended = false;
            for (int r = 1; r <= rows_ && !redo; ++r) {
                if (r > 1 && !ended) ended = table_.skip_within(1) != 1;
                redo = !draw_row(r, ended);
            }
        } else {
            int pos = row_;
            bool ended = false;
            for (int r = 1; r <= rows_ && !redo; ++r) {
                if (!marks_[static_cast<std::size_t>(r)]) continue;
                if (!ended) {
                    const int want = r - pos;
                    const int moved = table_.skip_within(want);
                    pos += moved;
                    ended = moved != want && r > row_;
                    redo = !draw_row(r, moved != want);
                } else {
                    draw_row(r, true);
                }
            }
        }
        table_.go_to(current);
        if (redo) {
            // A column grew: everything again, headings included.
            headings_drawn_ = false;
            mark_all();
            force_stable();
            return;
        }
    }
    std::fill(marks_.begin(), marks_.end(), false);
    all_marked_ = false;
    stable_ = true;
}

}  // namespace rt
