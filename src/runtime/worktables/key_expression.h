#pragma once
// Index keys written the way the operations write them: "Str(N_INTERNO,10)",
// "Upper(NOMBRE)", "CODIGO+CODI_FORM", "Upper(DESCRIP)+CODI_FORM". A key is compiled once
// against the table's structure and then evaluated for every record to a text; keys compare
// as texts, byte by byte.
//
// Grammar (names and functions in any case):
//   key    := term { "+" term }
//   term   := FIELD | "text" | 'text' | Upper(key) | Str(key [, width [, decimals]])
//           | Dtos(key) | Substr(key, start [, length])
// A numeric field standing alone is keyed as Str(field) at its own width; a logical one as
// "T" or "F"; a date as Dtos().
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/worktables/field.h"

namespace rt::wt {

class KeyExpression {
  public:
    // nullopt when the text names an unknown field or function or is malformed; `error`
    // then says why (for the developer, not for the user).
    static std::optional<KeyExpression> compile(std::string_view text, const Structure& structure,
                                                std::string* error = nullptr);

    std::string evaluate(const std::vector<Value>& record) const;
    const std::string& text() const { return text_; }

    struct Node;

  private:
    std::string text_;
    std::shared_ptr<const Node> root_;
};

// The upper-case form of a console-code-page text: ASCII letters and the Spanish accented
// letters of code page 850 (á é í ó ú ü ñ).
std::string upper_oem(std::string_view text);

// Str(n, width, decimals): right-aligned decimal text; asterisks when it does not fit.
std::string str_number(double value, int width, int decimals);

}  // namespace rt::wt
