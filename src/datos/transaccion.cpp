#include "datos/transaccion.h"

namespace datos {

Transaccion::Transaccion(TMySQLServer& servidor) : Sentencias(servidor) {
    abierta_ = escribir("START TRANSACTION");
}

Transaccion::~Transaccion() {
    if (abierta_) deshacer();
}

bool Transaccion::confirmar() {
    const bool hecho = escribir("COMMIT");
    // A refused or unanswered COMMIT leaves nothing for this side to end: the server has
    // either committed or rolled back (and a lost answer is the caller's to look into).
    abierta_ = false;
    return hecho;
}

bool Transaccion::deshacer() {
    abierta_ = false;
    const bool deshecha_por_el_servidor = !ok() && fallo().transaccion_deshecha();
    // Sent even after a failure: the series stopped for the work, not for its undoing. On a
    // lost connection it fails, and nothing can be said of what the server kept.
    auto q = servidor().Query("ROLLBACK");
    return !q.NetErr() || deshecha_por_el_servidor;
}

}  // namespace datos
