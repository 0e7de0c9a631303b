// Numbers in a mask: right-aligned digits, thousands marks shown only between digits, a
// minus sign just left of the first digit, asterisks when the number does not fit.
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "runtime/forms/mask.h"

namespace rt {
namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool all_zeros(const std::string& digits) {
    return digits.find_first_not_of('0') == std::string::npos;
}

std::string strip_leading_zeros(const std::string& digits) {
    std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) return digits.empty() ? digits : "0";
    return digits.substr(first);
}

// |v| as integer and decimal digits, rounded half away from zero to `decimals` places.
void split_digits(double a, int decimals, std::string& integer, std::string& fraction) {
    double scaled = a * std::pow(10.0, decimals);
    if (decimals <= 18 && scaled < 9e18) {
        // The nudge puts values such as 1.005 (stored as 1.00499...) on the side they are
        // written on.
        auto n = static_cast<std::uint64_t>(std::round(scaled + scaled * 1e-12 + 1e-9));
        std::uint64_t p = 1;
        for (int i = 0; i < decimals; ++i) p *= 10;
        integer = std::to_string(n / p);
        fraction = decimals == 0 ? "" : std::to_string(n % p);
        if (fraction.size() < static_cast<std::size_t>(decimals))
            fraction.insert(0, decimals - fraction.size(), '0');
        return;
    }
    std::vector<char> buf(static_cast<std::size_t>(decimals) + 400);
    std::snprintf(buf.data(), buf.size(), "%.*f", decimals, a);
    std::string text(buf.data());
    std::size_t dot = text.find('.');
    integer = text.substr(0, dot);
    fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
}

}  // namespace

std::string Picture::cleared() const {
    std::string out = fixed_;
    for (int i = 0; i < width(); ++i)
        if (slots_[i] == Slot::kGroup) out[i] = ' ';
    return out;
}

// Lays `digits` right-aligned into the integer positions of `buffer` (the positions before
// the decimal mark), with the thousands marks between digits and the sign in front. Gives
// an empty text when they do not fit.
std::string Picture::with_integer(std::string_view buffer, const std::string& digits,
                                  bool negative) const {
    std::string out(buffer);
    int mark = width();
    for (int i = 0; i < width(); ++i) {
        if (slots_[i] == Slot::kDecimal) {
            mark = i;
            break;
        }
    }
    std::vector<int> places;
    for (int i = 0; i < mark; ++i) {
        if (slots_[i] == Slot::kSignDigit) places.push_back(i);
        if (slots_[i] == Slot::kSignDigit || slots_[i] == Slot::kGroup) out[i] = ' ';
    }
    if (digits.size() > places.size()) return {};
    const std::size_t offset = places.size() - digits.size();
    for (std::size_t k = 0; k < digits.size(); ++k) out[places[offset + k]] = digits[k];
    const int leftmost = digits.empty() ? mark : places[offset];
    for (int i = leftmost + 1; i < mark; ++i)
        if (slots_[i] == Slot::kGroup) out[i] = fixed_[i];
    if (negative) {
        int sign = leftmost - 1;
        if (sign < 0 || (slots_[sign] != Slot::kSignDigit && slots_[sign] != Slot::kGroup)) {
            return {};
        }
        out[sign] = '-';
    }
    return out;
}

std::string Picture::format_number(double v) const {
    const std::string stars(width(), '*');
    if (!std::isfinite(v)) return stars;
    int decimals = 0;
    bool has_integer_places = false;
    for (int i = 0; i < width(); ++i) {
        if (slots_[i] != Slot::kSignDigit) continue;
        if (first_decimal_ >= 0 && i >= first_decimal_) {
            ++decimals;
        } else {
            has_integer_places = true;
        }
    }
    std::string integer, fraction;
    split_digits(std::fabs(v), decimals, integer, fraction);
    bool negative = v < 0 && !(all_zeros(integer) && all_zeros(fraction));
    if (integer == "0" && !has_integer_places) integer.clear();
    std::string out = with_integer(cleared(), integer, negative);
    if (out.empty()) return stars;
    std::size_t k = 0;
    for (int i = first_decimal_ < 0 ? width() : first_decimal_; i < width(); ++i)
        if (slots_[i] == Slot::kSignDigit && k < fraction.size()) out[i] = fraction[k++];
    return out;
}

double Picture::read_number(std::string_view buffer) const {
    bool negative = false;
    double integer = 0, fraction = 0, scale = 1;
    for (int i = 0; i < width() && i < static_cast<int>(buffer.size()); ++i) {
        if (slots_[i] != Slot::kSignDigit) continue;
        char c = buffer[i];
        if (c == '-') negative = true;
        if (first_decimal_ >= 0 && i >= first_decimal_) {
            scale *= 10;
            fraction = fraction * 10 + (is_digit(c) ? c - '0' : 0);
        } else if (is_digit(c)) {
            integer = integer * 10 + (c - '0');
        }
    }
    double v = integer + fraction / scale;
    if (negative) v = -v;
    return v == 0 ? 0.0 : v;
}

std::string Picture::align_integer(std::string_view buffer) const {
    std::string digits;
    bool negative = false;
    for (int i = 0; i < width() && i < static_cast<int>(buffer.size()); ++i) {
        if (slots_[i] == Slot::kDecimal) break;
        if (slots_[i] != Slot::kSignDigit) continue;
        if (is_digit(buffer[i])) digits += buffer[i];
        if (buffer[i] == '-') negative = true;
    }
    std::string out = with_integer(buffer, strip_leading_zeros(digits), negative);
    return out.empty() ? std::string(buffer) : out;
}

}  // namespace rt
