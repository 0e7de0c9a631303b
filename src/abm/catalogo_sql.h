#pragma once
// Small pieces shared by the catalogue operations around their statements: the server's
// error text of a failed statement, the message that shows it, and the width of a text
// column.
#include <optional>
#include <string>
#include <string_view>

#include "datos/escritura.h"
#include "runtime/common/oem.h"
#include "runtime/server/tmysql.h"

namespace abm {

// The server's message for a failed statement ("No connection to server" without one).
std::string error_servidor(std::optional<TMySQLQuery>& q);
// "Error:" and the server's message, in a message box.
void mostrar_error(std::optional<TMySQLQuery>& q);
// "Error:;" and the server's message, in the alert box (two lines).
void alertar_error(std::optional<TMySQLQuery>& q);
// How a refused write is shown: in a message box or in the alert box.
enum class Aviso { caja, alerta };
// Tells the user what became of a write: refused (with the server's text), changed first by
// another user (`cambiada`), or unknown. True when it was done.
bool grabacion_hecha(const datos::Escritura& e, Aviso aviso, cp::OemView cambiada = {});

// The width of a column of the result as the server describes it (known even without
// rows), or `omision` when the result has no such column.
std::size_t ancho_columna(const TMySQLQuery& q, std::string_view columna, std::size_t omision);

}  // namespace abm
