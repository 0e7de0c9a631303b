#pragma once
// Off-line voucher entry: vouchers recorded in the off-line store, pending until they are
// sent to the server.
#include <vector>

#include "runtime/offline/todbc.h"
#include "vales/vale_registros.h"

namespace vales {

// Stores the voucher in the off-line store as pending (state "1"): its header in vales_cab,
// numbered by the store's counter, and one vales_itm row per item in list order, all in one
// transaction. True when the whole voucher was stored; otherwise nothing of it was, and the
// user has been told "Error: No se puede grabar vale en archivos temporales".
bool GRABARVALE_LOCAL(rt::TODBC& RS, const DatosCab& header, const std::vector<DatosItm>& items);

}  // namespace vales
