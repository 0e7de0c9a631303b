#pragma once
// The table browser: the records of a work table one per screen row under a heading, the
// current record highlighted, moving in the table's controlling order. It holds no records
// of its own, only the current row and which rows must be read again; force_stable() reads
// and draws the marked rows and leaves the table on the highlighted record, so the
// operation's key handling reads that record's fields.
//
// Layout: row `top` the heading, row top + 1 the heading separator, rows top + 2 to
// `bottom` the data rows (R of them). A move reads only the rows it brings into view
// (scrolling the others with the region scroll), so it costs O(R) records, never O(table).
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/common/oem.h"
#include "runtime/screen/colour.h"
#include "runtime/worktables/work_table.h"

namespace rt {

class Browser {
  public:
    // The cell's text for the table's current record.
    using CellText = std::function<cp::Oem()>;

    // Made on the work table current for the operation; colour from the setting in force.
    Browser(wt::WorkTable& table, int top, int left, int bottom, int right);

    void add_column(cp::OemView heading, CellText value);
    void set_colour(std::string_view setting);     // standard: cells; enhanced: current
    void set_heading_separator(cp::OemView text);  // "─┬─"
    void set_column_separator(cp::OemView text);   // " │ "

    // --- moves ------------------------------------------------------------------------
    void go_top();
    void go_bottom();
    void up() { move(-1); }
    void down() { move(1); }
    void page_up();
    void page_down();
    void left();
    void right();
    // Every row is read again at the next stabilisation (after the operation changed the
    // table or moved its record pointer itself).
    void refresh_all();
    // Reads and draws the marked rows, the headings when needed, and highlights the
    // current record; the table is left on it. Call before every key wait.
    void force_stable();

    // The shared meaning of a key in every browse: Up, Down, Left, Right, PgUp, PgDn,
    // Ctrl+PgUp (first record), Ctrl+PgDn (last record), 254 (refresh all). Returns whether
    // the key was one of these.
    bool apply_key(int key);

    wt::WorkTable& table() const { return table_; }
    bool stable() const { return stable_; }
    int row_pos() const { return row_; }     // 1 .. data_rows()
    int data_rows() const { return rows_; }  // R
    int col_pos() const { return col_; }     // 0-based
    int first_data_row() const { return top_ + 2; }

  private:
    struct Column {
        std::string heading;
        CellText value;
        int width = 0;
    };

    void move(int n);
    void scroll(int n);  // the data rows' contents move up (n > 0) or down
    void mark(int row);
    void mark_all();
    // Draws the data row `row` from the table's current record (or blank).
    bool draw_row(int row, bool blank);
    void draw_headings();
    bool widen(const std::vector<std::string>& texts);

    wt::WorkTable& table_;
    int top_, left_, bottom_, right_;
    int rows_;
    std::vector<Column> columns_;
    Attr standard_, enhanced_;
    std::string head_sep_, col_sep_;
    int row_ = 1;
    int col_ = 0;
    bool stable_ = false;
    bool headings_drawn_ = false;
    bool all_marked_ = true;
    std::vector<bool> marks_;  // by data row, 1-based
};

}  // namespace rt
