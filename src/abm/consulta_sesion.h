#pragma once
// Statements on the session's server connection, for the lookups of this folder.
#include <optional>
#include <string>
#include <string_view>

#include "runtime/server/tmysql.h"

namespace abm {

// Runs `sql` on datos::ses().OSERVER. Without a connection there is no result, which
// callers treat as a failed statement.
std::optional<TMySQLQuery> consulta(std::string_view sql);
inline bool fallo(const std::optional<TMySQLQuery>& q) {
    return !q || q->NetErr();
}
// At least one row came back.
inline bool hay_filas(const std::optional<TMySQLQuery>& q) {
    return q && !q->NetErr() && q->LastRec() > 0;
}

// A text value as it goes between single quotes in a statement on the session's
// connection, escaped for that server's SQL mode.
std::string sqltexto(std::string_view text);
// A number as statement text, without blanks.
inline std::string sqlnum(double number) {
    return rt::mysql_number(number);
}

}  // namespace abm
