#include "runtime/common/fecha.h"

#include <gtest/gtest.h>

namespace {

using rt::Fecha;

struct ParseCase {
    const char* text;
    const char* shown;  // nullptr: not a date
};

TEST(Fecha, ParsesDayMonthYearAndTheEpochRule) {
    const ParseCase cases[] = {
        {"07/12/2026", "07/12/2026"}, {"7/3/2011", "07/03/2011"},   {"29/02/2024", "29/02/2024"},
        {"31/12/59", "31/12/2059"},  // two digits: 1960-2059
        {"01/01/60", "01/01/1960"},   {"15/06/99", "15/06/1999"},   {"15/06/00", "15/06/2000"},
        {"01/01/0001", "01/01/0001"}, {"31/12/9999", "31/12/9999"}, {"29/02/2023", nullptr},
        {"29/02/1900", nullptr},      {"31/04/2026", nullptr},      {"00/01/2026", nullptr},
        {"01/13/2026", nullptr},      {"01/00/2026", nullptr},      {"01/01/0000", nullptr},
        {"ab/01/2026", nullptr},      {"01-01-2026", nullptr},      {"01/01/2026/1", nullptr},
        {"01/  /2026", nullptr},      {"01/01/20261", nullptr},     {"", "  /  /    "},
        {"  /  /    ", "  /  /    "}, {"          ", "  /  /    "},
    };
    for (const auto& c : cases) {
        auto f = Fecha::parse(c.text);
        if (c.shown == nullptr) {
            EXPECT_FALSE(f.has_value()) << c.text;
        } else {
            ASSERT_TRUE(f.has_value()) << c.text;
            EXPECT_EQ(f->text(), c.shown) << c.text;
        }
    }
}

TEST(Fecha, ServerFormRoundTrips) {
    auto f = Fecha::parse_dtos("20261207");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->text(), "07/12/2026");
    EXPECT_EQ(f->dtos(), "20261207");
    EXPECT_EQ(f->year(), 2026);
    EXPECT_EQ(f->month(), 12);
    EXPECT_EQ(f->day(), 7);
    EXPECT_TRUE(Fecha::parse_dtos("        ")->empty());
    EXPECT_TRUE(Fecha::parse_dtos("")->empty());
    EXPECT_FALSE(Fecha::parse_dtos("20260230"));
    EXPECT_FALSE(Fecha::parse_dtos("2026123"));
    EXPECT_FALSE(Fecha::parse_dtos("2026-1-1"));
    EXPECT_EQ(Fecha().dtos(), "        ");
}

TEST(Fecha, EpochPlacesTwoDigitYears) {
    const int cases[][3] = {{60, 1960, 1960}, {59, 1960, 2059}, {0, 1960, 2000},
                            {99, 1960, 1999}, {5, 1900, 1905},  {49, 1950, 2049}};
    for (const auto& c : cases) EXPECT_EQ(rt::year_from_epoch(c[0], c[1]), c[2]);
    EXPECT_EQ(Fecha::parse("01/01/59", 1900)->year(), 1959);
}

TEST(Fecha, DaysArithmeticAndOrder) {
    auto f = *Fecha::from_ymd(2024, 2, 28);
    EXPECT_EQ(f.plus_days(1).text(), "29/02/2024");
    EXPECT_EQ(f.plus_days(2).text(), "01/03/2024");
    EXPECT_EQ(f.plus_days(-59).text(), "31/12/2023");
    EXPECT_EQ(f.plus_days(366).text(), "28/02/2025");
    EXPECT_LT(f, f.plus_days(1));
    EXPECT_LT(Fecha(), f);  // the empty date sorts first
    EXPECT_TRUE(Fecha().plus_days(5).empty());
    EXPECT_TRUE(Fecha::from_ymd(1, 1, 1)->plus_days(-1).empty());
    EXPECT_EQ(Fecha::from_ymd(1, 1, 1)->serial(), 1);
    // Every day of four centuries comes back through its text form.
    auto day = *Fecha::from_ymd(1900, 1, 1);
    for (int i = 0; i < 146097; ++i, day = day.plus_days(1)) {
        auto back = Fecha::parse(day.text());
        ASSERT_TRUE(back) << day.text();
        ASSERT_EQ(*back, day);
    }
    EXPECT_EQ(day.text(), "01/01/2300");
}

}  // namespace
