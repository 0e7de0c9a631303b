#pragma once
// Main-menu entry 5: the pending vouchers of the off-line store in a browser, from which the
// highlighted one is sent to the server (F8) or deleted from the store (Del).
#include <string>

namespace vales {

void LISTA_INGRESOS();
// The same on another store (tests).
void LISTA_INGRESOS(const std::string& conexion_local);

}  // namespace vales
