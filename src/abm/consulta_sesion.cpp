#include "abm/consulta_sesion.h"

#include "datos/sesion.h"

namespace abm {

std::optional<TMySQLQuery> consulta(std::string_view sql) {
    return datos::consulta(datos::ses().OSERVER.get(), sql);
}

namespace {
datos::Escritura sin_conexion() {
    return {datos::Escritura::fallida, {0, std::string(rt::kNoConnection), {}}};
}
}  // namespace

datos::Escritura escribir(const std::string& sentencia) {
    TMySQLServer* servidor = datos::ses().OSERVER.get();
    return servidor ? datos::escribir(*servidor, sentencia) : sin_conexion();
}

datos::Escritura escribir_si_sigue_igual(const std::string& lectura,
                                         const std::vector<std::string>& leidos,
                                         const std::string& cambio) {
    TMySQLServer* servidor = datos::ses().OSERVER.get();
    return servidor ? datos::escribir_si_sigue_igual(*servidor, lectura, leidos, cambio)
                    : sin_conexion();
}

std::string sqltexto(std::string_view text) {
    return datos::texto_sql(datos::ses().OSERVER.get(), text);
}

}  // namespace abm
