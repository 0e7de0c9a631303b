#pragma once
// The identity of this workstation's off-line store: 32 hexadecimal digits made at random
// when the store is created and never changed. The server keeps it, with the voucher's
// local number, beside each voucher it receives from the store, so that a voucher can be
// traced to where it was typed (a copy of the store shares it: the vouchers' own
// identities, vales_locales.h, are what keeps them apart).
#include <optional>
#include <string>
#include <string_view>

#include "runtime/offline/todbc.h"

namespace datos {

// The store's identity. A store made before identities existed gets its table and its
// identity here, the first time one is asked for (nothing else in it changes). nullopt
// when the store can be neither read nor given one; nothing is shown.
std::optional<std::string> identidad_estacion(rt::TODBC& RS);

// The rest of the statement of the store's schema that begins with `comienzo`, up to its
// semicolon (a trigger's, up to the end of its body): a table of a newer store is made in an
// older one exactly as a new store has it. Empty when the schema has no such statement.
std::string resto_del_esquema(std::string_view comienzo);

}  // namespace datos
