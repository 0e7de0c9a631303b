#include "runtime/worktables/key_expression.h"

#include <gtest/gtest.h>

#include "ui/tablas_trabajo.h"

namespace rt::wt {
namespace {

// The application's own work tables serve as realistic examples.
namespace tables = ui::tablas;

std::vector<Value> record(const Structure& s) {
    std::vector<Value> r;
    for (const Field& f : s) r.push_back(blank_value(f));
    return r;
}

TEST(KeyExpression, KeysOfTheWorkTables) {
    Structure vales = tables::vales();
    auto v = record(vales);
    v[0] = 1234.0;
    Structure prod = tables::productos();
    auto p = record(prod);
    p[0] = fit_text("PT0010001", 9);
    p[1] = fit_text("01", 3);
    p[2] = fit_text(
        "ladrillo \xA4"
        "and\xA3",
        50);  // "ladrillo ñandú" in code page 850
    Structure oper = tables::operario();
    auto o = record(oper);
    o[2] = fit_text("P\x82rez", 40);  // "Pérez"
    Structure proc = tables::procesos();
    auto q = record(proc);
    q[0] = std::string("M");

    struct Case {
        const Structure* s;
        const std::vector<Value>* r;
        std::string_view key;
        std::string expected;
    } cases[] = {
        {&vales, &v, tables::kValesKey, "      1234"},
        {&vales, &v, "N_INTERNO", "      1234"},  // a number alone: Str at its width
        {&vales, &v, "str( n_interno , 6 )", "  1234"},
        {&vales, &v, "Str(N_INTERNO,3)", "***"},  // does not fit
        {&vales, &v, "Str(N_INTERNO,8,2)", " 1234.00"},
        {&prod, &p, tables::kProductosKeyCode,
         "PT0010001"
         "01 "},
        {&prod, &p, tables::kProductosKeyName,
         fit_text("LADRILLO \xA5"
                  "AND\xE9",
                  50) +
             "01 "},
        {&prod, &p, "Substr(CODIGO,6,4)+'-'+L_ACTIVO", "0001-F"},
        {&oper, &o, tables::kOperarioKey, fit_text("P\x90REZ", 40)},
        {&proc, &q, tables::kProcesosKey, "M"},
    };
    for (const Case& c : cases) {
        std::string error;
        auto k = KeyExpression::compile(c.key, *c.s, &error);
        ASSERT_TRUE(k) << c.key << ": " << error;
        EXPECT_EQ(k->evaluate(*c.r), c.expected) << c.key;
    }
}

TEST(KeyExpression, RejectsWhatItCannotKey) {
    Structure prod = tables::productos();
    for (std::string_view bad :
         {"", "CODIGOX", "Upper(CODIGO", "Lower(CODIGO)", "Str(CODIGO,5)", "Upper(L_ACTIVO)",
          "CODIGO CODI_FORM", "CODIGO+", "'abc", "Substr(CODIGO,0,2)", "Str(L_ACTIVO,99999)"}) {
        std::string error;
        EXPECT_FALSE(KeyExpression::compile(bad, prod, &error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

TEST(KeyExpression, StrRoundsAndNeverShowsMinusZero) {
    EXPECT_EQ(str_number(2.5, 5, 0), "    3");
    EXPECT_EQ(str_number(-0.2, 4, 0), "   0");
    EXPECT_EQ(str_number(-12, 4, 0), " -12");
    EXPECT_EQ(str_number(1e300, 10, 0), "**********");
}

}  // namespace
}  // namespace rt::wt
