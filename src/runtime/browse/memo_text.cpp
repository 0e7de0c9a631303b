#include "runtime/browse/memo_text.h"

#include <algorithm>

namespace rt {

MemoText::MemoText(std::string_view text, int line_length) : length_(std::max(line_length, 1)) {
    if (text.find("\r\n") != std::string_view::npos)
        line_break_ = "\r\n";
    else if (text.find('\n') != std::string_view::npos)
        line_break_ = "\n";
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines_.push_back(std::move(current));
            current.clear();
        } else {
            current += c == '\t' ? ' ' : c;
        }
    }
    lines_.push_back(std::move(current));
    original_ = lines_;
    rewrap();
}

std::string MemoText::text() const {
    std::string out;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i) out += line_break_;
        out += lines_[i];
    }
    return out;
}

void MemoText::rewrap() {
    rows_.clear();
    for (std::size_t l = 0; l < lines_.size(); ++l) {
        const std::string& s = lines_[l];
        const int n = static_cast<int>(s.size());
        int pos = 0;
        while (n - pos > length_) {
            // Break after the last blank that fits, else cut the word.
            int take = length_;
            for (int i = pos + length_ - 1; i > pos; --i) {
                if (s[static_cast<std::size_t>(i)] == ' ') {
                    take = i - pos + 1;
                    break;
                }
            }
            rows_.push_back(Row{static_cast<int>(l), pos, take, false});
            pos += take;
        }
        rows_.push_back(Row{static_cast<int>(l), pos, n - pos, true});
    }
}

int MemoText::cursor_row() const {
    // Rows of one line are consecutive; the cursor belongs to the last row that starts at
    // or before it.
    auto first = std::lower_bound(rows_.begin(), rows_.end(), line_,
                                  [](const Row& r, int line) { return r.line < line; });
    int row = static_cast<int>(first - rows_.begin());
    while (static_cast<std::size_t>(row + 1) < rows_.size() &&
           rows_[static_cast<std::size_t>(row + 1)].line == line_ &&
           rows_[static_cast<std::size_t>(row + 1)].start <= offset_)
        ++row;
    return row;
}

void MemoText::set_cursor(int line, int offset, bool keep_column) {
    line_ = std::clamp(line, 0, static_cast<int>(lines_.size()) - 1);
    offset_ =
        std::clamp(offset, 0, static_cast<int>(lines_[static_cast<std::size_t>(line_)].size()));
    if (!keep_column) wanted_col_ = cursor_col();
}

void MemoText::to_row(int row) {
    row = std::clamp(row, 0, static_cast<int>(rows_.size()) - 1);
    const Row& r = rows_[static_cast<std::size_t>(row)];
    // On a wrapped row the position after its last byte is the next row's first.
    int room = r.last_of_line ? r.length : std::max(r.length - 1, 0);
    set_cursor(r.line, r.start + std::min(wanted_col_, room), true);
}

void MemoText::left() {
    if (offset_ > 0)
        set_cursor(line_, offset_ - 1);
    else if (line_ > 0)
        set_cursor(line_ - 1, static_cast<int>(lines_[static_cast<std::size_t>(line_ - 1)].size()));
}

void MemoText::right() {
    if (offset_ < static_cast<int>(lines_[static_cast<std::size_t>(line_)].size()))
        set_cursor(line_, offset_ + 1);
    else if (static_cast<std::size_t>(line_ + 1) < lines_.size())
        set_cursor(line_ + 1, 0);
}

void MemoText::home() {
    set_cursor(line_, rows_[static_cast<std::size_t>(cursor_row())].start);
}

void MemoText::end() {
    const Row& r = rows_[static_cast<std::size_t>(cursor_row())];
    set_cursor(line_, r.start + (r.last_of_line ? r.length : std::max(r.length - 1, 0)));
}

void MemoText::text_top() {
    set_cursor(0, 0);
}

void MemoText::text_bottom() {
    const int last = static_cast<int>(lines_.size()) - 1;
    set_cursor(last, static_cast<int>(lines_.back().size()));
}

void MemoText::type(char ch, bool insert) {
    std::string& s = lines_[static_cast<std::size_t>(line_)];
    const auto at = static_cast<std::size_t>(offset_);
    if (insert || at >= s.size())
        s.insert(at, 1, ch);
    else
        s[at] = ch;
    rewrap();
    set_cursor(line_, offset_ + 1);
}

void MemoText::tab(int size, bool insert) {
    size = std::max(size, 1);
    const int blanks = size - offset_ % size;
    for (int i = 0; i < blanks; ++i) type(' ', insert);
}

void MemoText::enter() {
    std::string& s = lines_[static_cast<std::size_t>(line_)];
    std::string rest = s.substr(static_cast<std::size_t>(offset_));
    s.erase(static_cast<std::size_t>(offset_));
    lines_.insert(lines_.begin() + line_ + 1, std::move(rest));
    rewrap();
    set_cursor(line_ + 1, 0);
}

void MemoText::backspace() {
    if (offset_ > 0) {
        lines_[static_cast<std::size_t>(line_)].erase(static_cast<std::size_t>(offset_ - 1), 1);
        rewrap();
        set_cursor(line_, offset_ - 1);
    } else if (line_ > 0) {
        const int joint = static_cast<int>(lines_[static_cast<std::size_t>(line_ - 1)].size());
        lines_[static_cast<std::size_t>(line_ - 1)] += lines_[static_cast<std::size_t>(line_)];
        lines_.erase(lines_.begin() + line_);
        rewrap();
        set_cursor(line_ - 1, joint);
    }
}

void MemoText::del() {
    std::string& s = lines_[static_cast<std::size_t>(line_)];
    if (static_cast<std::size_t>(offset_) < s.size()) {
        s.erase(static_cast<std::size_t>(offset_), 1);
    } else if (static_cast<std::size_t>(line_ + 1) < lines_.size()) {
        s += lines_[static_cast<std::size_t>(line_ + 1)];
        lines_.erase(lines_.begin() + line_ + 1);
    } else {
        return;
    }
    rewrap();
    set_cursor(line_, offset_);
}

void MemoText::delete_line() {
    if (lines_.size() == 1)
        lines_[0].clear();
    else
        lines_.erase(lines_.begin() + line_);
    rewrap();
    set_cursor(std::min(line_, static_cast<int>(lines_.size()) - 1), 0);
}

}  // namespace rt
