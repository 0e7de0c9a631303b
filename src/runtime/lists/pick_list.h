#pragma once
// The pick list: item texts in a window that scrolls, one of them highlighted. Without a
// handler routine it returns the item chosen with Enter; with one it becomes an item
// editor: the routine is called after every key, reads the key itself and says whether
// the list goes on or ends.
#include <functional>
#include <string>
#include <vector>

#include "runtime/common/oem.h"

namespace rt::pick {

// What the handler routine is told about the key just handled.
inline constexpr int kIdle = 0;       // a key moved the highlight, or did nothing special
inline constexpr int kAtTop = 1;      // a key tried to go above the first item
inline constexpr int kAtBottom = 2;   // a key tried to go below the last item
inline constexpr int kException = 3;  // a key the list does not handle (Esc, Enter, F2 ...)
inline constexpr int kNothing = 4;    // no selectable item: the list ends with 0

// What the handler routine answers.
inline constexpr int kAbort = 0;         // end the list; its result is 0
inline constexpr int kSelect = 1;        // end the list; its result is the current item
inline constexpr int kContinue = 2;      // read the items again, redraw, wait for a key
inline constexpr int kLetterSearch = 3;  // take the last key as a letter to look for
inline constexpr int kContinueToo = 4;   // the same as kContinue

}  // namespace rt::pick

namespace rt {

// handler(mode, current item, window row from 0) -> answer. The key is con().last_key().
// The routine may change the item texts and the length of the list: the list reads them
// again after every call. In mode kNothing the current item is 0.
using PickHandler = std::function<int(int mode, int current, int window_row)>;

// Every member has a default, so callers name only what they need (designated initialisers).
struct PickOptions {
    // Which items (numbered from 1) can be chosen; none given: all of them.
    std::function<bool(int item)> selectable = {};
    PickHandler handler = {};
    int first_item = 1;     // the item highlighted first
    int first_row = 0;      // the window row it stands on, from 0
    std::string proc = {};  // the operation's name, given to key handlers of the console
};

// Runs a pick list over `items` (console texts) in the window from (top, left) to
// (bottom, right), cut to the screen. `items` is read again after every handler call, so
// the routine may change the vector the caller passed. Returns the chosen item's number,
// or 0. The window is left as last drawn; the cursor shape is put back.
//
//   int chosen = rt::pick_list(13, 58, 27, 94, names, {.first_item = start});
//   rt::pick_list(13, 2, 22, 97, aDisplay, {.handler = ctrl_item, .first_item = position});
int pick_list(int top, int left, int bottom, int right, const std::vector<cp::Oem>& items,
              const PickOptions& options = {});

}  // namespace rt
