#include "runtime/offline/join_keyword_calls.h"

#include <cctype>

namespace rt {
namespace {

bool is_word_byte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || u == '_' || u == '$' || u >= 0x80;
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
    }
    return true;
}

// Index just past the quoted run that starts at `i` (closing quote included; a doubled
// closing quote stands for itself), or the end of the text when it is never closed.
std::size_t skip_quoted(std::string_view sql, std::size_t i, char close) {
    for (++i; i < sql.size(); ++i) {
        if (sql[i] != close) continue;
        if (close != ']' && i + 1 < sql.size() && sql[i + 1] == close) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return sql.size();
}

std::size_t skip_comment(std::string_view sql, std::size_t i) {
    if (sql[i] == '-') {
        const auto end = sql.find('\n', i);
        return end == std::string_view::npos ? sql.size() : end + 1;
    }
    const auto end = sql.find("*/", i + 2);
    return end == std::string_view::npos ? sql.size() : end + 2;
}

}  // namespace

std::string quote_join_keyword_calls(std::string_view sql) {
    std::string out;
    out.reserve(sql.size() + 8);
    std::size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        std::size_t next = i + 1;
        if (c == '\'' || c == '"' || c == '`') {
            next = skip_quoted(sql, i, c);
        } else if (c == '[') {
            next = skip_quoted(sql, i, ']');
        } else if ((c == '-' || c == '/') && i + 1 < sql.size() &&
                   sql[i + 1] == (c == '-' ? '-' : '*')) {
            next = skip_comment(sql, i);
        } else if (is_word_byte(c)) {
            while (next < sql.size() && is_word_byte(sql[next])) ++next;
            const auto word = sql.substr(i, next - i);
            auto after = next;
            while (after < sql.size() && std::isspace(static_cast<unsigned char>(sql[after]))) {
                ++after;
            }
            const bool call = after < sql.size() && sql[after] == '(';
            if (call &&
                (equals_ignoring_case(word, "left") || equals_ignoring_case(word, "right"))) {
                out += '"';
                out += word;
                out += '"';
                i = next;
                continue;
            }
        }
        out.append(sql.substr(i, next - i));
        i = next;
    }
    return out;
}

}  // namespace rt
