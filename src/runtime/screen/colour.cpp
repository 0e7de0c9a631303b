#include "runtime/screen/colour.h"

#include <cctype>
#include <string>
#include <vector>

namespace rt {
namespace {

// One side of a slot: letters N B G R W (added up) or a number 0-15.
int parse_side(std::string_view side) {
    int value = 0;
    bool digits = false;
    int number = 0;
    for (char ch : side) {
        switch (std::toupper(static_cast<unsigned char>(ch))) {
            case 'B':
                value |= 1;
                break;
            case 'G':
                value |= 2;
                break;
            case 'R':
                value |= 4;
                break;
            case 'W':
                value |= 7;
                break;
            case 'N':
                break;
            default:
                if (std::isdigit(static_cast<unsigned char>(ch))) {
                    digits = true;
                    number = number * 10 + (ch - '0');
                }
        }
    }
    return digits ? (number & 15) : value;
}

const char* colour_letters(int c) {
    static const char* const names[8] = {"N", "B", "G", "BG", "R", "RB", "GR", "W"};
    return names[c & 7];
}

std::vector<std::string_view> split_slots(std::string_view text) {
    std::vector<std::string_view> slots;
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = text.find(',', start);
        slots.push_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return slots;
}

}  // namespace

Attr parse_colour_slot(std::string_view slot) {
    bool bright_fg = slot.find('+') != std::string_view::npos;
    bool bright_bg = slot.find('*') != std::string_view::npos;
    std::size_t slash = slot.find('/');
    int fg = parse_side(slot.substr(0, slash));
    int bg = slash == std::string_view::npos ? 0 : parse_side(slot.substr(slash + 1));
    if (bright_fg) fg |= 8;
    if (bright_bg) bg |= 8;
    return make_attr(fg, bg);
}

std::string colour_slot_text(Attr a) {
    int fg = a & 15, bg = a >> 4;
    std::string text = (fg & 8) ? "+" : "";
    text += colour_letters(fg);
    text += "/";
    if (bg & 8) text += "*";
    text += colour_letters(bg);
    return text;
}

ColourSetting ColourSetting::with(std::string_view text) const {
    ColourSetting next = *this;
    if (text.find_first_not_of(' ') == std::string_view::npos) {
        next.slot[kStandard] = parse_colour_slot("W/N");
        next.slot[kEnhanced] = parse_colour_slot("N/W");
        next.slot[kUnselected] = parse_colour_slot("N/W");
        return next;
    }
    std::vector<std::string_view> slots = split_slots(text);
    for (std::size_t i = 0; i < slots.size() && i < next.slot.size(); ++i) {
        next.slot[i] = parse_colour_slot(slots[i]);
    }
    if (slots.size() < 4) next.slot[kUnselected] = next.slot[kEnhanced];
    return next;
}

std::string ColourSetting::text() const {
    std::string out;
    for (std::size_t i = 0; i < slot.size(); ++i) {
        if (i) out += ",";
        out += colour_slot_text(slot[i]);
    }
    return out;
}

}  // namespace rt
