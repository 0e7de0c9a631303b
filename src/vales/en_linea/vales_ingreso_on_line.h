#pragma once
// On-line voucher entry: the header form and activity list of a voucher typed straight
// against the company server, its item-list handler, and the saving of a complete voucher.
#include <string_view>
#include <vector>

#include "vales/ingreso/ingreso_vale.h"
#include "vales/ingreso/resultado_grabacion.h"
#include "vales/ingreso/vale_registros.h"

namespace vales {

// Writes one production voucher to the server of the session (datos/grabar_vale.h) and
// returns the number the server's counter gave it, or 0 when it was not written. The user
// is shown why not: the shortage window (unless `show_shortage` is false, as a batch upload
// asks), "Servidor ocupado" when other workstations kept getting in the way, the server's
// error with the statement in the viewer, or, when the answer to the commit was lost and
// the voucher could not be found on the server, that it is to be checked. The voucher is
// given an identity of its own for the save.
long GRABARVALE_SERVIDOR(const DatosCab& header, const std::vector<DatosItm>& items,
                         bool show_shortage = true);

// Points per unit that an operator earns for an activity done to a especificación: the
// price of the especificación for the operator's group; 0 when none is defined.
double PUNTAJE(double operario, std::string_view actividad, std::string_view especificacion);

// Main-menu entry 3: vouchers entered one after another against the server (connection
// and the "acc_ingreso" permission checked first) until Esc in the header form. The date
// and the warehouse stay from one voucher to the next. F1 opens the help lists of
// VALES_HELP_ON_LINE while the operation runs.
void VALES_INGRESO_ON_LINE();

// The item-list handler of the on-line entry (pick-list protocol, see lista_items.h) over
// the voucher being entered: Enter edits the highlighted activity with the server's
// especificaciones and operators, F2 splits it, F8 saves the voucher with
// GRABARVALE_SERVIDOR and offers to print it, Esc abandons it.
int CTRL_ITEM(const ModoIngreso& modo, ValeEnCurso& vale, int mode, int item, int row);

}  // namespace vales
