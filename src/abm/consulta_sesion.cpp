#include "abm/consulta_sesion.h"

#include "datos/sesion.h"

namespace abm {

std::optional<TMySQLQuery> consulta(std::string_view sql) {
    return datos::consulta(datos::ses().OSERVER.get(), sql);
}

std::string sqltexto(std::string_view text) {
    return datos::texto_sql(datos::ses().OSERVER.get(), text);
}

}  // namespace abm
