#pragma once
// Statements on the session's server connection (datos/consulta.h), for the catalogues and
// lookups of this folder.
#include <optional>
#include <string>
#include <string_view>

#include "datos/consulta.h"
#include "datos/sentencias.h"

namespace abm {

using datos::fallo;
using datos::hay_filas;

// Runs `sql` on datos::ses().OSERVER.
std::optional<TMySQLQuery> consulta(std::string_view sql);

// A text value as it goes between single quotes in a statement on the session's
// connection, escaped for that server's SQL mode.
std::string sqltexto(std::string_view text);
// A number as statement text, without blanks.
inline std::string sqlnum(double number) {
    return datos::numero_sql(number);
}

}  // namespace abm
