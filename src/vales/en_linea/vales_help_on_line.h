#pragma once
// F1 in the forms of the on-line entry: a help list for the field being edited, whose
// choice is typed back into the form through the keyboard buffer, so that the form checks
// it as if the user had typed it.
//
//   cxProducto  the product catalogue in pick mode (CATALOGO_PRODUCTOS_AYUDA)
//   nxOperario  the operator list (MYSQL_OPERARIOS)
//   any other field, and the item list itself (no field): nothing
//
// While a help list is open F1 has no handler, so it does not open another one.
#include <functional>
#include <string>

namespace vales {

// The key handler installed by the on-line entry: the operation's name, a line number
// (unused) and the field's name in upper case, empty when no field is being edited.
void VALES_HELP_ON_LINE(const std::string& proc, int line, const std::string& campo);

// Which help list a field's name asks for: a name whose first letter is "C" and whose last
// eight letters are "PRODUCTO" (cxProducto), or "N" and "OPERARIO" (nxOperario). The
// off-line help chooses its lists by the same rule.
enum class AyudaDeCampo { kNinguna, kProducto, kOperario };
AyudaDeCampo ayuda_de_campo(const std::string& campo);

// Runs `lista` as a help list does: F1's handler removed meanwhile, the screen, the cursor
// and the current work area as they were afterwards.
void como_ayuda(int tecla, const std::function<void()>& lista);

// F1 on the product field: the product catalogue in pick mode (Left arrow on a product
// types its code, Enter, its formula code and Enter into the form).
void CATALOGO_PRODUCTOS_AYUDA();

}  // namespace vales
