#pragma once
// Sending vouchers recorded off-line to the server, exactly once: shared by the entry list
// (one voucher) and the batch upload (every pending one).
//
// Each voucher goes with its origin (the store's identity and its local number). Before it
// is sent, the server is asked whether it holds a voucher from that origin already, and
// only when it does not is the voucher saved, the origin recorded in the same transaction.
// Then the local voucher is marked sent. Whatever stops the upload in between (the program
// killed, the local update failing, a reply lost after the server's commit), the next
// upload finds the origin on the server and only marks the local voucher.
#include <optional>
#include <string>
#include <vector>

#include "runtime/offline/todbc.h"
#include "vales/vale_registros.h"

namespace vales {

// A voucher recorded off-line, read back from the store.
struct ValeLocal {
    DatosCab cabecera;
    std::vector<DatosItm> items;
};

enum class Lectura {
    leido,
    error,         // a statement failed
    sin_cabecera,  // not exactly one header row
    sin_items,     // no item row
};

// Reads the voucher `n_interno` (header and items in the order they were stored).
Lectura leer_vale_local(rt::TODBC& RS, long n_interno, ValeLocal& vale);

// Makes ready to send from this store: checks that the store's vouchers belong to the
// session's company (empresa_local.h), reads (or gives) the store's identity and makes sure
// the server can record origins. On failure the user is told why and nothing is returned.
std::optional<std::string> preparar_envio(rt::TODBC& RS);

struct Envio {
    enum Estado {
        no_enviado,    // refused (shortage, a failed write): the save has said why
        sin_consulta,  // the server could not be asked whether it holds it: not sent
        enviado,       // saved now
        ya_estaba,     // the server held it already (sent before); now only marked
    };
    Estado estado = no_enviado;
    long folio = 0;        // the server's number, when it holds the voucher
    bool marcado = false;  // the local voucher is marked sent
};

// Sends one voucher (GRABARVALE_SERVIDOR with its origin, the shortage window when
// `show_shortage`) unless the server holds it already, and marks it sent in the store.
Envio enviar_vale(rt::TODBC& RS, const OrigenVale& origen, const ValeLocal& vale,
                  bool show_shortage);

// "update vales_cab set c_estado='2' ...": true when the store took it.
bool marcar_enviado(rt::TODBC& RS, long n_interno);

}  // namespace vales
