#pragma once
// Small text helpers shared by the operations.
#include <string>
#include <string_view>

namespace rt {

std::string trim(std::string_view text);   // without leading and trailing blanks
std::string rtrim(std::string_view text);  // without trailing blanks
std::string ltrim(std::string_view text);
std::string lower(std::string_view ansi);  // Windows-1252 letters, accented ones included
std::string upper(std::string_view ansi);
// Pads with blanks or cuts to exactly `width` characters.
std::string pad_right(std::string_view text, std::size_t width);
std::string pad_left(std::string_view text, std::size_t width);

}  // namespace rt
