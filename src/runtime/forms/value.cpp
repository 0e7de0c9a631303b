#include "runtime/forms/value.h"

#include <climits>
#include <cmath>

namespace rt {
namespace {

template <typename T>
Binding::Setter store_into(T& variable) {
    return [&variable](const Value& v) {
        if (const T* typed = std::get_if<T>(&v)) variable = *typed;
    };
}

}  // namespace

Binding::Binding(cp::Oem& text)
    : get_([&text] { return Value(text.str()); }), set_([&text](const Value& v) {
          if (const auto* typed = std::get_if<std::string>(&v)) text = cp::Oem(*typed);
      }) {}

Binding::Binding(double& number)
    : get_([&number] { return Value(number); }), set_(store_into(number)) {}

Binding::Binding(Fecha& date) : get_([&date] { return Value(date); }), set_(store_into(date)) {}

Binding::Binding(bool& flag) : get_([&flag] { return Value(flag); }), set_(store_into(flag)) {}

Binding::Binding(int& number)
    : get_([&number] { return Value(static_cast<double>(number)); }),
      set_([&number](const Value& v) {
          const double* d = std::get_if<double>(&v);
          if (!d || std::isnan(*d)) return;
          // A mask wider than an int would hold saturates instead of overflowing.
          double r = std::round(*d);
          if (r >= static_cast<double>(INT_MAX)) {
              number = INT_MAX;
          } else if (r <= static_cast<double>(INT_MIN)) {
              number = INT_MIN;
          } else {
              number = static_cast<int>(r);
          }
      }) {}

Binding::Binding(Getter get, Setter set) : get_(std::move(get)), set_(std::move(set)) {}

}  // namespace rt
