#pragma once
// The vouchers recorded in the off-line store (vales_cab, vales_itm): storing one, reading
// one back, checking it as the entry form checks it, and marking it sent.
//
// Every voucher has an identity of its own (vales_cab.id_vale), given by the store when the
// voucher is inserted: a store copied or restored from a backup keeps the identities of the
// vouchers it held, and gives new ones to those typed afterwards. A store made before
// identities existed gets the column the first time it is used for vouchers.
#include <optional>
#include <string>
#include <vector>

#include "datos/vale.h"
#include "runtime/offline/todbc.h"

namespace datos {

// Gives an older store the identity column of vouchers; true when the store has it.
bool asegurar_identidad_de_vales(rt::TODBC& RS);

// Stores the voucher as pending (state "1"): its header in vales_cab, numbered by the
// store's counter, and one vales_itm row per item in list order, all in one transaction.
// True when the whole voucher was stored; otherwise nothing of it was.
bool grabar_vale_local(rt::TODBC& RS, const DatosCab& cab, const std::vector<DatosItm>& items);

// A voucher recorded off-line, read back from the store.
struct ValeLocal {
    DatosCab cabecera;
    std::vector<DatosItm> items;
    std::string id_vale;  // empty for a voucher stored before identities existed
    // Columns whose text is not a number (a store edited by hand), as "COLUMNA 'texto'".
    std::vector<std::string> no_numericos;
};

enum class Lectura {
    leido,
    error,         // a statement failed
    sin_cabecera,  // not exactly one header row
    sin_items,     // no item row
};

// Reads the voucher `n_interno` (header and items in the order they were stored).
Lectura leer_vale_local(rt::TODBC& RS, long n_interno, ValeLocal& vale);

// Why the voucher must not go to the server as it is, or nothing when it may: what the
// entry form refuses (no quantity, more rejected than produced, an item without operator
// or with an impossible time ...), which only a store edited by hand can hold.
std::optional<std::string> defecto_de_vale(const ValeLocal& vale);

// The identity the server records the voucher under: its own, or for a voucher stored
// before identities existed, one made from its local number and its content.
Identidad identidad_de(const ValeLocal& vale, const std::string& estacion, long n_interno);

// A pending voucher as the entry list and the upload list it: every voucher of the store
// not yet sent, with its product's name when the local copy still holds the product (one
// retired or removed by a later download is still the store's voucher, listed and sent).
struct ValePendiente {
    long n_interno = 0;
    rt::Fecha fecha;
    double bodega = 0;
    std::string producto, formula;  // as stored
    std::string nombre_producto;    // "" when the copy no longer holds the product
    double cantidad = 0, malas = 0;
    std::string estado;
};
// In ascending local number, each once; nothing when the store cannot be read.
std::optional<std::vector<ValePendiente>> leer_pendientes(rt::TODBC& RS);

// "update vales_cab set c_estado='2' ...": true when the store took it.
bool marcar_enviado(rt::TODBC& RS, long n_interno);

// Removes the voucher `n_interno`, header and items together or neither; true when done.
bool eliminar_vale_local(rt::TODBC& RS, long n_interno);

}  // namespace datos
