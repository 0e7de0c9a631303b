// The SQL functions our extension gives the store, called through the real driver.
#include <gtest/gtest.h>

#include "support/offline_store.h"

namespace testing_support {
using namespace rt;
namespace {

using AccessFunctions = StoreTest;

// Value of `expression`, or "<error>" when the statement fails.
std::string value_of(TODBC& db, const std::string& expression) {
    db.SetSQL("select " + expression + " as v");
    if (!db.Open()) return "<error>";
    return db.FieldValue("v");
}

TEST_F(AccessFunctions, BehaveLikeTheDesktopDatabaseOnSingleByteText) {
    const std::pair<std::string, std::string> cases[] = {
        {"left('A00010001',1)", "A"},
        {"left('abc',0)", ""},
        {"left('abc',10)", "abc"},
        {"left('\xD1"
         "and\xFA',3)",
         "\xD1"
         "an"},  // bytes, not UTF-8 characters
        {"left('abc',-1)", "<error>"},
        {"left(null,2) is null", "1"},
        {"right('abcdef',2)", "ef"},
        {"right('ab',5)", "ab"},
        {"mid('001G01',4,3)", "G01"},
        {"mid('001   ',4,3)=space(03)", "1"},
        {"mid('abc',2)", "bc"},
        {"mid('abc',5,1)", ""},
        {"mid('abc',0,1)", "<error>"},
        {"mid('\xE9\xE9"
         "x',2,2)",
         "\xE9"
         "x"},
        {"mid('A00010000',06,04)", "0000"},
        {"len('\xD1\xD1 ')", "3"},
        {"len(trim(mid('   G01',1,3)))>=01", "0"},
        {"len(trim(mid('01 G01',1,3)))>=01", "1"},
        {"len(12.5)", "4"},
        {"'[' || space(03) || ']'", "[   ]"},
        {"space(0)", ""},
        {"space(-1)", "<error>"},
        {"'[' || trim('  a b  ') || ']'", "[a b]"},
        // LIKE: "%" and "_", case ignored for Windows-1252 letters too.
        {"'LADRILLO REFRACTARIO' like 'LAD%'", "1"},
        {"'ladrillo' like 'LAD%'", "1"},
        {"'\xF1"
         "and\xFA' like '\xD1"
         "AND\xDA'",
         "1"},
        {"'\xD1"
         "A' like '_A'",
         "1"},
        {"'ABC' like '%B%'", "1"},
        {"'ABC' like '%D%'", "0"},
        {"'A%C' like 'A\\%%' escape '\\'", "1"},
        {"'ABC' like 'A\\%%' escape '\\'", "0"},
        {"'' like '%'", "1"},
    };
    TODBC db(connection());
    for (const auto& [expression, expected] : cases) {
        EXPECT_EQ(value_of(db, expression), expected) << expression;
    }
}

}  // namespace
}  // namespace testing_support
