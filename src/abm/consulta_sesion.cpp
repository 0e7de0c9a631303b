#include "abm/consulta_sesion.h"

#include "datos/sesion.h"

namespace abm {

std::optional<TMySQLQuery> consulta(std::string_view sql) {
    auto& server = datos::ses().OSERVER;
    if (!server) return std::nullopt;
    return server->Query(sql);
}

std::string sqltexto(std::string_view text) {
    return rt::mysql_escape(datos::ses().OSERVER.get(), text);
}

}  // namespace abm
