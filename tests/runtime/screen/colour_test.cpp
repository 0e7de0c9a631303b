#include <gtest/gtest.h>

#include "runtime/screen/colour.h"

namespace {

using rt::colour_slot_text;
using rt::ColourSetting;

struct SettingCase {
    const char* setting;
    const char* standard;
    const char* enhanced;
    const char* border;
    const char* background;
    const char* unselected;
};

TEST(ColourSetting, SlotGrammarAndDefaults) {
    const SettingCase cases[] = {
        {"+g/n,+w/bg", "+G/N", "+W/BG", "N/N", "N/N", "+W/BG"},
        {"w/b,+w/r,,,+w/b", "W/B", "+W/R", "N/N", "N/N", "+W/B"},
        {"+g/+n", "+G/N", "N/W", "N/N", "N/N", "N/W"},
        {"15/5", "+W/RB", "N/W", "N/N", "N/N", "N/W"},
        {"GR/BG", "GR/BG", "N/W", "N/N", "N/N", "N/W"},
        {"w*/b", "W/*B", "N/W", "N/N", "N/N", "N/W"},
        {"", "W/N", "N/W", "N/N", "N/N", "N/W"},
        {"W+/R,W+/B", "+W/R", "+W/B", "N/N", "N/N", "+W/B"},
    };
    for (const auto& c : cases) {
        ColourSetting s = ColourSetting{}.with("").with(c.setting);
        SCOPED_TRACE(c.setting);
        EXPECT_EQ(colour_slot_text(s.slot[0]), c.standard);
        EXPECT_EQ(colour_slot_text(s.slot[1]), c.enhanced);
        EXPECT_EQ(colour_slot_text(s.slot[2]), c.border);
        EXPECT_EQ(colour_slot_text(s.slot[3]), c.background);
        EXPECT_EQ(colour_slot_text(s.slot[4]), c.unselected);
    }
}

TEST(ColourSetting, NumbersAndLettersGiveTheSameAttribute) {
    EXPECT_EQ(rt::parse_colour_slot("15/5"), rt::parse_colour_slot("+w/rb"));
    EXPECT_EQ(rt::parse_colour_slot("15/5"), rt::parse_colour_slot("+W/BR"));
    EXPECT_EQ(rt::parse_colour_slot("+gr/r"), rt::make_attr(14, 4));
    EXPECT_EQ(rt::parse_colour_slot("n/w"), rt::make_attr(0, 7));
}

TEST(ColourSetting, TextWritesAllFiveSlotsAndReadsBack) {
    ColourSetting s = ColourSetting{}.with("w/b,+w/r,,,+w/b");
    EXPECT_EQ(s.text(), "W/B,+W/R,N/N,N/N,+W/B");
    EXPECT_EQ(ColourSetting{}.with(s.text()).slot, s.slot);
}

TEST(ColourSetting, BorderAndBackgroundKeptWhenNotNamed) {
    ColourSetting s = ColourSetting{}.with("w/b,r/w,g/n,bg/n,+w/b").with("+g/n,+w/g");
    EXPECT_EQ(s.text(), "+G/N,+W/G,G/N,BG/N,+W/G");
}

}  // namespace
