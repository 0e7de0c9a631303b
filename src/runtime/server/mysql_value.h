#pragma once
// One typed value read from the server: a logical, a number, a date or a text, or nothing
// (an unknown column, or a row that does not exist). The accessors never throw: asking a
// value for a kind it does not hold gives that kind's empty value, so callers that treat
// "absent or not a logical" as false can just ask for logical().
#include <string>
#include <utility>
#include <variant>

#include "runtime/common/fecha.h"

namespace rt {

class MySQLValue {
  public:
    enum class Kind { Nil, Logical, Number, Date, Text };

    MySQLValue() = default;
    explicit MySQLValue(bool b) : v_(b) {}
    explicit MySQLValue(double n) : v_(n) {}
    explicit MySQLValue(Fecha d) : v_(d) {}
    explicit MySQLValue(std::string s) : v_(std::move(s)) {}

    Kind kind() const { return static_cast<Kind>(v_.index()); }
    bool is_nil() const { return kind() == Kind::Nil; }
    bool is_logical() const { return kind() == Kind::Logical; }
    bool is_number() const { return kind() == Kind::Number; }
    bool is_date() const { return kind() == Kind::Date; }
    bool is_text() const { return kind() == Kind::Text; }

    bool logical() const { return is_logical() && std::get<bool>(v_); }
    double number() const { return is_number() ? std::get<double>(v_) : 0.0; }
    Fecha date() const { return is_date() ? std::get<Fecha>(v_) : Fecha{}; }
    const std::string& text() const {
        static const std::string empty;
        return is_text() ? std::get<std::string>(v_) : empty;
    }

    bool operator==(const MySQLValue&) const = default;

  private:
    // The order of the alternatives follows Kind.
    std::variant<std::monostate, bool, double, Fecha, std::string> v_;
};

}  // namespace rt
