#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "runtime/offline/todbc.h"

namespace rt {

std::string mdb_quote(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    for (const char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out;
}

std::string mdb_number(double value, int decimals) {
    if (value == 0) value = 0;  // never "-0"
    char buffer[400];
    const auto result = decimals < 0 ? std::to_chars(buffer, buffer + sizeof buffer, value,
                                                     std::chars_format::fixed)
                                     : std::to_chars(buffer, buffer + sizeof buffer, value,
                                                     std::chars_format::fixed, decimals);
    return {buffer, result.ptr};
}

namespace {

// The longest prefix of `text` (after leading blanks) that reads as a decimal number, with
// an optional exponent: the driver gives small and large values as "5.0e-05", "1.0e+15".
// [begin, end) of that prefix; begin == end when there is none.
std::pair<std::size_t, std::size_t> number_span(std::string_view text) {
    auto digits = [&](std::size_t i) {
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        return i;
    };
    std::size_t begin = 0;
    while (begin < text.size() && text[begin] == ' ') ++begin;
    std::size_t i = begin;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    const std::size_t whole = digits(i);
    std::size_t end = whole;
    bool any = whole > i;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fraction = digits(end + 1);
        any = any || fraction > end + 1;
        end = fraction;
    }
    if (!any) return {begin, begin};
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t e = end + 1;
        if (e < text.size() && (text[e] == '-' || text[e] == '+')) ++e;
        const std::size_t exponent = digits(e);
        if (exponent > e) end = exponent;  // "5e" alone is the number 5 and a letter
    }
    return {begin, end};
}

// nullopt when the number does not fit a double.
std::optional<double> parse(std::string_view text, std::size_t begin, std::size_t end) {
    if (begin < end && text[begin] == '+') ++begin;  // from_chars takes no plus sign
    double value = 0;
    const auto result = std::from_chars(text.data() + begin, text.data() + end, value);
    if (result.ec != std::errc{}) return std::nullopt;
    return value;
}

}  // namespace

double store_number(std::string_view text) {
    const auto [begin, end] = number_span(text);
    return parse(text, begin, end).value_or(0);
}

std::optional<double> store_number_exact(std::string_view text) {
    const auto [begin, end] = number_span(text);
    std::size_t rest = end;
    while (rest < text.size() && text[rest] == ' ') ++rest;
    if (begin == end || rest != text.size()) return std::nullopt;
    return parse(text, begin, end);
}

}  // namespace rt
