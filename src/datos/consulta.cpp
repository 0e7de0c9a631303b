#include "datos/consulta.h"

namespace datos {

std::optional<TMySQLQuery> consulta(TMySQLServer* servidor, std::string_view sql) {
    if (!servidor) return std::nullopt;
    return servidor->Query(sql);
}

}  // namespace datos
