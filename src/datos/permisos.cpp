#include "datos/permisos.h"

#include <algorithm>
#include <optional>
#include <string>

#include "datos/consulta.h"

namespace datos {
namespace {

// The code is also a column name of usuarios and goes into the statement unquoted: only a
// plain identifier may, anything else is refused like a column that does not exist.
bool nombre_de_columna(std::string_view code) {
    return !code.empty() && std::all_of(code.begin(), code.end(), [](unsigned char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_';
    });
}

std::optional<TMySQLQuery> leer(TMySQLServer* servidor, const std::string& sql) {
    auto q = consulta(servidor, sql);
    if (fallo(q)) return std::nullopt;
    return q;
}

}  // namespace

Permiso permiso(TMySQLServer* servidor, std::string_view codigo, std::string_view usuario) {
    {
        auto res = leer(servidor, "select l_activo from nombre_accesos where cod_acceso='" +
                                      texto_sql(servidor, codigo) + "' ");
        if (!res) return Permiso::sin_consulta;
        if (res->LastRec() == 0) return Permiso::inexistente;
        if (!res->FieldGet(1).logical()) return Permiso::desactivado;
    }
    if (!nombre_de_columna(codigo)) return Permiso::sin_consulta;
    auto res =
        leer(servidor, "select l_full_accesos, " + std::string(codigo) +
                           " from usuarios where usuario='" + texto_sql(servidor, usuario) + "' ");
    if (!res) return Permiso::sin_consulta;
    // The row of blanks that an empty result gives reads as false in both columns.
    return res->FieldGet(1).logical() || res->FieldGet(2).logical() ? Permiso::concedido
                                                                    : Permiso::negado;
}

}  // namespace datos
