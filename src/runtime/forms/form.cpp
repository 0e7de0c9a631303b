#include "runtime/forms/form.h"

#include "runtime/screen/console.h"
#include "runtime/screen/keys.h"

namespace rt {
namespace {

std::string upper_ascii(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// The cursor is hidden while the form works and shown only while it waits for a key; on
// the way out (an exception from a callback included) the shape is put back.
class CursorDuringForm {
  public:
    explicit CursorDuringForm(Console& c) : console_(c), shape_(c.set_cursor_shape(0)) {}
    ~CursorDuringForm() {
        console_.set_cursor_shape(shape_);
        console_.set_pos(kRows - 2, 0);
    }
    CursorDuringForm(const CursorDuringForm&) = delete;
    CursorDuringForm& operator=(const CursorDuringForm&) = delete;
    // A hidden cursor still shows as an underline while a field waits for a key.
    int wait_shape() const { return shape_ == 0 ? 1 : shape_; }

  private:
    Console& console_;
    int shape_;
};

}  // namespace

Form& Form::field(int row, int col, Binding variable, std::string_view name, std::string_view mask,
                  FieldCheck valid, FieldCheck when) {
    fields_.push_back(Field{row, col, std::move(variable), std::string(name), std::string(mask),
                            std::move(valid), std::move(when)});
    show_value(fields_.back());
    return *this;
}

void Form::show(const Field& f, std::string_view text, bool current) {
    Console& c = con();
    Attr attr = current ? c.colour().enhanced() : c.colour().unselected();
    for (std::size_t i = 0; i < text.size(); ++i) {
        c.put_cell(f.row, f.col + static_cast<int>(i), static_cast<std::uint8_t>(text[i]), attr);
    }
    c.set_pos(f.row, f.col + static_cast<int>(text.size()));
}

void Form::show_value(const Field& f) {
    Value v = f.variable.get();
    show(f, Picture(f.mask, v).format(v), false);
}

bool Form::read(std::string_view proc, int line) {
    return read_from(0, proc, line);
}

bool Form::read_from(std::size_t first, std::string_view proc, int line) {
    Console& c = con();
    updated_ = false;
    insert_ = false;
    CursorDuringForm cursor(c);
    int current = -1;
    for (std::size_t i = first; i < fields_.size() && current < 0; ++i)
        if (enterable(i)) current = static_cast<int>(i);
    if (current < 0) return updated_;  // every field skipped: nothing to read
    for (;;) {
        Move move = edit(fields_[current], proc, line, cursor.wait_shape());
        int next = destination(current, move);
        if (next < 0) break;
        current = next;
    }
    // Callbacks may have read keys of their own (a message box): the form's last key is
    // the one that ended it.
    c.set_last_key(end_key_);
    return updated_;
}

bool Form::read_checked(std::string_view proc, int line) {
    bool updated = false;
    std::size_t first = 0;
    for (;;) {
        updated = read_from(first, proc, line) || updated;
        const int end_key = con().last_key();
        if (end_key == key::kEsc) break;
        const int refused = first_refused();
        con().set_last_key(end_key);
        if (refused < 0) break;
        first = static_cast<std::size_t>(refused);
    }
    updated_ = updated;
    return updated;
}

int Form::first_refused() const {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const Field& f = fields_[i];
        if (!enterable(i) || !f.valid) continue;
        const bool accepted = f.valid();
        show_value(f);  // the validation may have changed the variable
        if (!accepted) return static_cast<int>(i);
    }
    return -1;
}

bool Form::enterable(std::size_t index) const {
    const Field& f = fields_[index];
    return !f.when || f.when();
}

int Form::destination(std::size_t from, Move move) const {
    const int n = static_cast<int>(fields_.size());
    const int here = static_cast<int>(from);
    switch (move) {
        case Move::kStay:
            return here;
        case Move::kPrevious:
            for (int i = here - 1; i >= 0; --i)
                if (enterable(i)) return i;
            return here;  // nothing before it: stay on the field
        case Move::kNext:
        case Move::kNextOrEnd:
            for (int i = here + 1; i < n; ++i)
                if (enterable(i)) return i;
            return move == Move::kNext ? here : -1;
        case Move::kFirst:
            for (int i = 0; i < n; ++i)
                if (enterable(i)) return i;
            return n > 0 && here < n ? here : -1;
        case Move::kEnd:
        case Move::kAbandon:
            return -1;
    }
    return -1;
}

Form::Move Form::edit(Field& f, std::string_view proc, int line, int wait_shape) {
    Console& c = con();
    const Value original = f.variable.get();
    const std::string handler_name = upper_ascii(f.name);
    EditBuffer buffer(f.mask, original);
    for (;;) {
        show(f, buffer.text(), true);
        c.set_pos(f.row, f.col + buffer.cursor());
        c.set_cursor_shape(wait_shape);
        const int code = c.inkey_text();
        c.set_cursor_shape(0);

        if (c.key_handler(code)) {
            store(f, buffer);
            c.run_key_handler(code, proc, line, handler_name);
            buffer = EditBuffer(f.mask, f.variable.get());
            continue;
        }
        Move move = Move::kStay;
        switch (code) {
            case key::kUp:
            case key::kShiftTab:
                move = Move::kPrevious;
                break;
            case key::kDown:
            case key::kTab:
                move = Move::kNext;
                break;
            case key::kEnter:
                move = Move::kNextOrEnd;
                break;
            case key::kPgUp:
            case key::kPgDn:
            case key::kCtrlW:
                move = Move::kEnd;
                break;
            case key::kCtrlHome:
                move = Move::kFirst;
                break;
            case key::kEsc:
                if (!(f.variable.get() == original)) f.variable.set(original);
                show_value(f);
                end_key_ = code;
                return Move::kAbandon;
            case key::kCtrlU:
                if (!(f.variable.get() == original)) f.variable.set(original);
                buffer = EditBuffer(f.mask, original);
                continue;
            case key::kIns:
                insert_ = !insert_;
                continue;
            default:
                // Without the confirm setting a field typed full is left as with Enter.
                if (buffer.apply_key(code, insert_) == EditBuffer::Typed::kFull &&
                    !c.settings().confirm) {
                    move = Move::kNextOrEnd;
                }
                break;
        }
        if (move != Move::kStay && leave(f, buffer)) {
            show_value(f);
            end_key_ = code;
            return move;
        }
    }
}

void Form::store(Field& f, const EditBuffer& buffer) {
    if (!buffer.changed()) return;
    std::optional<Value> v = buffer.value(con().settings().epoch);
    if (!v || *v == f.variable.get()) return;
    f.variable.set(*v);
    updated_ = true;
}

// Leaving a field by any key but Esc. A date that is not a date keeps the cursor on the
// field's first position and the key does nothing else.
bool Form::leave(Field& f, EditBuffer& buffer) {
    if (!buffer.value(con().settings().epoch)) {
        buffer.home();
        return false;
    }
    store(f, buffer);
    bool accepted = !f.valid || f.valid();
    // The validation may have changed the variable; the buffer starts afresh from it (a
    // number is again replaced by the first character typed).
    buffer = EditBuffer(f.mask, f.variable.get());
    return accepted;
}

}  // namespace rt
