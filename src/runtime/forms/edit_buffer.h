#pragma once
// The text a field is edited in: always exactly as wide as its picture, fixed positions
// never touched, and a cursor that stands on an editable position or, once the field has
// been typed full, one column past its end.
#include <optional>
#include <string>

#include "runtime/forms/mask.h"

namespace rt {

class EditBuffer {
  public:
    EditBuffer(std::string_view mask, const Value& value);

    const Picture& picture() const { return picture_; }
    const std::string& text() const { return text_; }
    int width() const { return picture_.width(); }
    int cursor() const { return cursor_; }  // 0 .. width(); width() = typed full
    bool full() const { return cursor_ >= width(); }
    // True once a key changed the text since it was loaded.
    bool edited() const { return edited_; }
    // The text differs from the one loaded from the value.
    bool changed() const { return text_ != loaded_; }

    // The buffer read as a value of the field's type; nullopt when a date buffer is not a
    // date. A text longer than the mask keeps the part beyond the mask's width.
    std::optional<Value> value(int epoch) const;

    // --- cursor ---------------------------------------------------------------------
    void home();
    void end();  // after the last non-blank character
    void left();
    void right();
    void word_left();
    void word_right();

    // --- editing --------------------------------------------------------------------
    enum class Typed { kRefused, kAccepted, kFull };
    // One key of the field's key table: movement inside the field, deletion or a printable
    // character (Ins, which switches the mode, is the form's). kRefused for any other key
    // and for a character the mask refuses.
    Typed apply_key(int code, bool insert);
    // A printable key: written over the cursor's character, or inserted. In a number the
    // first character typed on the first position of an untouched buffer clears it first,
    // and "." or "," moves to the decimals.
    Typed type(int code, bool insert);
    void backspace();
    void del();
    void delete_word_right();
    void delete_to_end();
    void delete_word_left();

  private:
    void delete_at(int pos);
    void set_text(std::string text);
    int word_left_target() const;

    Value original_;
    Picture picture_;
    std::string text_;
    std::string loaded_;
    int cursor_ = 0;
    bool edited_ = false;
};

}  // namespace rt
