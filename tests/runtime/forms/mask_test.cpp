#include <gtest/gtest.h>

#include "runtime/common/codepage.h"
#include "runtime/forms/mask.h"
#include "support/oem_compare.h"

namespace {

using rt::Fecha;
using rt::format_with_mask;
using rt::Picture;
using rt::Value;

TEST(MaskSpec, SplitsFunctionsFromTheTemplate) {
    struct Case {
        const char* mask;
        const char* functions;
        const char* layout;
    } cases[] = {
        {"@!", "!", ""},    {"@E 999,999.99", "E", "999,999.99"},
        {"@e 9", "E", "9"}, {"99:99", "", "99:99"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        rt::MaskSpec spec = rt::parse_mask(c.mask);
        EXPECT_EQ(spec.functions, c.functions) << c.mask;
        EXPECT_EQ(spec.layout, c.layout) << c.mask;
    }
}

TEST(FormatWithMask, NumbersAsTheScreensAndVouchersShowThem) {
    struct Case {
        double value;
        const char* mask;
        const char* shown;
    } cases[] = {
        {1234.5, "@E 9,999,999.99", "    1.234,50"},
        {1234.5, "@E 999,999.99", "  1.234,50"},
        {1234567.891, "@E 999,999,999.99", "  1.234.567,89"},
        {0, "@E 999,999,999.99", "          0,00"},
        {0.5, "@E 9,999,999.99", "        0,50"},
        {-1234.5, "@E 9,999,999.99", "   -1.234,50"},
        {-5, "999", " -5"},
        {150.50, "@E 9,999,999", "      151"},
        {1.005, "999.99", "  1.01"},
        {123, "99999999", "     123"},
        {7, "9", "7"},
        {12, "9", "*"},
        {1000, "999", "***"},
        {-100, "999", "***"},
        {42, "999999", "    42"},
        {1234.5, "9,999,999.99", "    1,234.50"},
        {12345, "", "     12345"},
        {2.5, "", "      2.50"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(format_with_mask(c.value, c.mask), c.shown) << c.value << " " << c.mask;
    }
}

TEST(FormatWithMask, TextsDatesAndLogicals) {
    EXPECT_EQ(format_with_mask(("abc "_oem + "ñ   "_oem).str(), "@!"), "ABC " + "Ñ"_oem + "   ");
    EXPECT_EQ(format_with_mask(std::string("0930 "), "99:99"), "09:0 ");
    EXPECT_EQ(format_with_mask(std::string("09:30"), "99:99"), "09:30");
    EXPECT_EQ(format_with_mask(std::string("x"), "!!!"), "X  ");
    EXPECT_EQ(format_with_mask(*Fecha::from_ymd(2026, 12, 7), ""), "07/12/2026");
    EXPECT_EQ(format_with_mask(Fecha(), ""), "  /  /    ");
    EXPECT_EQ(format_with_mask(true, ""), "S");
}

TEST(Picture, ReadsBuffersBackAsValuesOfTheirType) {
    struct Case {
        Value sample;
        const char* mask;
        const char* buffer;
        Value expected;
    } cases[] = {
        {0.0, "@E 9,999,999.99", "    1.234,50", 1234.5},
        {0.0, "@E 9,999,999.99", "1 234    ,5 ", 1234.5},  // typed from the left
        {0.0, "99999999", "4       ", 4.0},
        {0.0, "999", "-5 ", -5.0},
        {0.0, "999", "   ", 0.0},
        {std::string("  :  "), "99:99", "09:30", std::string("09:30")},
        {Fecha(), "", "07/12/2026", *Fecha::from_ymd(2026, 12, 7)},
        {Fecha(), "", "07/12/26  ", *Fecha::from_ymd(2026, 12, 7)},
        {Fecha(), "", "  /  /    ", Fecha()},
        {false, "", "S", true},
    };
    for (const Case& c : cases) {
        std::optional<Value> v = Picture(c.mask, c.sample).read(c.buffer, 1960);
        ASSERT_TRUE(v.has_value()) << c.buffer;
        EXPECT_EQ(*v, c.expected) << c.buffer;
    }
}

TEST(Picture, ADateBufferThatIsNotADateReadsAsNothing) {
    Picture date("", Fecha());
    for (const char* buffer : {"31/02/2026", "12/  /2026", "00/00/0000", "1 /13/2026"}) {
        EXPECT_FALSE(date.read(buffer, 1960).has_value()) << buffer;
    }
}

TEST(Picture, PositionsAcceptWhatTheirTemplateCharacterAllows) {
    Picture hora("99:99", std::string("  :  "));
    EXPECT_EQ(hora.width(), 5);
    EXPECT_FALSE(hora.editable(2));
    EXPECT_EQ(hora.next_editable(1), 3);
    EXPECT_EQ(hora.accept(0, '7'), '7');
    EXPECT_FALSE(hora.accept(0, 'a'));
    EXPECT_FALSE(hora.accept(0, '-'));

    Picture upper("@!", std::string(9, ' '));
    EXPECT_EQ(upper.width(), 9);
    EXPECT_EQ(upper.accept(3, 'q'), 'Q');
    EXPECT_EQ(upper.accept(3, static_cast<unsigned char>("á"_oem[0])), "Á"_oem[0]);
    EXPECT_EQ(upper.accept(3, '-'), '-');

    Picture number("@E 9,999,999.99", 0.0);
    EXPECT_EQ(number.width(), 12);
    EXPECT_EQ(number.first_decimal(), 10);
    EXPECT_FALSE(number.editable(1));
    EXPECT_EQ(number.accept(0, '-'), '-');
    EXPECT_FALSE(number.accept(0, 'x'));

    Picture logical("", false);
    EXPECT_EQ(logical.accept(0, 'y'), 'S');
    EXPECT_EQ(logical.accept(0, 'n'), 'N');
    EXPECT_FALSE(logical.accept(0, 'x'));
}

}  // namespace
