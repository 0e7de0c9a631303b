#pragma once
// What the program adds to a company database beyond its original tables
// (sql/objetos_adicionales.sql, built into the program): the register of saved vouchers'
// identities. An administrator adds it once; the program's own account never needs the
// right to create tables.
#include <string>
#include <string_view>

#include "runtime/server/tmysql.h"

namespace datos {

// The text of sql/objetos_adicionales.sql.
std::string_view objetos_adicionales();

// Runs every statement of that text on `servidor` (its company database selected). Empty
// when all went well; otherwise the server's error and the statement.
std::string crear_objetos_adicionales(TMySQLServer& servidor);

}  // namespace datos
