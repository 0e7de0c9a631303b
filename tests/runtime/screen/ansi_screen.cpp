#include "ansi_screen.h"

#include <string>
#include <vector>

#include "runtime/common/codepage.h"

namespace rt::test {
namespace {

std::vector<int> numbers(std::string_view params) {
    std::vector<int> out{0};
    for (char c : params) {
        if (c == ';')
            out.push_back(0);
        else if (c >= '0' && c <= '9')
            out.back() = out.back() * 10 + (c - '0');
    }
    return out;
}

int colour_from_ansi(int n) {
    static constexpr int kScreenOrder[8] = {0, 4, 2, 6, 1, 5, 3, 7};
    return kScreenOrder[n];
}

}  // namespace

void AnsiScreen::csi(std::string_view params, char final, char intermediate) {
    auto n = numbers(params);
    if (intermediate == ' ' && final == 'q') {
        style_ = n[0];
        return;
    }
    if (!params.empty() && (params[0] == '?' || params[0] == '>')) {
        if (params == "?25") visible_ = final == 'h';
        return;  // modes: alternate screen, autowrap, extended keys
    }
    switch (final) {
        case 'H':
            row_ = (n.size() > 0 && n[0] ? n[0] : 1) - 1;
            col_ = (n.size() > 1 && n[1] ? n[1] : 1) - 1;
            return;
        case 'C':
            col_ += n[0] ? n[0] : 1;
            return;
        case 'J':
            if (n[0] == 2) grid_ = Grid{};
            return;
        case 't':
            return;  // title stack
        case 'm':
            for (int v : n) {
                if (v == 0)
                    attr_ = 0x07;
                else if (v >= 30 && v <= 37)
                    attr_ = (attr_ & 0xF0) | colour_from_ansi(v - 30);
                else if (v >= 90 && v <= 97)
                    attr_ = (attr_ & 0xF0) | (8 + colour_from_ansi(v - 90));
                else if (v >= 40 && v <= 47)
                    attr_ = (attr_ & 0x0F) | colour_from_ansi(v - 40) << 4;
                else if (v >= 100 && v <= 107)
                    attr_ = (attr_ & 0x0F) | (8 + colour_from_ansi(v - 100)) << 4;
                else
                    unknown_ = true;
            }
            return;
        default:
            unknown_ = true;
    }
}

void AnsiScreen::apply(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        auto b = static_cast<unsigned char>(s[i]);
        if (b == 0x1B && i + 1 < s.size() && s[i + 1] == '[') {
            std::size_t j = i + 2;
            while (j < s.size() && static_cast<unsigned char>(s[j]) < 0x40 && s[j] != ' ') ++j;
            char intermediate = 0;
            if (j < s.size() && s[j] == ' ') intermediate = s[j++];
            if (j >= s.size()) {
                unknown_ = true;
                return;
            }
            csi(s.substr(i + 2, j - i - 2 - (intermediate ? 1 : 0)), s[j], intermediate);
            i = j + 1;
        } else if (b == 0x1B && i + 1 < s.size() && s[i + 1] == ']') {
            std::size_t end = s.find('\a', i);
            i = end == std::string_view::npos ? s.size() : end + 1;
        } else if (b == '\a') {
            ++i;
        } else if (b < 0x20 || b == 0x7F) {
            unknown_ = true;  // the backend never sends raw control bytes with the grid
            ++i;
        } else {
            char32_t c;
            int n = cp::decode_utf8(s.substr(i), c);
            i += n > 0 ? static_cast<std::size_t>(n) : 1;
            int oem = cp::unicode_to_oem(c);
            if (oem < 0 || n <= 0) unknown_ = true;
            if (row_ >= 0 && row_ < kRows && col_ >= 0 && col_ < kCols) {
                grid_[row_][col_] = {static_cast<std::uint8_t>(oem < 0 ? '?' : oem), attr_};
                ++cells_written_;
            }
            if (col_ < kCols - 1) ++col_;  // no autowrap: the cursor stays on the last column
        }
    }
}

}  // namespace rt::test
