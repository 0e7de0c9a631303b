#pragma once
// Edit masks. A mask is an optional function part ("@" and letters, ended by a blank) and a
// template: "@!", "999", "99:99", "!!!", "@E 9,999,999.99". A Picture is a mask laid over
// one value: the positions of the edit buffer, what each accepts, how a value is shown in
// them and how the buffer is read back.
//
// Template characters: "9" a digit (in a number also "+" and "-"), "#" the same, "!" any
// character with letters upper-cased, "X" any character, "A" a letter, "N" a letter or a
// digit; any other character is fixed, shown as it stands and skipped by the cursor. In a
// number, "," groups thousands and the first "." is the decimal mark; the function "E"
// shows the two exchanged (1.234,50). The function "!" upper-cases every letter.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/forms/value.h"

namespace rt {

struct MaskSpec {
    std::string functions;  // the letters after "@", upper-cased: "!", "E"
    std::string layout;     // the template, possibly empty
    bool has(char function) const;
};
MaskSpec parse_mask(std::string_view mask);

class Picture {
  public:
    enum class Slot : std::uint8_t {
        kFixed,      // shown as the template has it, never edited
        kGroup,      // thousands mark of a number: shown only with a digit to its left
        kDecimal,    // decimal mark of a number
        kAny,        // any printable character
        kUpper,      // any printable character, letters upper-cased
        kDigit,      // 0-9
        kSignDigit,  // 0-9, "+", "-" (digit positions of a number)
        kLetter,
        kLetterDigit,
        kLogical,  // S/N (also T/Y and F)
    };

    // The sample value gives the type, and for a text without template the width (its
    // length); a number without template is shown in 10 positions, with 2 decimals when
    // the sample has a fraction. A date always edits as dd/mm/yyyy and a logical as S/N,
    // whatever the mask says.
    Picture(std::string_view mask, const Value& sample);

    ValueType type() const { return type_; }
    int width() const { return static_cast<int>(slots_.size()); }
    Slot slot(int pos) const { return slots_[pos]; }
    bool editable(int pos) const;
    int first_editable() const;        // width() when there is none
    int last_editable() const;         // -1 when there is none
    int next_editable(int pos) const;  // the first editable position after pos, or width()
    int prev_editable(int pos) const;  // the last editable position before pos, or -1
    // First position after the decimal mark (numbers with decimals), else -1.
    int first_decimal() const { return first_decimal_; }

    // The character to store when `code` is typed at pos (upper-cased where the mask says),
    // or nullopt when the position refuses it.
    std::optional<char> accept(int pos, int code) const;

    // The value as shown in the mask's width (asterisks when a number does not fit).
    std::string format(const Value& v) const;
    // The buffer read back as a value of the picture's type; nullopt for a date buffer that
    // is not a date. A text is the buffer itself (fixed characters included).
    std::optional<Value> read(std::string_view buffer, int epoch) const;
    // A number buffer with no digits: what the first character typed leaves behind.
    std::string cleared() const;
    // A number buffer with its integer part moved to the right, as the decimal key does.
    std::string align_integer(std::string_view buffer) const;

  private:
    void lay_out_text(const MaskSpec& spec, int text_width);
    void lay_out_number(const MaskSpec& spec, bool whole);
    void lay_out_date();
    std::string format_number(double v) const;
    double read_number(std::string_view buffer) const;
    std::string with_integer(std::string_view buffer, const std::string& digits,
                             bool negative) const;

    ValueType type_;
    std::vector<Slot> slots_;
    std::string fixed_;  // per position: the character shown there when it is not edited
    bool upper_all_ = false;
    bool exchange_ = false;
    int first_decimal_ = -1;
};

// The value formatted through the mask, as a display line or a printed voucher shows it:
// format_with_mask(1234.5, "@E 9,999,999.99") gives "    1.234,50".
cp::Oem format_with_mask(const Value& value, std::string_view mask);

}  // namespace rt
