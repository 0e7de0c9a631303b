#include "runtime/common/sql_like.h"

namespace rt {

std::string like_literal(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 4);
    for (char c : text) {
        if (c == '!' || c == '%' || c == '_') out += '!';
        out += c;
    }
    return out;
}

}  // namespace rt
