#pragma once
// Statements on the session's server connection (datos/consulta.h), for the catalogues and
// lookups of this folder.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "datos/consulta.h"
#include "datos/escritura.h"
#include "datos/sentencias.h"

namespace abm {

using datos::fallo;
using datos::hay_filas;

// Runs `sql` on datos::ses().OSERVER.
std::optional<TMySQLQuery> consulta(std::string_view sql);

// A write on datos::ses().OSERVER (datos/escritura.h); refused without a connection.
datos::Escritura escribir(const std::string& sentencia);
datos::Escritura escribir_si_sigue_igual(const std::string& lectura,
                                         const std::vector<std::string>& leidos,
                                         const std::string& cambio);

// A text value as it goes between single quotes in a statement on the session's
// connection, escaped for that server's SQL mode.
std::string sqltexto(std::string_view text);
// A number as statement text, without blanks.
inline std::string sqlnum(double number) {
    return datos::numero_sql(number);
}

}  // namespace abm
