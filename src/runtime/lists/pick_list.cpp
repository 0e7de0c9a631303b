#include "runtime/lists/pick_list.h"

#include <algorithm>

#include "runtime/lists/pick_window.h"
#include "runtime/screen/console.h"

namespace rt {
namespace {

// Hides the cursor for the run and gives its shape back however the run ends.
class HiddenCursor {
  public:
    HiddenCursor() : shape_(con().set_cursor_shape(0)) {}
    ~HiddenCursor() { con().set_cursor_shape(shape_); }
    HiddenCursor(const HiddenCursor&) = delete;
    HiddenCursor& operator=(const HiddenCursor&) = delete;

  private:
    int shape_;
};

class PickListRun {
  public:
    PickListRun(int top, int left, int bottom, int right, const std::vector<cp::Oem>& items,
                const PickOptions& options)
        : top_(top),
          left_(left),
          width_(right - left + 1),
          items_(items),
          options_(options),
          window_(bottom - top + 1) {}

    int run();

  private:
    void reread() { window_.refresh(static_cast<int>(items_.size()), options_.selectable); }
    void draw() const;
    // A key the console has a handler for: the handler runs instead of the key's meaning,
    // and the last key becomes the redraw code so nobody acts on the handler's key again.
    void run_key_handler(int code);
    // The list's own meaning of a key when it has no handler routine: the result when the
    // key ends the list, or -1.
    int handle_alone(int code);
    // Calls the handler routine with `mode` and follows its answers: the result when the
    // list ends, or -1 to wait for the next key.
    int consult_handler(int mode);

    int top_, left_, width_;
    const std::vector<cp::Oem>& items_;
    const PickOptions& options_;
    PickWindow window_;
};

void PickListRun::draw() const {
    Console& c = con();
    const ColourSetting& colour = c.colour();
    const int count = std::min(window_.count(), static_cast<int>(items_.size()));
    for (int r = 0; r < window_.height(); ++r) {
        const int item = window_.first_shown() + r;
        std::string text;
        Attr attr = colour.standard();
        if (item <= count) {
            text = items_[item - 1].str().substr(0, width_);
            if (item == window_.current() && window_.any_selectable()) {
                attr = colour.enhanced();
            } else if (!window_.selectable(item)) {
                attr = colour.unselected();
            }
        }
        text.resize(width_, ' ');
        for (int i = 0; i < width_; ++i) {
            c.put_cell(top_ + r, left_ + i, static_cast<std::uint8_t>(text[i]), attr);
        }
    }
    c.set_pos(top_ + (window_.any_selectable() ? window_.row() : 0), left_);
}

void PickListRun::run_key_handler(int code) {
    Console& c = con();
    c.run_key_handler(code, options_.proc, 0, "");
    if (c.next_key() == 0) {
        c.put_keys(std::vector<int>{key::kRedraw});
        c.inkey();
    } else {
        // Keys the handler left for us stay queued; only the last key is made harmless.
        c.set_last_key(key::kRedraw);
    }
    reread();
}

int PickListRun::handle_alone(int code) {
    switch (code) {
        case key::kEsc:
        case key::kLeft:
        case key::kRight:
            return 0;
        case key::kEnter:
            return window_.current();
        case key::kHome:
            window_.to_first();
            return -1;
        case key::kEnd:
            window_.to_last();
            return -1;
        default:
            if (key::is_printable(code)) window_.search_letter(code, items_);
            return -1;
    }
}

int PickListRun::consult_handler(int mode) {
    bool searched = false;
    for (;;) {
        draw();
        const int answer = options_.handler(mode, window_.current(), window_.row());
        reread();
        switch (answer) {
            case pick::kAbort:
                return 0;
            case pick::kSelect:
                return window_.any_selectable() ? window_.current() : 0;
            case pick::kLetterSearch:
                // One search per key: a routine that asks again after the search (it sees
                // the same letter) would otherwise keep the list going round for ever.
                if (searched || !window_.any_selectable()) return -1;
                window_.search_letter(con().last_key(), items_);
                searched = true;
                mode = pick::kIdle;
                continue;
            default:  // kContinue, kContinueToo; anything else is taken the same way
                return -1;
        }
    }
}

int PickListRun::run() {
    reread();
    window_.start(options_.first_item, options_.first_row);
    const bool has_handler = static_cast<bool>(options_.handler);
    for (;;) {
        draw();
        if (!window_.any_selectable()) {
            if (has_handler) options_.handler(pick::kNothing, 0, 0);
            return 0;
        }
        const int code = con().inkey(0);
        if (code == 0) continue;
        int mode = pick::kIdle;
        if (con().key_handler(code)) {
            run_key_handler(code);
        } else {
            switch (code) {
                case key::kUp:
                    mode = window_.up();
                    break;
                case key::kDown:
                    mode = window_.down();
                    break;
                case key::kPgUp:
                    mode = window_.page_up();
                    break;
                case key::kPgDn:
                    mode = window_.page_down();
                    break;
                case key::kCtrlPgUp:
                    mode = window_.to_first();
                    break;
                case key::kCtrlPgDn:
                    mode = window_.to_last();
                    break;
                case key::kCtrlHome:
                    mode = window_.to_window_top();
                    break;
                case key::kCtrlEnd:
                    mode = window_.to_window_bottom();
                    break;
                default:
                    if (!has_handler) {
                        if (int result = handle_alone(code); result >= 0) return result;
                    }
                    mode = pick::kException;
            }
        }
        if (!has_handler || !window_.any_selectable()) continue;
        if (int result = consult_handler(mode); result >= 0) return result;
    }
}

}  // namespace

int pick_list(int top, int left, int bottom, int right, const std::vector<cp::Oem>& items,
              const PickOptions& options) {
    top = std::max(top, 0);
    left = std::max(left, 0);
    bottom = std::min(bottom, kRows - 1);
    right = std::min(right, kCols - 1);
    if (top > bottom || left > right) return 0;
    HiddenCursor hidden;
    return PickListRun(top, left, bottom, right, items, options).run();
}

}  // namespace rt
