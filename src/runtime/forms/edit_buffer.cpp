#include "runtime/forms/edit_buffer.h"

#include <algorithm>

#include "runtime/screen/keys.h"

namespace rt {

EditBuffer::EditBuffer(std::string_view mask, const Value& value)
    : original_(value), picture_(mask, value), text_(picture_.format(value)), loaded_(text_) {
    home();
}

std::optional<Value> EditBuffer::value(int epoch) const {
    std::optional<Value> v = picture_.read(text_, epoch);
    if (v && picture_.type() == ValueType::kText) {
        const std::string& before = std::get<std::string>(original_);
        if (before.size() > text_.size()) std::get<std::string>(*v) += before.substr(text_.size());
    }
    return v;
}

void EditBuffer::set_text(std::string text) {
    if (text != text_) edited_ = true;
    text_ = std::move(text);
}

// --- cursor -----------------------------------------------------------------------------

void EditBuffer::home() {
    cursor_ = picture_.first_editable();
}

void EditBuffer::end() {
    int last_filled = -1;
    for (int p = 0; p < width(); ++p)
        if (picture_.editable(p) && text_[p] != ' ') last_filled = p;
    if (last_filled < 0) {
        home();
        return;
    }
    int after = picture_.next_editable(last_filled);
    cursor_ = after < width() ? after : last_filled;
}

void EditBuffer::left() {
    int p = picture_.prev_editable(cursor_);
    if (p >= 0) cursor_ = p;
}

void EditBuffer::right() {
    int p = picture_.next_editable(cursor_);
    if (p < width()) cursor_ = p;
}

void EditBuffer::word_right() {
    int p = cursor_;
    while (p < width() && text_[p] != ' ') ++p;
    while (p < width() && text_[p] == ' ') ++p;
    if (p >= width()) {
        end();
        return;
    }
    if (!picture_.editable(p)) p = picture_.next_editable(p);
    if (p < width()) cursor_ = p;
}

int EditBuffer::word_left_target() const {
    // Back over the blanks before the cursor, then to the start of the word before them.
    int p = std::min(cursor_, width()) - 1;
    while (p > 0 && text_[p] == ' ') --p;
    while (p > 0 && text_[p - 1] != ' ') --p;
    if (p < 0) p = 0;
    if (!picture_.editable(p)) p = picture_.next_editable(p);
    if (p >= cursor_) {
        int before = picture_.prev_editable(cursor_);
        return before >= 0 ? before : cursor_;
    }
    return p;
}

void EditBuffer::word_left() {
    cursor_ = word_left_target();
}

// --- editing ----------------------------------------------------------------------------

EditBuffer::Typed EditBuffer::apply_key(int code, bool insert) {
    switch (code) {
        case key::kHome:
            home();
            break;
        case key::kEnd:
            end();
            break;
        case key::kLeft:
            left();
            break;
        case key::kRight:
            right();
            break;
        case key::kCtrlLeft:
            word_left();
            break;
        case key::kCtrlRight:
            word_right();
            break;
        case key::kBackspace:
            backspace();
            break;
        case key::kDel:
            del();
            break;
        case key::kCtrlT:
            delete_word_right();
            break;
        case key::kCtrlY:
            delete_to_end();
            break;
        case key::kCtrlBackspace:
            delete_word_left();
            break;
        default:
            return type(code, insert);
    }
    return Typed::kAccepted;
}

EditBuffer::Typed EditBuffer::type(int code, bool insert) {
    const bool number = picture_.type() == ValueType::kNumber;
    const bool fresh = !edited_ && cursor_ == picture_.first_editable();
    if (number && (code == '.' || code == ',')) {
        // The decimal key: the integer part typed so far moves to the right of its places
        // and the cursor to the first decimal, even in a field already typed full.
        if (picture_.first_decimal() < 0) return Typed::kRefused;
        set_text(picture_.align_integer(fresh ? picture_.cleared() : text_));
        edited_ = true;
        cursor_ = picture_.first_decimal();
        return Typed::kAccepted;
    }
    if (full()) return Typed::kRefused;
    std::optional<char> ch = picture_.accept(cursor_, code);
    if (!ch) return Typed::kRefused;
    std::string next = number && fresh ? picture_.cleared() : text_;
    if (insert) {
        // Every editable character from the cursor on moves one position right; the last
        // one falls off the end.
        int p = picture_.last_editable();
        while (p > cursor_) {
            int from = picture_.prev_editable(p);
            next[p] = next[from];
            p = from;
        }
    }
    next[cursor_] = *ch;
    set_text(std::move(next));
    edited_ = true;
    cursor_ = picture_.next_editable(cursor_);
    return full() ? Typed::kFull : Typed::kAccepted;
}

// Removes the character at pos: the editable characters after it move one position left
// and the last editable position becomes blank.
void EditBuffer::delete_at(int pos) {
    if (!picture_.editable(pos)) return;
    std::string next = text_;
    int p = pos;
    for (int from = picture_.next_editable(p); from < width();
         p = from, from = picture_.next_editable(from)) {
        next[p] = next[from];
    }
    next[p] = ' ';
    set_text(std::move(next));
}

void EditBuffer::backspace() {
    int p = picture_.prev_editable(cursor_);
    if (p < 0) return;
    cursor_ = p;
    delete_at(p);
}

void EditBuffer::del() {
    if (!full()) delete_at(cursor_);
}

void EditBuffer::delete_word_right() {
    if (full()) return;
    int count = 0;
    int p = cursor_;
    while (p < width() && text_[p] != ' ') {
        if (picture_.editable(p)) ++count;
        ++p;
    }
    while (p < width() && text_[p] == ' ') {
        if (picture_.editable(p)) ++count;
        ++p;
    }
    for (int i = 0; i < count; ++i) delete_at(cursor_);
}

void EditBuffer::delete_to_end() {
    std::string next = text_;
    for (int p = cursor_; p < width(); ++p)
        if (picture_.editable(p)) next[p] = ' ';
    set_text(std::move(next));
}

void EditBuffer::delete_word_left() {
    int target = word_left_target();
    int count = 0;
    for (int p = target; p < cursor_; ++p)
        if (picture_.editable(p)) ++count;
    cursor_ = target;
    for (int i = 0; i < count; ++i) delete_at(cursor_);
}

}  // namespace rt
