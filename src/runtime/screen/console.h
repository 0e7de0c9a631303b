#pragma once
// The console: the 36 x 100 cell grid, the cursor, the colour setting in force, the keyboard
// buffer, the last key, the key handlers and the program-wide settings. One Console is
// installed for the whole run (or for one test) and reached through rt::con().
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/common/oem.h"
#include "runtime/screen/backend.h"
#include "runtime/screen/colour.h"
#include "runtime/screen/keys.h"

namespace rt {

// Called while a form, menu or pick list waits for a key that has a handler: the name of
// the operation that waits, a line number (unused by the program) and the name of the
// variable being read, in upper case.
using KeyHandler = std::function<void(const std::string& proc, int line, const std::string& var)>;

// Program-wide settings applied at start-up.
struct Settings {
    bool century = true;
    int epoch = 1960;
    bool deleted_hidden = true;  // "SET DELETED ON": work tables hide deleted records
    bool confirm = true;         // a field typed full is left only with a movement key
    bool scoreboard = false;
    bool wrap = true;  // menus of prompts wrap around
    std::string language = "ES";
};

// The frame strings of fill_box: corners and sides clockwise from the top left, then the
// fill character. Single lines ┌─┐│┘─└│, and the same with a blank fill.
inline constexpr cp::OemView kSingleFrame = cp::OemView::cp850("\xDA\xC4\xBF\xB3\xD9\xC4\xC0\xB3");
inline constexpr cp::OemView kSingleFrameFilled =
    cp::OemView::cp850("\xDA\xC4\xBF\xB3\xD9\xC4\xC0\xB3 ");

struct SavedRegion {
    int top = 0, left = 0, bottom = -1, right = -1;
    std::vector<Cell> cells;
};

// A whole-screen snapshot with the cursor: what every operation saves on entry.
struct SavedScreen {
    SavedRegion region;
    CursorState cursor;
    std::string colour;
};

// An integer variable of the calling operation, reached through callbacks. get() gives
// nullopt when the variable holds something that is not a number.
struct IntVar {
    std::function<std::optional<int>()> get;
    std::function<void(int)> set;
};
IntVar bind(int& variable);

class Console {
  public:
    explicit Console(Backend& backend);
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    Backend& backend() { return backend_; }
    Settings& settings() { return settings_; }

    // --- screen -------------------------------------------------------------------------
    void set_mode(int rows, int cols);  // the grid is always 36 x 100
    void clear_screen();
    // Writes console text from (row, col) in the standard colour of `colour` (a colour
    // setting text) or of the setting in force; clipped at the right edge. The cursor ends
    // after the last character written.
    void write_at(int row, int col, cp::OemView text, std::string_view colour = {});
    void write(cp::OemView text, std::string_view colour = {});
    // Frame string of eight characters (+ optional fill character): kSingleFrame ...
    void fill_box(int top, int left, int bottom, int right, cp::OemView frame,
                  std::string_view colour = {});
    void fill_box(int top, int left, int bottom, int right, int frame_number,
                  std::string_view colour = {});
    SavedRegion save_region(int top, int left, int bottom, int right) const;
    void restore_region(const SavedRegion& saved);
    void scroll_region(int top, int left, int bottom, int right, int n);
    SavedScreen save_screen() const;
    void restore_screen(const SavedScreen& saved);

    const Grid& grid() const { return grid_; }
    const Cell& cell(int row, int col) const { return grid_[row][col]; }
    void put_cell(int row, int col, std::uint8_t ch, Attr attr);

    int row() const { return cursor_.row; }
    int col() const { return cursor_.col; }
    void set_pos(int row, int col);
    int cursor_shape() const { return cursor_.shape; }
    int set_cursor_shape(int shape);  // returns the previous shape
    const CursorState& cursor() const { return cursor_; }

    const ColourSetting& colour() const { return colour_; }
    std::string colour_text() const { return colour_.text(); }
    std::string set_colour(std::string_view setting);  // returns the previous setting

    void tone(int hertz, int ticks) { backend_.tone(hertz, ticks); }
    void set_title(cp::OemView text) { backend_.set_title(std::string(text.view())); }
    LocalTime now() { return backend_.local_time(); }
    double monotonic() { return backend_.monotonic_seconds(); }
    void sleep(double seconds) { backend_.sleep(seconds); }
    // Shows the grid on the terminal now (key waits do it by themselves).
    void flush();

    // --- keyboard -----------------------------------------------------------------------
    // Reads one key: no argument does not wait (0 when none); 0 waits without limit;
    // n > 0 waits at most n seconds (0 when none came). Updates the last key.
    int inkey();
    int inkey(double seconds);
    // Waits like inkey(seconds) for a key pressed from now on: keys already in the buffer
    // (typed ahead) are neither taken nor lost, they stay for what reads keys next.
    int inkey_fresh(double seconds);
    // Moves the keys the terminal already holds to the end of the buffer, without waiting
    // (pasted text among them still reaches text entry only).
    void queue_typed_keys();
    // Waits without limit for a key where the user types text (a form field, a password,
    // the memo editor): text pasted on the terminal arrives here as typed characters. Every
    // other read drops pasted text, so a paste never chooses, answers or confirms anything.
    int inkey_text();
    int last_key() const { return last_key_; }
    void set_last_key(int code) { last_key_ = code; }
    int next_key();  // head of the buffer without removing it, or 0
    // Empties the keyboard buffer, then queues one key per character (byte) of the text,
    // as if the user typed it.
    void put_keys(cp::OemView keys);
    void put_keys(const std::vector<int>& keys);
    void clear_keys() { buffer_.clear(); }
    KeyHandler set_key_handler(int code, KeyHandler handler = {});  // returns the previous
    const KeyHandler* key_handler(int code) const;
    // Runs the handler of `code`, if any (a copy, so the handler may replace itself).
    bool run_key_handler(int code, std::string_view proc, int line, std::string_view var);

    // --- menus of prompts ---------------------------------------------------------------
    // Shows the prompt at once and adds it to the pending menu. The colour pair is
    // "normal,highlight" (two colour slots), or empty for the standard/enhanced colours.
    void prompt(int row, int col, cp::OemView text, std::string_view colour_pair = {});
    // Runs the pending menu; returns the chosen prompt's number or 0 for Esc. The variable
    // gives the first prompt and receives the result; `var_name` and `proc` go to handlers.
    int menu_to(const IntVar& var, std::string_view var_name, std::string_view proc = {});
    int menu_to(std::string_view var_name, std::string_view proc = {});

  private:
    struct Prompt {
        int row, col;
        std::string text;
        Attr normal, highlight;
    };
    int read_key(std::optional<double> timeout, bool text = false);
    // The backend's next key with pasted text given as text or dropped; 0 when none came.
    int backend_key(std::optional<double> timeout, bool text);
    void show_prompt(const Prompt& p, bool highlighted);
    Attr attr_for(std::string_view colour) const;

    Backend& backend_;
    Settings settings_;
    Grid grid_{};
    CursorState cursor_{};
    ColourSetting colour_;
    std::deque<int> buffer_;
    int last_key_ = 0;
    std::map<int, KeyHandler> handlers_;
    std::vector<Prompt> pending_prompts_;
};

// The console of the run (or of the current test).
Console& con();
// Installs `console` as the one con() returns; gives back the previous one.
Console* install_console(Console* console);

}  // namespace rt
