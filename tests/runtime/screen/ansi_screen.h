#pragma once
// A small terminal for tests: applies the bytes the terminal backend writes (cursor moves,
// colours, UTF-8 text) to a 36 x 100 grid, so a test can check that what the terminal would
// show equals what the program drew, and count how many cells a frame wrote.
#include <string_view>

#include "runtime/screen/backend.h"

namespace rt::test {

class AnsiScreen {
  public:
    void apply(std::string_view bytes);

    const Grid& grid() const { return grid_; }
    int cells_written() const { return cells_written_; }
    void reset_count() { cells_written_ = 0; }
    int row() const { return row_; }
    int col() const { return col_; }
    bool cursor_visible() const { return visible_; }
    int cursor_style() const { return style_; }  // the number of the last "ESC [ n SP q"
    // Set when a sequence the backend is not supposed to send was met.
    bool unknown_sequence() const { return unknown_; }

  private:
    void csi(std::string_view params, char final, char intermediate);

    Grid grid_{};
    int row_ = 0, col_ = 0;
    Attr attr_ = 0x07;
    bool visible_ = true;
    int style_ = 0;
    int cells_written_ = 0;
    bool unknown_ = false;
};

}  // namespace rt::test
