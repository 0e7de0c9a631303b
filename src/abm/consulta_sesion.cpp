#include "abm/consulta_sesion.h"

#include "comun/sesion.h"

namespace abm {

std::optional<TMySQLQuery> consulta(std::string_view sql) {
    auto& server = vales::ses().OSERVER;
    if (!server) return std::nullopt;
    return server->Query(sql);
}

std::string sqltexto(std::string_view text) {
    return rt::mysql_escape(vales::ses().OSERVER.get(), text);
}

}  // namespace abm
