#pragma once
// Composes the bytes that bring a terminal from what it shows to a new grid and cursor:
// only changed cells are written, the cursor is moved only where a change is not reached
// by writing, and colours are switched only when the next cell needs another one. Pure: it
// appends to a string and remembers what the terminal shows; the caller writes the bytes.
#include <optional>
#include <string>

#include "runtime/screen/backend.h"

namespace rt {

class FrameComposer {
  public:
    // Appends the bytes for `grid` and `cursor` to `out`.
    void compose(const Grid& grid, const CursorState& cursor, std::string& out);
    // The terminal no longer shows what we sent (cleared, resized): the next frame starts by
    // clearing it and writes every cell.
    void invalidate();

  private:
    void move_to(const Grid& grid, int row, int col, std::string& out);
    void set_attr(Attr attr, std::string& out);
    void show_cursor(const CursorState& cursor, std::string& out);

    std::optional<Grid> shown_;  // what the terminal shows; nullopt = unknown
    int row_ = -1, col_ = -1;    // where the terminal's cursor is; -1 = unknown
    int attr_ = -1;              // colour in force on the terminal; -1 = unknown
    int shape_ = -1;             // cursor shape last asked for (1 or 3); -1 = unknown
    int visible_ = -1;           // cursor shown: 1, hidden: 0, unknown: -1
};

// The SGR numbers of an attribute's colours (30-37/90-97 foreground, 40-47/100-107 back).
int sgr_foreground(Attr a);
int sgr_background(Attr a);

}  // namespace rt
