#pragma once
// The memo viewer: a long text (an SQL statement, a product or process description) in a
// window, for reading or for editing. Texts are console texts; the callers convert. Drawn in the
// standard colour of the setting in force; the screen under the window is the caller's to save and
// restore.
//
// Keys: the arrows, PgUp, PgDn, Home, End, Ctrl+PgUp / Ctrl+Home (start of the text) and
// Ctrl+PgDn (end of the text) move; in edit mode printable keys, Tab, Backspace, Del, Enter
// and Ctrl+Y (delete the line) change the text, Ins switches between overstrike (at start)
// and insert. Ctrl+W ends keeping the changes. Esc ends; after changes it first asks
// "Abort Edit? (Y/N)" on the window's top row, and only Y drops them.
#include <string>
#include <string_view>

#include "runtime/common/oem.h"

namespace rt {

struct MemoWindow {
    int top = 0, left = 0, bottom = 0, right = 0;
};

// Returns the edited text when the user ended with Ctrl+W after changes, otherwise the
// text as given. line_length 0 means the window width less one.
cp::Oem memo_edit(cp::OemView text, MemoWindow window, bool edit, int line_length = 0,
                  int tab_size = 4);

}  // namespace rt
