#pragma once
// Enter on an item of a voucher's activity list, shared by the on-line and the off-line
// entry: the especificación is chosen from a list, then the operator and the start and end
// times are read in a form below it; the item takes them and its display line is rebuilt.
//
//   rows 12-32, columns 40-95: box; "Especificación:" and the list (rows 13-27, col 58-94)
//   row 29  Nº de Operario : 999  <operator name>
//   row 30  Hora de Inicio : 99:99
//   row 31  Hora de Termino: 99:99
//
// The caller reads the especificaciones and checks the operator (on the server or in the
// local store). The form ends only with Esc or with all three fields valid.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/common/oem.h"
#include "vales/ingreso/vale_registros.h"

namespace vales {

// The especificaciones of an activity: names (console text) and codes, in the same order.
struct Especificaciones {
    std::vector<cp::Oem> nombres;
    std::vector<std::string> codigos;
};

struct ConsultasOperario {
    std::function<cp::Oem(double operario)> nombre;  // 20 characters, blanks when unknown
    // Exists and is active; shows "Operario no existe" or "Usuario no activo" when not.
    std::function<bool(double operario)> valido;
};

// Edits item `pos` (1-based). Leaving the especificación list without choosing, or the
// form with Esc, changes nothing. Returns whether the item was changed. The screen is left
// as the edit drew it: the caller restores it.
bool editar_item(ValeEnCurso& vale, int pos, const Especificaciones& especificaciones,
                 const ConsultasOperario& operario, std::string_view proc);

// The especificación to highlight first: the last one whose code is the item's, else the
// first (1-based).
int especificacion_inicial(const Especificaciones& especificaciones, std::string_view codigo);

}  // namespace vales
