#pragma once
// The values a form field edits and the binding through which a field reads and writes the
// variable of the calling operation.
//
// A text field edits a console text (cp::Oem): the operation converts a stored (Windows)
// text before the form and back after it, where it needs to. Inside the form, and through
// a pair of callbacks, a text value is the field's CP850 bytes.
#include <functional>
#include <string>
#include <variant>

#include "runtime/common/fecha.h"
#include "runtime/common/oem.h"

namespace rt {

using Value = std::variant<std::string, double, Fecha, bool>;

enum class ValueType { kText, kNumber, kDate, kLogical };

inline ValueType type_of(const Value& v) {
    return static_cast<ValueType>(v.index());
}

// A variable of the calling operation, read with get() and written with set(). Converts
// implicitly from a variable of any of the field types, so a field declaration names the
// variable itself; a pair of callbacks binds anything else (an element of a record ...).
class Binding {
  public:
    using Getter = std::function<Value()>;
    using Setter = std::function<void(const Value&)>;

    Binding(cp::Oem& text);   // NOLINT(google-explicit-constructor): meant to convert
    Binding(double& number);  // NOLINT
    Binding(int& number);     // NOLINT: stored rounded, kept within the range of int
    Binding(Fecha& date);     // NOLINT
    Binding(bool& flag);      // NOLINT
    Binding(Getter get, Setter set);

    Value get() const { return get_(); }
    // A value of another type than the variable's is ignored: the variable keeps its type.
    void set(const Value& v) const { set_(v); }

  private:
    Getter get_;
    Setter set_;
};

}  // namespace rt
