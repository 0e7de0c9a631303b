#pragma once
// Colour attributes and colour settings ("w/b,+w/r,,,+w/b").
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace rt {

using Attr = std::uint8_t;  // low nibble foreground, high nibble background

constexpr Attr make_attr(int fg, int bg) {
    return static_cast<Attr>((bg & 15) << 4 | (fg & 15));
}

// One slot: "+w/r", "15/5", "gr/bg", "" (black on black).
Attr parse_colour_slot(std::string_view slot);
// The canonical text of an attribute: "+W/R", "N/N", "W/*B" for a bright background.
std::string colour_slot_text(Attr a);

// The five slots of a colour setting.
struct ColourSetting {
    enum Slot { kStandard = 0, kEnhanced, kBorder, kBackground, kUnselected };
    std::array<Attr, 5> slot{};

    Attr standard() const { return slot[kStandard]; }
    Attr enhanced() const { return slot[kEnhanced]; }
    Attr unselected() const { return slot[kUnselected]; }

    // Applies a setting text over this one: slots named replace, border and background keep
    // their value when not named, the unselected slot follows the enhanced one when fewer
    // than four slots are named; an empty text means "W/N,N/W" with unselected N/W.
    ColourSetting with(std::string_view text) const;
    std::string text() const;  // all five slots written out
};

}  // namespace rt
