#pragma once
// The company an off-line store belongs to (table `empresa`): its master data was downloaded
// from that company, and the vouchers typed against it are that company's. A store that has
// no company recorded (made by an earlier version and not downloaded into since) belongs to
// none in particular.
#include <optional>
#include <string>
#include <string_view>

#include "runtime/offline/todbc.h"

namespace datos {

// The store's company code; nullopt when none is recorded.
std::optional<std::string> empresa_local(rt::TODBC& RS);

// Records `codigo` as the store's company (making the record in an older store).
bool registrar_empresa_local(rt::TODBC& RS, std::string_view codigo);

// Whether the store holds vouchers not yet sent; a store whose vouchers cannot be counted is
// taken to hold some.
bool hay_vales_pendientes(rt::TODBC& RS);

}  // namespace datos
