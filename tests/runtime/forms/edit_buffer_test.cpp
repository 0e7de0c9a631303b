#include <gtest/gtest.h>

#include <vector>

#include "runtime/forms/edit_buffer.h"
#include "runtime/screen/keys.h"

namespace {

using namespace rt::key;
using rt::EditBuffer;
using rt::Fecha;
using rt::Value;

constexpr int kIns = -1000;  // the form's key: here it switches the test's insert flag

struct Case {
    const char* what;
    const char* mask;
    Value start;
    std::vector<int> keys;
    const char* text;  // the buffer afterwards
    int cursor;
    Value value;
};

std::vector<int> typed(std::string_view s) {
    return {s.begin(), s.end()};
}

std::vector<int> operator+(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(EditBuffer, KeysOfTheFieldTable) {
    const std::string blank9(9, ' ');
    const Case cases[] = {
        {"first digit replaces a number", "99999999", 123.0, typed("4"), "4       ", 1, 4.0},
        {"End keeps the number", "99999999", 123.0, std::vector<int>{kEnd} + typed("4"), "     124",
         8, 124.0},
        {"Home after moving still replaces", "99999999", 123.0,
         std::vector<int>{kRight, kHome} + typed("45"), "45      ", 2, 45.0},
        {"colon skipped", "99:99", std::string("  :  "), typed("0930"), "09:30", 5,
         std::string("09:30")},
        {"letters refused under 99:99", "99:99", std::string("  :  "), typed("a1"), "1 :  ", 1,
         std::string("1 :  ")},
        {"@! upper-cases", "@!", blank9, typed("abc"), "ABC      ", 3, std::string("ABC      ")},
        {"decimal key moves to the decimals", "@E 9,999,999.99", 0.0, typed("1234,5"),
         "    1.234,5 ", 11, 1234.5},
        {"point also moves to the decimals", "@E 9,999,999.99", 0.0, typed("12.75"), "       12,75",
         12, 12.75},
        {"minus makes a number negative", "999", 0.0, typed("-5"), "-5 ", 2, -5.0},
        {"the sign follows the digits to the right", "@E 9,999,999.99", 0.0, typed("-1234,5"),
         "   -1.234,5 ", 11, -1234.5},
        {"insert mode", "", std::string("abcdef"),
         std::vector<int>{kRight, kRight, kIns} + typed("X"), "abXcde", 3, std::string("abXcde")},
        {"overstrike mode", "", std::string("abcdef"),
         std::vector<int>{kRight, kRight} + typed("X"), "abXdef", 3, std::string("abXdef")},
        {"backspace",
         "",
         std::string("abcdef"),
         {kRight, kRight, kBackspace},
         "acdef ",
         1,
         std::string("acdef ")},
        {"backspace on the first position",
         "",
         std::string("abc"),
         {kBackspace},
         "abc",
         0,
         std::string("abc")},
        {"del pulls across fixed positions",
         "99:99",
         std::string("09:30"),
         {kDel},
         "93:0 ",
         0,
         std::string("93:0 ")},
        {"ctrl+y",
         "",
         std::string("abc def"),
         {kRight, kRight, kCtrlY},
         "ab     ",
         2,
         std::string("ab     ")},
        {"ctrl+t",
         "",
         std::string("abc def  "),
         {kCtrlT},
         "def      ",
         0,
         std::string("def      ")},
        {"ctrl+backspace",
         "",
         std::string("abc def  "),
         {kEnd, kCtrlBackspace},
         "abc      ",
         4,
         std::string("abc      ")},
        {"words right",
         "",
         std::string("abc def"),
         {kCtrlRight},
         "abc def",
         4,
         std::string("abc def")},
        {"words left",
         "",
         std::string("abc def"),
         {kCtrlRight, kCtrlRight, kCtrlLeft},
         "abc def",
         4,
         std::string("abc def")},
        {"end after the last character",
         "",
         std::string("ab   "),
         {kEnd},
         "ab   ",
         2,
         std::string("ab   ")},
        {"left and right stop at the ends",
         "!!!",
         std::string("abc"),
         {kLeft, kRight, kRight, kRight, kRight},
         "ABC",
         2,
         std::string("ABC")},
        {"typed full refuses more", "!", std::string(" "), typed("ab"), "A", 1, std::string("A")},
        {"date typed over the slashes", "", Fecha(), typed("07122026"), "07/12/2026", 10,
         *Fecha::from_ymd(2026, 12, 7)},
        {"date refuses letters", "", Fecha(), typed("x"), "  /  /    ", 0, Fecha()},
        {"logical", "", true, typed("n"), "N", 1, false},
        {"empty text has no position", "", std::string(), typed("abc"), "", 0, std::string()},
    };
    for (const Case& c : cases) {
        EditBuffer b(c.mask, c.start);
        bool insert = false;
        for (int k : c.keys) {
            if (k == kIns) {
                insert = !insert;
            } else {
                b.apply_key(k, insert);
            }
        }
        EXPECT_EQ(b.text(), c.text) << c.what;
        EXPECT_EQ(b.cursor(), c.cursor) << c.what;
        std::optional<Value> v = b.value(1960);
        ASSERT_TRUE(v.has_value()) << c.what;
        EXPECT_EQ(*v, c.value) << c.what;
    }
}

TEST(EditBuffer, ReportsWhenTheFieldIsTypedFull) {
    EditBuffer b("999", std::string("   "));
    EXPECT_EQ(b.apply_key('1', false), EditBuffer::Typed::kAccepted);
    EXPECT_EQ(b.apply_key('2', false), EditBuffer::Typed::kAccepted);
    EXPECT_EQ(b.apply_key('3', false), EditBuffer::Typed::kFull);
    EXPECT_EQ(b.apply_key('4', false), EditBuffer::Typed::kRefused);
    EXPECT_EQ(b.text(), "123");
    EXPECT_EQ(b.apply_key(kBackspace, false), EditBuffer::Typed::kAccepted);
    EXPECT_EQ(b.text(), "12 ");
}

TEST(EditBuffer, ATextLongerThanItsMaskKeepsItsTail) {
    EditBuffer b("!!!", std::string("abcdef"));
    b.apply_key('x', false);
    EXPECT_EQ(std::get<std::string>(*b.value(1960)), "XBCdef");
}

TEST(EditBuffer, AnInvalidDateHasNoValue) {
    EditBuffer b("", Fecha());
    for (int k : typed("31022026")) b.apply_key(k, false);
    EXPECT_EQ(b.text(), "31/02/2026");
    EXPECT_FALSE(b.value(1960).has_value());
}

}  // namespace
