#include "runtime/screen/terminal_frame.h"

#include <algorithm>

#include "runtime/common/codepage.h"

namespace rt {
namespace {

// Colour numbers of the screen (blue is 1, red 4) -> ANSI colour order (red 1, blue 4).
constexpr int kAnsiOrder[8] = {0, 4, 2, 6, 1, 5, 3, 7};

// A run of unchanged cells this short is cheaper to write again than to jump over.
constexpr int kMaxRewrite = 3;

void append_number(std::string& out, int n) {
    out += std::to_string(n);
}

// Moves the terminal's cursor to a cell (0-based; the terminal counts from 1).
void append_position(std::string& out, int row, int col) {
    out += "\x1b[";
    append_number(out, row + 1);
    out += ';';
    append_number(out, col + 1);
    out += 'H';
}

void append_cell(std::string& out, const Cell& c) {
    cp::append_utf8(out, cp::oem_to_unicode(c.ch));
}

}  // namespace

int sgr_foreground(Attr a) {
    int fg = a & 15;
    return (fg < 8 ? 30 : 90) + kAnsiOrder[fg & 7];
}

int sgr_background(Attr a) {
    int bg = a >> 4;
    return (bg < 8 ? 40 : 100) + kAnsiOrder[bg & 7];
}

void FrameComposer::invalidate() {
    shown_.reset();
    row_ = col_ = attr_ = -1;
    shape_ = visible_ = -1;
}

void FrameComposer::set_attr(Attr attr, std::string& out) {
    if (attr_ == attr) return;
    out += "\x1b[";
    bool fg_changes = attr_ < 0 || ((attr_ ^ attr) & 0x0F);
    bool bg_changes = attr_ < 0 || ((attr_ ^ attr) & 0xF0);
    if (fg_changes) append_number(out, sgr_foreground(attr));
    if (fg_changes && bg_changes) out += ';';
    if (bg_changes) append_number(out, sgr_background(attr));
    out += 'm';
    attr_ = attr;
}

// Pre: the cells between the terminal's cursor and (row, col) are unchanged.
void FrameComposer::move_to(const Grid& grid, int row, int col, std::string& out) {
    if (row_ == row && col_ == col) return;
    if (row_ == row && col_ >= 0 && col > col_) {
        int gap = col - col_;
        const auto& line = grid[row];
        bool rewrite = gap <= kMaxRewrite &&
                       std::all_of(line.begin() + col_, line.begin() + col, [&](const Cell& c) {
                           return c.attr == attr_ && c.ch >= 0x20 && c.ch < 0x7F;
                       });
        if (rewrite) {
            for (int c = col_; c < col; ++c) out += static_cast<char>(line[c].ch);
        } else {
            out += "\x1b[";
            if (gap > 1) append_number(out, gap);
            out += 'C';
        }
    } else {
        append_position(out, row, col);
    }
    row_ = row;
    col_ = col;
}

void FrameComposer::show_cursor(const CursorState& cursor, std::string& out) {
    if (cursor.shape == 0) {
        if (visible_ != 0) out += "\x1b[?25l";
        visible_ = 0;
        return;
    }
    int shape = cursor.shape == 3 ? 3 : 1;
    if (shape_ != shape) out += shape == 3 ? "\x1b[2 q" : "\x1b[4 q";
    shape_ = shape;
    // The cursor may stand one past the last column; the terminal shows it on the last.
    int row = std::clamp(cursor.row, 0, kRows - 1);
    int col = std::clamp(cursor.col, 0, kCols - 1);
    if (row_ != row || col_ != col) {
        append_position(out, row, col);
        row_ = row;
        col_ = col;
    }
    if (visible_ != 1) out += "\x1b[?25h";
    visible_ = 1;
}

void FrameComposer::compose(const Grid& grid, const CursorState& cursor, std::string& out) {
    if (!shown_) {
        out += "\x1b[0m\x1b[2J";
        attr_ = -1;
        row_ = col_ = -1;
    }
    bool hid_cursor = false;
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kCols; ++c) {
            const Cell& cell = grid[r][c];
            if (shown_ && (*shown_)[r][c] == cell) continue;
            if (!hid_cursor && visible_ != 0) {  // no cursor flicker across the changes
                out += "\x1b[?25l";
                visible_ = 0;
            }
            hid_cursor = true;
            move_to(grid, r, c, out);
            set_attr(cell.attr, out);
            append_cell(out, cell);
            col_ = c + 1;
            if (col_ >= kCols) row_ = col_ = -1;  // no autowrap: where it stays is unsure
        }
    }
    shown_ = grid;
    show_cursor(cursor, out);
}

}  // namespace rt
