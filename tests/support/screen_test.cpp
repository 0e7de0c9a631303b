#include "support/screen_test.h"

#include "runtime/common/codepage.h"

namespace testing_support {

ScreenTest::ScreenTest() {
    previous_ = rt::install_console(&console);
}

ScreenTest::~ScreenTest() {
    rt::install_console(previous_);
}

std::string grid_row_text(const rt::Grid& grid, int row, int col, int width) {
    std::string bytes;
    for (int c = col; c < col + width && c < rt::kCols; ++c)
        bytes += static_cast<char>(grid[row][c].ch);
    return cp::oem_to_utf8(cp::OemView::cp850(bytes));
}

std::string attr_text(rt::Attr a) {
    return rt::colour_slot_text(a);
}

std::string ScreenTest::row_text(int row) const {
    return grid_row_text(console.grid(), row);
}

std::string ScreenTest::row_text(int row, int col, int width) const {
    return grid_row_text(console.grid(), row, col, width);
}

std::string ScreenTest::colour_at(int row, int col) const {
    return attr_text(console.cell(row, col).attr);
}

std::string ScreenTest::shown_row(int row, std::size_t snapshot_from_end) const {
    const auto& shots = term.snapshots();
    if (snapshot_from_end >= shots.size()) return {};
    return grid_row_text(shots[shots.size() - 1 - snapshot_from_end].grid, row);
}

std::string ScreenTest::screen_dump() const {
    std::string out;
    for (int r = 0; r < rt::kRows; ++r) out += row_text(r) + "\n";
    return out;
}

}  // namespace testing_support
