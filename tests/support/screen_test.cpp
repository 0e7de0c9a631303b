#include "support/screen_test.h"

#include <stdexcept>

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

namespace {

std::string without_trailing_blanks(std::string line) {
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

const rt::Grid& snapshot(const rt::VirtualBackend& term, std::size_t from_end) {
    const auto& shots = term.snapshots();
    if (from_end >= shots.size()) throw std::out_of_range("no such snapshot");
    return shots[shots.size() - 1 - from_end].grid;
}

}  // namespace

std::string picture(std::string_view text, int rows) {
    if (!text.empty() && text.front() == '\n') text.remove_prefix(1);
    std::string out;
    int count = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        out += without_trailing_blanks(std::string(text.substr(0, end))) + "\n";
        ++count;
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    for (; count < rows; ++count) out += "\n";
    return out;
}

std::string grid_picture(const rt::Grid& grid) {
    std::string out;
    for (int r = 0; r < rt::kRows; ++r)
        out += without_trailing_blanks(grid_row_text(grid, r)) + "\n";
    return out;
}

std::string colour_picture(const rt::Grid& grid, const std::map<std::string, char>& legend, int top,
                           int left, int bottom, int right) {
    std::string out;
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) {
            const auto found = legend.find(attr_text(grid[r][c].attr));
            out += found == legend.end() ? '?' : found->second;
        }
        out += "\n";
    }
    return out;
}

std::string ScreenTest::screen_text() const {
    return grid_picture(console.grid());
}

std::string ScreenTest::shown_screen(std::size_t snapshot_from_end) const {
    return grid_picture(snapshot(term, snapshot_from_end));
}

std::string ScreenTest::shown_colours(const std::map<std::string, char>& legend, int top, int left,
                                      int bottom, int right, std::size_t snapshot_from_end) const {
    return colour_picture(snapshot(term, snapshot_from_end), legend, top, left, bottom, right);
}

std::vector<std::string> ScreenTest::shown_list(int top, int bottom, int left, int width,
                                                std::size_t snapshot_from_end,
                                                std::string_view highlight) const {
    const rt::Grid& grid = snapshot(term, snapshot_from_end);
    std::vector<std::string> out;
    for (int r = top; r <= bottom; ++r) {
        std::string row = without_trailing_blanks(grid_row_text(grid, r, left, width));
        if (row.empty()) continue;
        if (!highlight.empty() && attr_text(grid[r][left].attr) == highlight) row = ">" + row;
        out.push_back(std::move(row));
    }
    return out;
}

std::vector<int> ScreenTest::typed_keys() {
    std::vector<int> out;
    while (int k = console.inkey()) out.push_back(k);
    return out;
}

std::string ScreenTest::screen_dump() const {
    std::string out;
    for (int r = 0; r < rt::kRows; ++r) out += row_text(r) + "\n";
    return out;
}

}  // namespace testing_support
