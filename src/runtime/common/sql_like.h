#pragma once
// LIKE patterns made from text the user typed, for the searches of the help lists: the
// text is matched as it reads, so a '%' or '_' typed finds those characters and never
// stands for "anything". The pattern's escape character is '!', named by an ESCAPE clause
// after the pattern, so the pattern means the same on the server whatever its quoting mode
// (with NO_BACKSLASH_ESCAPES a backslash escapes nothing) and in the off-line store.
//
//   "where nom_oper like '" + quote(rt::like_literal(text)) + "%'" + rt::kLikeEscape + " "
//
// The result still goes through the store's quoting of text values.
#include <string>
#include <string_view>

namespace rt {

inline constexpr std::string_view kLikeEscape = " escape '!'";

// The text with '!', '%' and '_' preceded by '!'.
std::string like_literal(std::string_view text);

}  // namespace rt
