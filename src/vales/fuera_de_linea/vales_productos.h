#pragma once
// The product help list of the off-line entry: the active products of the off-line store's
// copy, found by the beginning of their name (Enter) or by words in it (F8; one word is
// also looked for in the code), in name order or, after F5, in code order. F10 repeats the
// last search. The highlighted product's formula name shows under the list.
#include "runtime/offline/todbc.h"

namespace vales {

// With `elegir`, Left arrow on a product types Home, its code and Enter into the keyboard
// buffer, and with `con_formula` its formula code and Enter after them, and leaves the
// list.
void VALES_PRODUCTOS(rt::TODBC& RS, bool elegir = false, bool con_formula = true);

}  // namespace vales
