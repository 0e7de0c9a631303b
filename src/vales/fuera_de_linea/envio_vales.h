#pragma once
// Sending vouchers recorded off-line from the screens of the entry list (one voucher) and
// the batch upload (every pending one): the data step of datos/envio.h, with what the user
// is shown of it.
#include <optional>
#include <string>

#include "datos/envio.h"
#include "runtime/offline/todbc.h"

namespace vales {

// Makes ready to send from this store: checks that the store's vouchers belong to the
// session's company (empresa_local.h), reads (or gives) the store's identity and gives an
// older store the identities of vouchers. On failure the user is told why and nothing is
// returned.
std::optional<std::string> preparar_envio(rt::TODBC& RS);

// Sends the voucher `n_interno` and marks it sent. What the save has to say is shown as
// GRABARVALE_SERVIDOR shows it (in a batch, `interactivo` false, only what must not be kept
// quiet); a voucher that cannot be read or that holds what the entry form refuses is left
// to the caller to report, and so is the notice of a server without the register of
// identities (avisar_sin_registro, once the caller's own message line is written).
datos::Envio enviar_vale(rt::TODBC& RS, const std::string& estacion, long n_interno,
                         bool interactivo);

// Why a voucher was not sent, for the user: "Vale local N: ..." (program text).
std::string motivo_no_enviado(long n_interno, const datos::Envio& envio);

}  // namespace vales
