#include "runtime/browse/memo_viewer.h"

#include <algorithm>

#include "runtime/browse/memo_text.h"
#include "runtime/screen/console.h"
#include "runtime/screen/keys.h"

namespace rt {

namespace {

class MemoViewer {
  public:
    MemoViewer(std::string_view text, MemoWindow w, bool edit, int line_length, int tab_size)
        : w_(w),
          width_(w.right - w.left + 1),
          height_(w.bottom - w.top + 1),
          edit_(edit),
          tab_size_(tab_size),
          memo_(text, line_length > 0 ? line_length : std::max(width_ - 1, 1)) {}

    // false when the user dropped the changes (or made none).
    bool run() {
        while (true) {
            draw();
            const int key = edit_ ? con().inkey_text() : con().inkey(0);
            if (key == key::kCtrlW) return true;
            if (key == key::kEsc) {
                if (!edit_ || !memo_.changed() || abort_confirmed()) return false;
                continue;
            }
            if (edit_)
                edit_key(key);
            else
                view_key(key);
        }
    }

    const MemoText& memo() const { return memo_; }

  private:
    void view_key(int key) {
        // Reading only: the window scrolls over the text.
        const int last_top = std::max(static_cast<int>(memo_.rows().size()) - height_, 0);
        switch (key) {
            case key::kUp:
                --top_row_;
                break;
            case key::kDown:
                ++top_row_;
                break;
            case key::kPgUp:
                top_row_ -= height_;
                break;
            case key::kPgDn:
                top_row_ += height_;
                break;
            case key::kHome:
            case key::kCtrlHome:
            case key::kCtrlPgUp:
                top_row_ = 0;
                break;
            case key::kEnd:
            case key::kCtrlPgDn:
                top_row_ = last_top;
                break;
            default:
                break;
        }
        top_row_ = std::clamp(top_row_, 0, last_top);
    }

    void edit_key(int key) {
        switch (key) {
            case key::kUp:
                memo_.up();
                break;
            case key::kDown:
                memo_.down();
                break;
            case key::kLeft:
                memo_.left();
                break;
            case key::kRight:
                memo_.right();
                break;
            case key::kPgUp:
                memo_.page_up(height_);
                break;
            case key::kPgDn:
                memo_.page_down(height_);
                break;
            case key::kHome:
                memo_.home();
                break;
            case key::kEnd:
                memo_.end();
                break;
            case key::kCtrlHome:
            case key::kCtrlPgUp:
                memo_.text_top();
                break;
            case key::kCtrlPgDn:
                memo_.text_bottom();
                break;
            case key::kIns:
                insert_ = !insert_;
                break;
            case key::kEnter:
                memo_.enter();
                break;
            case key::kBackspace:
                memo_.backspace();
                break;
            case key::kDel:
                memo_.del();
                break;
            case key::kCtrlY:
                memo_.delete_line();
                break;
            case key::kTab:
                memo_.tab(tab_size_, insert_);
                break;
            default:
                if (key::is_printable(key)) memo_.type(static_cast<char>(key), insert_);
                break;
        }
        // Keep the cursor's row in the window.
        const int row = memo_.cursor_row();
        if (row < top_row_) top_row_ = row;
        if (row >= top_row_ + height_) top_row_ = row - height_ + 1;
    }

    void draw() {
        const Attr attr = con().colour().standard();
        const auto& rows = memo_.rows();
        for (int y = 0; y < height_; ++y) {
            const int index = top_row_ + y;
            std::string_view shown;
            if (index < static_cast<int>(rows.size())) {
                const MemoText::Row& r = rows[static_cast<std::size_t>(index)];
                shown = std::string_view(memo_.lines()[static_cast<std::size_t>(r.line)])
                            .substr(static_cast<std::size_t>(r.start),
                                    static_cast<std::size_t>(r.length));
            }
            for (int x = 0; x < width_; ++x) {
                std::uint8_t ch =
                    x < static_cast<int>(shown.size())
                        ? static_cast<std::uint8_t>(shown[static_cast<std::size_t>(x)])
                        : ' ';
                con().put_cell(w_.top + y, w_.left + x, ch, attr);
            }
        }
        if (edit_) {
            con().set_pos(w_.top + memo_.cursor_row() - top_row_,
                          w_.left + std::min(memo_.cursor_col(), width_ - 1));
        }
    }

    bool abort_confirmed() {
        static constexpr std::string_view kQuestion = "Abort Edit? (Y/N)";
        const int col = std::max(w_.right - 18, 0);
        SavedRegion under =
            con().save_region(w_.top, col, w_.top, col + static_cast<int>(kQuestion.size()) - 1);
        con().write_at(w_.top, col, cp::OemView::cp850(kQuestion));
        const int answer = con().inkey(0);
        if (answer == 'Y' || answer == 'y') return true;
        con().restore_region(under);
        return false;
    }

    MemoWindow w_;
    int width_, height_;
    bool edit_;
    int tab_size_;
    MemoText memo_;
    int top_row_ = 0;
    bool insert_ = false;
};

}  // namespace

cp::Oem memo_edit(cp::OemView given, MemoWindow window, bool edit, int line_length, int tab_size) {
    const std::string_view text = given.view();
    window.top = std::max(window.top, 0);
    window.left = std::max(window.left, 0);
    window.bottom = std::min(window.bottom, kRows - 1);
    window.right = std::min(window.right, kCols - 1);
    if (window.bottom < window.top || window.right < window.left) return cp::Oem(given);

    // The cursor shows only while editing, in the normal shape when it was hidden.
    const int shape = con().cursor_shape();
    if (edit && shape == 0) con().set_cursor_shape(1);
    if (!edit) con().set_cursor_shape(0);
    MemoViewer viewer(text, window, edit, line_length, tab_size);
    const bool keep = viewer.run();
    con().set_cursor_shape(shape);
    if (keep && viewer.memo().changed()) {
        con().clear_keys();
        return cp::Oem(viewer.memo().text());
    }
    return cp::Oem(given);
}

}  // namespace rt
