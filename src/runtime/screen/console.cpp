#include "runtime/screen/console.h"

#include <algorithm>
#include <array>

namespace rt {
namespace {

Console* g_console = nullptr;

int clamp(int v, int lo, int hi) {
    return std::max(lo, std::min(v, hi));
}

}  // namespace

Console& con() {
    return *g_console;
}

Console* install_console(Console* console) {
    Console* previous = g_console;
    g_console = console;
    return previous;
}

IntVar bind(int& variable) {
    return {[&variable]() -> std::optional<int> { return variable; },
            [&variable](int v) { variable = v; }};
}

Console::Console(Backend& backend) : backend_(backend) {
    colour_ = ColourSetting{}.with("");
    for (auto& row : grid_) row.fill(Cell{' ', colour_.standard()});
}

void Console::set_mode(int, int) {
    // The grid is fixed at 36 x 100; the terminal backend checks the real size.
}

Attr Console::attr_for(std::string_view colour) const {
    if (colour.empty()) return colour_.standard();
    return colour_.with(colour).standard();
}

void Console::clear_screen() {
    for (auto& row : grid_) row.fill(Cell{' ', colour_.standard()});
    cursor_.row = cursor_.col = 0;
}

void Console::put_cell(int row, int col, std::uint8_t ch, Attr attr) {
    if (row < 0 || row >= kRows || col < 0 || col >= kCols) return;
    grid_[row][col] = Cell{ch, attr};
}

void Console::write_at(int row, int col, cp::OemView text, std::string_view colour) {
    const std::string_view oem = text.view();
    Attr attr = attr_for(colour);
    for (std::size_t i = 0; i < oem.size(); ++i) {
        put_cell(row, col + static_cast<int>(i), static_cast<std::uint8_t>(oem[i]), attr);
    }
    set_pos(row, col + static_cast<int>(oem.size()));
}

void Console::write(cp::OemView text, std::string_view colour) {
    write_at(cursor_.row, cursor_.col, text, colour);
}

void Console::fill_box(int top, int left, int bottom, int right, cp::OemView frame,
                       std::string_view colour) {
    top = std::max(top, 0);
    left = std::max(left, 0);
    bottom = std::min(bottom, kRows - 1);
    right = std::min(right, kCols - 1);
    if (top > bottom || left > right) return;
    // Up to nine characters; a shorter frame is completed with its last character.
    std::array<std::uint8_t, 9> f{};
    const std::size_t given = std::min<std::size_t>(frame.size(), 9);
    for (std::size_t i = 0; i < 9; ++i) {
        char c = given == 0 ? ' ' : frame[std::min(i, given - 1)];
        f[i] = static_cast<std::uint8_t>(c);
    }
    const bool fill = given > 8;
    Attr attr = attr_for(colour);
    auto ch = [&](int i) { return f[i]; };
    if (top == bottom) {
        for (int c = left; c <= right; ++c) put_cell(top, c, ch(1), attr);
        return;
    }
    if (left == right) {
        for (int r = top; r <= bottom; ++r) put_cell(r, left, ch(3), attr);
        return;
    }
    for (int c = left + 1; c < right; ++c) {
        put_cell(top, c, ch(1), attr);
        put_cell(bottom, c, ch(5), attr);
    }
    for (int r = top + 1; r < bottom; ++r) {
        put_cell(r, right, ch(3), attr);
        put_cell(r, left, ch(7), attr);
        if (fill) {
            for (int c = left + 1; c < right; ++c) put_cell(r, c, ch(8), attr);
        }
    }
    put_cell(top, left, ch(0), attr);
    put_cell(top, right, ch(2), attr);
    put_cell(bottom, right, ch(4), attr);
    put_cell(bottom, left, ch(6), attr);
}

void Console::fill_box(int top, int left, int bottom, int right, int frame_number,
                       std::string_view colour) {
    // Frame number 1 is the single-line frame; anything else draws blanks.
    fill_box(top, left, bottom, right, frame_number == 1 ? kSingleFrame : "        ", colour);
}

SavedRegion Console::save_region(int top, int left, int bottom, int right) const {
    SavedRegion saved{clamp(top, 0, kRows - 1),
                      clamp(left, 0, kCols - 1),
                      clamp(bottom, -1, kRows - 1),
                      clamp(right, -1, kCols - 1),
                      {}};
    for (int r = saved.top; r <= saved.bottom; ++r) {
        for (int c = saved.left; c <= saved.right; ++c) saved.cells.push_back(grid_[r][c]);
    }
    return saved;
}

void Console::restore_region(const SavedRegion& saved) {
    std::size_t i = 0;
    for (int r = saved.top; r <= saved.bottom; ++r) {
        for (int c = saved.left; c <= saved.right && i < saved.cells.size(); ++c) {
            grid_[r][c] = saved.cells[i++];
        }
    }
}

void Console::scroll_region(int top, int left, int bottom, int right, int n) {
    top = std::max(top, 0);
    left = std::max(left, 0);
    bottom = std::min(bottom, kRows - 1);
    right = std::min(right, kCols - 1);
    if (top > bottom || left > right || n == 0) return;
    Cell blank{' ', colour_.standard()};
    int height = bottom - top + 1;
    for (int i = 0; i < height; ++i) {
        int r = n > 0 ? top + i : bottom - i;  // walk away from the side the lines go to
        int from = n > 0 ? r + n : r + n;
        for (int c = left; c <= right; ++c) {
            bool inside = from >= top && from <= bottom;
            grid_[r][c] = inside ? grid_[from][c] : blank;
        }
    }
}

SavedScreen Console::save_screen() const {
    return {save_region(0, 0, kRows - 1, kCols - 1), cursor_, colour_text()};
}

void Console::restore_screen(const SavedScreen& saved) {
    restore_region(saved.region);
    cursor_ = saved.cursor;
    set_colour(saved.colour);
}

void Console::set_pos(int row, int col) {
    cursor_.row = clamp(row, 0, kRows - 1);
    cursor_.col = clamp(col, 0, kCols);
}

int Console::set_cursor_shape(int shape) {
    int previous = cursor_.shape;
    cursor_.shape = shape;
    return previous;
}

std::string Console::set_colour(std::string_view setting) {
    std::string previous = colour_.text();
    colour_ = colour_.with(setting);
    return previous;
}

void Console::flush() {
    backend_.present(grid_, cursor_);
}

int Console::read_key(std::optional<double> timeout, bool text) {
    int code = 0;
    // Keys queued while the program was busy may hold pasted text: only text entry takes it.
    while (code == 0 && !buffer_.empty()) {
        code = buffer_.front();
        buffer_.pop_front();
        if (key::is_pasted(code)) code = text ? key::unpasted(code) : 0;
    }
    if (code == 0) {
        if (!timeout || *timeout > 0) flush();
        code = backend_key(timeout, text);
    }
    if (code != 0) last_key_ = code;
    return code;
}

int Console::backend_key(std::optional<double> timeout, bool text) {
    const double deadline = timeout ? backend_.monotonic_seconds() + *timeout : 0;
    for (;;) {
        const std::optional<int> code = backend_.wait_key(timeout);
        if (!code) return 0;
        if (!key::is_pasted(*code)) return *code;
        if (text) return key::unpasted(*code);
        // Dropped: a timed wait goes on for the time it has left.
        if (timeout) timeout = std::max(0.0, deadline - backend_.monotonic_seconds());
    }
}

int Console::inkey() {
    return read_key(0.0);
}

int Console::inkey(double seconds) {
    return read_key(seconds > 0 ? std::optional<double>(seconds) : std::nullopt);
}

int Console::inkey_fresh(double seconds) {
    std::deque<int> typed_ahead;
    typed_ahead.swap(buffer_);
    const int code = inkey(seconds);
    buffer_.insert(buffer_.begin(), typed_ahead.begin(), typed_ahead.end());
    return code;
}

void Console::queue_typed_keys() {
    while (auto code = backend_.wait_key(0.0)) buffer_.push_back(*code);
}

int Console::inkey_text() {
    return read_key(std::nullopt, true);
}

int Console::next_key() {
    if (buffer_.empty()) {
        if (int code = backend_key(0.0, false)) buffer_.push_back(code);
    }
    return buffer_.empty() ? 0 : buffer_.front();
}

void Console::put_keys(cp::OemView keys) {
    buffer_.clear();
    for (char ch : keys) buffer_.push_back(static_cast<unsigned char>(ch));
}

void Console::put_keys(const std::vector<int>& keys) {
    buffer_.assign(keys.begin(), keys.end());
}

KeyHandler Console::set_key_handler(int code, KeyHandler handler) {
    KeyHandler previous;
    auto it = handlers_.find(code);
    if (it != handlers_.end()) {
        previous = std::move(it->second);
        handlers_.erase(it);
    }
    if (handler) handlers_[code] = std::move(handler);
    return previous;
}

const KeyHandler* Console::key_handler(int code) const {
    auto it = handlers_.find(code);
    return it == handlers_.end() ? nullptr : &it->second;
}

}  // namespace rt

namespace rt {

bool Console::run_key_handler(int code, std::string_view proc, int line, std::string_view var) {
    const KeyHandler* handler = key_handler(code);
    if (!handler) return false;
    KeyHandler copy = *handler;
    copy(std::string(proc), line, std::string(var));
    return true;
}

}  // namespace rt
