#include "runtime/common/texto.h"

namespace rt {

std::string ltrim(std::string_view text) {
    std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string rtrim(std::string_view text) {
    std::size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

std::string trim(std::string_view text) {
    return ltrim(rtrim(text));
}

namespace {
// Windows-1252 letters: A-Z, and 0xC0-0xDE except 0xD7 (×) for the accented capitals.
bool is_upper_letter(unsigned char b) {
    return (b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7);
}
bool is_lower_letter(unsigned char b) {
    return (b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7);
}
}  // namespace

std::string lower(std::string_view ansi) {
    std::string out(ansi);
    for (char& ch : out) {
        auto b = static_cast<unsigned char>(ch);
        if (is_upper_letter(b)) ch = static_cast<char>(b + 32);
    }
    return out;
}

std::string upper(std::string_view ansi) {
    std::string out(ansi);
    for (char& ch : out) {
        auto b = static_cast<unsigned char>(ch);
        if (is_lower_letter(b)) ch = static_cast<char>(b - 32);
    }
    return out;
}

std::string pad_right(std::string_view text, std::size_t width) {
    std::string out(text.substr(0, std::min(width, text.size())));
    out.resize(width, ' ');
    return out;
}

std::string pad_left(std::string_view text, std::size_t width) {
    if (text.size() >= width) return std::string(text.substr(0, width));
    return std::string(width - text.size(), ' ') + std::string(text);
}

}  // namespace rt
