#include "abm/consulta_sesion.h"

#include "comun/sesion.h"

namespace abm {

std::optional<TMySQLQuery> consulta(std::string_view sql) {
    auto& server = vales::ses().OSERVER;
    if (!server) return std::nullopt;
    return server->Query(sql);
}

}  // namespace abm
