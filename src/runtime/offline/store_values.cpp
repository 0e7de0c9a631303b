#include <charconv>
#include <cmath>
#include <string>

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

double store_number(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    std::size_t end = i;
    if (end < text.size() && (text[end] == '-' || text[end] == '+')) ++end;
    const auto digits_from = end;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    if (end < text.size() && text[end] == '.') {
        ++end;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    }
    if (end == digits_from || (end == digits_from + 1 && text[digits_from] == '.')) return 0;
    double value = 0;
    const char* first = text.data() + i + (text[i] == '+' ? 1 : 0);
    std::from_chars(first, text.data() + end, value);
    return value;
}

}  // namespace rt
