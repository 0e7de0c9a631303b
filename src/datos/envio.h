#pragma once
// Sending one voucher recorded off-line to the server, exactly once: shared by the entry
// list (one voucher) and the batch upload (every pending one).
//
// The voucher is read back from the store and checked as the entry form checks it; it goes
// with its identity (vales_locales.h), which the save looks up first and registers in the
// voucher's own transaction (grabar_vale.h). The local voucher is marked sent once the
// server holds it. Whatever stops the upload in between (the program killed, the local
// update failing, a reply lost after the server's commit), the next upload finds the
// identity on the server and only marks the local voucher.
#include <optional>
#include <string>

#include "datos/grabar_vale.h"
#include "datos/vales_locales.h"

namespace datos {

struct Envio {
    Lectura lectura = Lectura::error;
    std::optional<std::string> defecto;  // why the voucher was not sent as it is
    Grabacion grabacion;                 // what the server did with it
    bool marcado = false;                // the local voucher is marked sent

    bool en_servidor() const { return grabacion.en_servidor(); }
};

// Sends the pending voucher `n_interno` of the store of identity `estacion`.
Envio enviar_vale_local(rt::TODBC& RS, TMySQLServer& servidor, const std::string& usuario,
                        const std::string& estacion, long n_interno,
                        const Reintentos& reintentos = {});

}  // namespace datos
