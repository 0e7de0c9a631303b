#pragma once
// Off-line voucher entry: vouchers typed without a server and recorded in the off-line
// store, pending until they are sent to the server (lista_ingresos.h, DatosHacia_Servidor.h).
#include <string>
#include <vector>

#include "runtime/offline/todbc.h"
#include "vales/ingreso/ingreso_vale.h"
#include "vales/ingreso/vale_registros.h"

namespace vales {

// Stores the voucher in the off-line store as pending (state "1"): its header in vales_cab,
// numbered by the store's counter, and one vales_itm row per item in list order, all in one
// transaction. True when the whole voucher was stored; otherwise nothing of it was, and the
// user has been told "Error: No se puede grabar vale en archivos temporales".
bool GRABARVALE_LOCAL(rt::TODBC& RS, const DatosCab& header, const std::vector<DatosItm>& items);

// Main-menu entry 4: vouchers typed one after another into the off-line store, without any
// server, until Esc in the header form. Codes are checked against the store's copies of
// the master data; the date and the warehouse stay from one voucher to the next. F1 opens
// the help lists of VALES_HELP_OFF_LINE while the operation runs.
void VALES_INGRESO_OFF_LINE();
// The same on another store (tests).
void VALES_INGRESO_OFF_LINE(const std::string& conexion_local);

// The item-list handler of the off-line entry (pick-list protocol, see lista_items.h) over
// the voucher being entered: Enter edits the highlighted activity with the store's
// especificaciones and operators, F2 splits it, F8 stores the voucher with
// GRABARVALE_LOCAL, Esc abandons it.
int CTRL_ITEM2(const ModoIngreso& modo, ValeEnCurso& vale, int mode, int item, int row);

}  // namespace vales
