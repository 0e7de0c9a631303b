#include "runtime/offline/join_keyword_calls.h"

#include <gtest/gtest.h>

namespace rt {
namespace {

TEST(JoinKeywordCalls, QuotesOnlyBareCallTokens) {
    const std::pair<const char*, const char*> cases[] = {
        {"select left(codi_unid,3) as codigo", "select \"left\"(codi_unid,3) as codigo"},
        {"where left(prodcmp.codi_prod,1)='9' ", "where \"left\"(prodcmp.codi_prod,1)='9' "},
        {"LEFT (a,1)||Right(b,2)", "\"LEFT\" (a,1)||\"Right\"(b,2)"},
        {"x=left(\n a,1)", "x=\"left\"(\n a,1)"},
        // Join keywords, names that only contain the word, and literals stay as they are.
        {"a left join b on a.x=b.x", "a left join b on a.x=b.x"},
        {"a left outer join (b) on 1", "a left outer join (b) on 1"},
        {"select leftover(a), aleft(b), left_(c)", "select leftover(a), aleft(b), left_(c)"},
        {"select 'left(x,1)' as t", "select 'left(x,1)' as t"},
        {"select 'it''s left(' as t, left(x,1)", "select 'it''s left(' as t, \"left\"(x,1)"},
        {"select \"left\"(x,1)", "select \"left\"(x,1)"},
        {"select [left](x) from t -- left(x,1)\n", "select [left](x) from t -- left(x,1)\n"},
        {"/* right(x,1) */ right(x,1)", "/* right(x,1) */ \"right\"(x,1)"},
        {"select '\xD1left(' , left", "select '\xD1left(' , left"},
        {"select 'unterminated left(", "select 'unterminated left("},
        {"", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(quote_join_keyword_calls(in), out) << in;
}

}  // namespace
}  // namespace rt
