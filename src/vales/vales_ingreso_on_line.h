#pragma once
// On-line voucher entry: the header form and activity list of a voucher typed straight
// against the company server, its item-list handler, and the saving of a complete voucher.
#include <string_view>
#include <vector>

#include "vales/vale_registros.h"

namespace vales {

// Writes one production voucher to the server of the session and returns the number the
// server's counter gave it, or 0 when nothing was written: the formula could not be read,
// a stock-controlled ingredient is short in the warehouse (the shortage window is shown
// unless `show_shortage` is false, as a batch upload asks), the counter could not be
// advanced (kServidorOcupado is shown when another workstation kept it locked, and
// kSinNumeroDeVale for any other reason unless `show_shortage` is false), or a write
// failed (the server's error is shown and everything written for the voucher is undone, so
// the voucher can be sent again). A server that stops answering is given up with its own
// message (vales/espera_servidor.h); if that happens at the commit, the user is asked to
// check whether the voucher stayed.
//
// The voucher's writes (counter, stock, movements, voucher rows) form one transaction:
// the server holds either the whole voucher under its number or nothing of it. Saves of
// several workstations take turns on the counter, so two never receive the same number
// and two vouchers never both pass the stock check on the same stock.
//
// A voucher recorded off-line comes with its `origen`, recorded in the same transaction
// (origen_vales.h): the server refuses a second voucher from the same origin, so the
// voucher is stored once whatever happens to the upload.
long GRABARVALE_SERVIDOR(const DatosCab& header, const std::vector<DatosItm>& items,
                         bool show_shortage = true, const OrigenVale* origen = nullptr);

// Shown when the counter stayed locked by another workstation for longer than the server
// waits for it: nothing was written and the save may be tried again.
inline constexpr const char* kServidorOcupado = "Servidor ocupado: el vale no se grabó, reintente";
// Shown, unless in a batch, when the counter could not be advanced or read for another
// reason (its row missing, no right to change it): F8 would otherwise do nothing visible.
inline constexpr const char* kSinNumeroDeVale =
    "ERROR: No se puede obtener número de vale (paramet): el vale no se grabó";

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
int CTRL_ITEM(ValeEnCurso& vale, int mode, int item, int row);

}  // namespace vales
