// Typing of server values by column type code.
#include "runtime/server/mysql_typing.h"

#include <charconv>
#include <cmath>

namespace rt {

double numeric_value(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    text.remove_prefix(i);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    double value = 0;
    auto [ptr, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ec != std::errc{} || !std::isfinite(value)) return 0;
    (void)ptr;
    return negative ? -value : value;
}

bool is_character_column(int type) {
    return type == mysql_type::kVarString || type == mysql_type::kString ||
           type == mysql_type::kDateTime;
}

static MySQLValue date_from_text(std::string_view text) {
    // "yyyy-mm-dd"; anything else, 0000-00-00 included, is the empty date.
    auto number = [&](std::size_t pos, std::size_t len) {
        int v = 0;
        auto [ptr, ec] = std::from_chars(text.data() + pos, text.data() + pos + len, v);
        return (ec == std::errc{} && ptr == text.data() + pos + len) ? v : -1;
    };
    if (text.size() >= 10 && text[4] == '-' && text[7] == '-') {
        int y = number(0, 4), m = number(5, 2), d = number(8, 2);
        if (y > 0 && m > 0 && d > 0) {
            if (auto f = Fecha::from_ymd(y, m, d)) return MySQLValue(*f);
        }
    }
    return MySQLValue(Fecha{});
}

MySQLValue convert_mysql_value(int type, std::string_view text) {
    switch (type) {
        case mysql_type::kTiny:
            return MySQLValue(numeric_value(text) != 0);
        case mysql_type::kShort:
        case mysql_type::kLong:
        case mysql_type::kLongLong:
        case mysql_type::kInt24:
        case mysql_type::kFloat:
        case mysql_type::kDouble:
        case mysql_type::kNewDecimal:
            return MySQLValue(numeric_value(text));
        case mysql_type::kDate:
            return date_from_text(text);
        default:
            return MySQLValue(std::string(text));
    }
}

MySQLValue padded_for_reading(const MySQLValue& value, const MySQLField& field) {
    if (!is_character_column(field.type) || !value.is_text()) return value;
    const std::string& text = value.text();
    // A character column is at most 65535 bytes long; a larger reported length is no width.
    if (text.size() >= field.length || field.length > 65535) return value;
    std::string padded = text;
    padded.resize(field.length, ' ');
    return MySQLValue(std::move(padded));
}

int mysql_field_position(const std::vector<MySQLField>& fields, std::string_view name) {
    auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& f = fields[i].name;
        if (f.size() != name.size()) continue;
        bool same = true;
        for (std::size_t k = 0; k < f.size() && same; ++k)
            same = lower(static_cast<unsigned char>(f[k])) ==
                   lower(static_cast<unsigned char>(name[k]));
        if (same) return static_cast<int>(i) + 1;
    }
    return 0;
}

}  // namespace rt
