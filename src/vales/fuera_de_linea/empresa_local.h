#pragma once
// The company an off-line store belongs to. Its master data is downloaded from the company
// connected at the time, and the vouchers typed against that data are that company's: they
// must reach its database, never another company's (where the same codes may mean other
// products, or nothing, and the vouchers would be marked sent and lost to their company).
//
// The download records the company (datos/empresa_local.h); the senders refuse to send to
// another company, and the download refuses to replace the data with another company's
// while vouchers of the first are pending. A store that has no company recorded is not
// checked.
#include <optional>
#include <string>

#include "runtime/offline/todbc.h"

namespace vales {

// Whether the store's vouchers may be sent to the session's company. Otherwise the user
// is told which company they belong to.
bool envio_a_la_empresa_de_la_sesion(rt::TODBC& RS);

// Whether master data of the session's company may replace the store's: always, unless
// the store holds pending vouchers of another company (the user is then told).
bool descarga_de_la_empresa_de_la_sesion(rt::TODBC& RS);

}  // namespace vales
