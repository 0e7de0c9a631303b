#pragma once
// F1 in the forms of the off-line entry: a help list over the entry's off-line store for
// the field being edited, whose choice is typed back into the form through the keyboard
// buffer, so that the form checks it as if the user had typed it.
//
//   cxProducto  the product list (VALES_PRODUCTOS), typing code and formula
//   nxOperario  the operator list (MDB_OPERARIOS)
//   any other field, and the item list itself (no field): nothing
//
// While a help list is open F1 has no handler, so it does not open another one.
#include <string>

#include "runtime/offline/todbc.h"

namespace vales {

// The key handler the off-line entry installs (bound to its store): the operation's name,
// a line number (unused) and the field's name in upper case, empty when no field is being
// edited.
void VALES_HELP_OFF_LINE(rt::TODBC& RS, const std::string& proc, int line,
                         const std::string& campo);

}  // namespace vales
