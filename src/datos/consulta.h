#pragma once
// Statements on the company server: the one way the program runs a statement whose failure
// it judges itself (sentencias.h runs series that the first failure stops, on top of it).
#include <optional>
#include <string>
#include <string_view>

#include "runtime/server/tmysql.h"

namespace datos {

// Runs `sql` on `servidor`: its result, failed or not. Without a connection there is no
// result, which callers treat as a failed statement.
std::optional<TMySQLQuery> consulta(TMySQLServer* servidor, std::string_view sql);
inline bool fallo(const std::optional<TMySQLQuery>& q) {
    return !q || q->NetErr();
}
// At least one row came back.
inline bool hay_filas(const std::optional<TMySQLQuery>& q) {
    return q && !q->NetErr() && q->LastRec() > 0;
}

// A text value as it goes between single quotes in a statement on `servidor`, escaped for
// that server's SQL mode.
inline std::string texto_sql(const TMySQLServer* servidor, std::string_view texto) {
    return rt::mysql_escape(servidor, texto);
}

}  // namespace datos
