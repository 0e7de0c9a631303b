#pragma once
// The identity of this workstation, kept in its off-line store: 32 hexadecimal digits made
// at random when the store is created and never changed. With a voucher's local number it
// names that voucher among those of every workstation (the server records the pair with
// each voucher it receives from an off-line store).
#include <optional>
#include <string>
#include <string_view>

#include "runtime/offline/todbc.h"

namespace vales {

// The store's identity. A store made before identities existed gets its table and its
// identity here, the first time one is asked for (nothing else in it changes). nullopt
// when the store can be neither read nor given one; nothing is shown.
std::optional<std::string> identidad_estacion(rt::TODBC& RS);

// The rest of the statement of the store's schema that begins with `comienzo`, up to its
// semicolon: a table of a newer store is made in an older one exactly as a new store has
// it. Empty when the schema has no such statement.
std::string resto_del_esquema(std::string_view comienzo);

}  // namespace vales
