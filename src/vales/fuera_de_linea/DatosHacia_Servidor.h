#pragma once
// Main-menu entry 7: every pending voucher of the off-line store sent to the server in one
// batch, in the order they were recorded, each exactly once (envio_vales.h).
#include <string>

#include "runtime/offline/todbc.h"

namespace vales {

void DATOSHACIA_SERVIDOR();
// The same on another store (tests, benchmarks).
void DATOSHACIA_SERVIDOR(const std::string& conexion_local);

}  // namespace vales
