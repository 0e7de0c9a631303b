#include "runtime/lists/alert.h"

#include <algorithm>

#include "runtime/common/codepage.h"
#include "runtime/lists/oem_letters.h"
#include "runtime/screen/console.h"

namespace rt {
namespace {

constexpr std::string_view kTextColour = "W+/R";
constexpr std::string_view kButtonColour = "W+/B";
constexpr int kMargin = 2;  // the frame and one blank on each side of the text
constexpr int kMaxInner = kCols - 2 * kMargin;
constexpr int kMaxLines = kRows - 4;  // frame, a blank row and the buttons take four rows

struct Layout {
    int top = 0, left = 0, bottom = 0, right = 0;
    std::string_view box_colour = kTextColour, text_colour = kTextColour;
    std::vector<std::string> lines;   // CP850, cut to the box
    std::vector<std::string> labels;  // CP850, as shown: the text between blanks
    std::vector<int> label_cols;
    int text_row = 0, button_row = 0;
};

// Splits at ";" (and at line ends, which server error texts may carry); tabs and carriage
// returns would show as glyphs, so they become blanks.
std::vector<std::string> screen_lines(cp::OemView text) {
    std::vector<std::string> lines(1);
    for (char ch : text) {
        if (ch == ';' || ch == '\n') {
            lines.emplace_back();
        } else {
            lines.back() += (ch == '\t' || ch == '\r') ? ' ' : ch;
        }
    }
    // A text that ends with ";" (a list built item by item) has no empty last line.
    if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
    if (static_cast<int>(lines.size()) > kMaxLines) lines.resize(kMaxLines);
    for (auto& line : lines) {
        if (static_cast<int>(line.size()) > kMaxInner) line.resize(kMaxInner);
    }
    return lines;
}

// Buttons are shown as " text " with a gap between them; when the row would not fit on
// the screen the gap shrinks to one column and the texts are cut to an equal share.
std::vector<std::string> button_labels(const std::vector<cp::OemView>& buttons, int& gap) {
    std::vector<std::string> labels;
    for (const auto& b : buttons) labels.push_back(std::string(" ").append(b.view()).append(" "));
    auto row_width = [&] {
        int width = gap * (static_cast<int>(labels.size()) - 1);
        for (const auto& l : labels) width += static_cast<int>(l.size());
        return width;
    };
    if (row_width() > kMaxInner) {
        gap = 1;
        const int count = static_cast<int>(labels.size());
        const int share = std::max(3, (kMaxInner - (count - 1)) / count);
        for (auto& l : labels) {
            if (static_cast<int>(l.size()) > share) l = l.substr(0, share - 1) + " ";
        }
    }
    return labels;
}

Layout lay_out(cp::OemView text, const std::vector<cp::OemView>& buttons) {
    Layout layout;
    layout.lines = screen_lines(text);
    int gap = 3;
    layout.labels = button_labels(buttons, gap);

    int buttons_width = gap * (static_cast<int>(layout.labels.size()) - 1);
    for (const auto& l : layout.labels) buttons_width += static_cast<int>(l.size());
    int inner = std::min(kMaxInner, buttons_width);
    for (const auto& line : layout.lines) inner = std::max(inner, static_cast<int>(line.size()));

    const int width = inner + 2 * kMargin;
    const int height = static_cast<int>(layout.lines.size()) + 4;
    layout.top = (kRows - height) / 2;
    layout.left = (kCols - width) / 2;
    layout.bottom = layout.top + height - 1;
    layout.right = layout.left + width - 1;
    layout.text_row = layout.top + 1;
    layout.button_row = layout.bottom - 1;

    // Buttons past the right edge (only with dozens of them) stay choosable by key.
    int col = layout.left + kMargin + std::max(0, (inner - buttons_width) / 2);
    for (const auto& l : layout.labels) {
        layout.label_cols.push_back(col);
        col += static_cast<int>(l.size()) + gap;
    }
    return layout;
}

// The notice's box: one row of text with the frame around it, one column of margin on the
// left and two on the right, centred on the 99 columns left of the last.
Layout lay_out_notice(cp::OemView text, const NoticeLook& look) {
    Layout layout;
    const cp::Oem shown = cp::Oem(text).trimmed().substr(0, kCols - 2);
    const int len = static_cast<int>(shown.size());
    const int col = (kCols - 1 - len) / 2;
    layout.lines = {shown.str()};
    layout.top = look.row - 1;
    layout.bottom = look.row + 1;
    layout.left = col - 1;
    layout.right = col + len + 1;
    layout.text_row = look.row;
    layout.box_colour = look.box_colour;
    layout.text_colour = look.text_colour;
    return layout;
}

void draw(const Layout& layout, int margin) {
    Console& c = con();
    c.fill_box(layout.top, layout.left, layout.bottom, layout.right, kSingleFrameFilled,
               layout.box_colour);
    const int inner = layout.right - layout.left + 1 - 2 * margin;
    int row = layout.text_row;
    for (const auto& line : layout.lines) {
        int col = layout.left + margin + (inner - static_cast<int>(line.size())) / 2;
        c.write_at(row++, col, cp::OemView::cp850(line), layout.text_colour);
    }
}

void draw_button(const Layout& layout, int index, bool highlighted) {
    const std::string& label = layout.labels[index];
    const int col = layout.label_cols[index];
    const int room = layout.right - kMargin + 1 - col;
    if (room <= 0) return;
    con().write_at(layout.button_row, col, cp::OemView::cp850(label).substr(0, room),
                   highlighted ? kButtonColour : kTextColour);
}

// The first button, from the left, whose text begins with the key's letter; 0 when none.
int button_for_letter(const std::vector<cp::OemView>& buttons, int code) {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const std::string_view oem = buttons[i].view();
        std::size_t first = oem.find_first_not_of(' ');
        if (first != std::string::npos &&
            same_letter(static_cast<unsigned char>(oem[first]), code)) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

// Puts back the covered screen, the cursor and the colour however the wait ends.
class ScreenKeeper {
  public:
    explicit ScreenKeeper(const Layout& layout)
        : region_(con().save_region(layout.top, layout.left, layout.bottom, layout.right)),
          cursor_(con().cursor()),
          colour_(con().set_colour(kTextColour)) {
        con().set_cursor_shape(0);
    }
    ~ScreenKeeper() {
        Console& c = con();
        c.restore_region(region_);
        c.set_colour(colour_);
        c.set_cursor_shape(cursor_.shape);
        c.set_pos(cursor_.row, cursor_.col);
    }
    ScreenKeeper(const ScreenKeeper&) = delete;
    ScreenKeeper& operator=(const ScreenKeeper&) = delete;

  private:
    SavedRegion region_;
    CursorState cursor_;
    std::string colour_;
};

}  // namespace

int alert(cp::OemView text, const std::vector<cp::OemView>& buttons_given) {
    const std::vector<cp::OemView> buttons =
        buttons_given.empty() ? std::vector<cp::OemView>{"Ok"} : buttons_given;
    const Layout layout = lay_out(text, buttons);
    const int count = static_cast<int>(buttons.size());
    ScreenKeeper keeper(layout);

    draw(layout, kMargin);
    for (int i = 0; i < count; ++i) draw_button(layout, i, i == 0);
    int current = 1;
    for (;;) {
        const int code = con().inkey(0);
        int next = current;
        if (code == key::kEnter) return current;
        if (code == key::kEsc) return 0;
        if (code == key::kRight || code == key::kTab) {
            next = current % count + 1;
        } else if (code == key::kLeft || code == key::kShiftTab) {
            next = current == 1 ? count : current - 1;
        } else if (key::is_printable(code)) {
            if (int chosen = button_for_letter(buttons, code)) return chosen;
        }
        if (next != current) {
            draw_button(layout, current - 1, false);
            draw_button(layout, next - 1, true);
            current = next;
        }
    }
}

void notice(cp::OemView text, double seconds, const NoticeLook& look) {
    const Layout layout = lay_out_notice(text, look);
    ScreenKeeper keeper(layout);
    draw(layout, 1);
    con().tone(look.tone_frequency, look.tone_duration);
    con().inkey_fresh(seconds);
}

}  // namespace rt
