#pragma once
// The text of the memo viewer: lines as the text breaks them, the screen rows they wrap
// into at the line length, and a cursor that moves and edits in those terms. Pure: it
// knows nothing of the screen, so its rules are tested on their own.
//
// Wrapping: a line longer than the line length breaks after its last blank that still
// fits; a word longer than the whole line length is cut at the line length.
#include <string>
#include <string_view>
#include <vector>

namespace rt {

class MemoText {
  public:
    // Tabs become one blank each; lines end at "\r\n", "\n" or a lone "\r".
    MemoText(std::string_view text, int line_length);

    // The text with its lines joined by the line break it used ("\r\n" when it had none).
    std::string text() const;
    bool changed() const { return lines_ != original_; }

    struct Row {
        int line = 0;    // index into lines()
        int start = 0;   // first byte of the line shown on this row
        int length = 0;  // bytes shown
        bool last_of_line = true;
    };
    const std::vector<std::string>& lines() const { return lines_; }
    const std::vector<Row>& rows() const { return rows_; }
    int line_length() const { return length_; }

    // Cursor: the byte `offset` of line `line` (offset may equal the line's length).
    int line() const { return line_; }
    int offset() const { return offset_; }
    int cursor_row() const;
    int cursor_col() const { return offset_ - rows_[static_cast<std::size_t>(cursor_row())].start; }

    void up() { to_row(cursor_row() - 1); }
    void down() { to_row(cursor_row() + 1); }
    void page_up(int rows) { to_row(cursor_row() - rows); }
    void page_down(int rows) { to_row(cursor_row() + rows); }
    void left();
    void right();
    void home();  // start of the screen row
    void end();   // end of the screen row
    void text_top();
    void text_bottom();

    void type(char ch, bool insert);  // overstrike replaces the byte under the cursor
    void tab(int size, bool insert);  // blanks up to the next tab stop
    void enter();                     // breaks the line at the cursor
    void backspace();
    void del();
    void delete_line();

  private:
    void rewrap();
    void to_row(int row);
    void set_cursor(int line, int offset, bool keep_column = false);

    std::vector<std::string> lines_;
    std::vector<std::string> original_;
    std::vector<Row> rows_;
    std::string line_break_ = "\r\n";
    int length_;
    int line_ = 0, offset_ = 0;
    int wanted_col_ = 0;  // the column up and down try to keep
};

}  // namespace rt
