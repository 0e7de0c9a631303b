#pragma once
// Entry 6 of the main menu: copies the master data that off-line entry validates against
// (products and formulas, formula activities, activities, especificaciones, operators and
// warehouses) from the company's server into the off-line store, one table or all six, and
// shows how many rows each local copy holds.
//
// Each table is copied inside one transaction on the store: the local copy ends up either
// holding exactly the server's rows or exactly what it held before. A copy never leaves a
// table emptied or half filled, whatever fails (the server read, the store, the disk).
#include <string>

#include "runtime/offline/todbc.h"

namespace vales {

// The program's store, datos/vales.mdb.
void DATOSDESDE_SERVIDOR();
// The same on the store reached through `conexion_local` (tests use a scratch store).
void DATOSDESDE_SERVIDOR(const std::string& conexion_local);
// The same on a store connection the caller holds (tests use it to limit the store's size).
void DATOSDESDE_SERVIDOR(rt::TODBC& RS);

}  // namespace vales
