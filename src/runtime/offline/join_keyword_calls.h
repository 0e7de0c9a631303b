#pragma once
// The store's SQL dialect reads "left" and "right" only as join keywords, so a call such as
// left(codi_unid,3) would not parse. Before a statement runs, each bare call token is quoted
// ("left"(codi_unid,3)), which the dialect reads as a call of the function of that name.
// Text inside string literals, quoted names and comments is never touched.
#include <string>
#include <string_view>

namespace rt {

std::string quote_join_keyword_calls(std::string_view sql);

}  // namespace rt
