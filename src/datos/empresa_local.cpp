#include "datos/empresa_local.h"

#include "datos/almacen.h"
#include "datos/estacion_local.h"
#include "runtime/common/texto.h"

namespace datos {

std::optional<std::string> empresa_local(rt::TODBC& RS) {
    std::optional<std::string> codigo;
    if (ejecutar(RS, "select cod_empresa from empresa where unica=1") && RS.LastRec() == 1)
        codigo = rt::trim(RS.FieldValue("COD_EMPRESA"));
    RS.Close();
    return codigo;
}

bool registrar_empresa_local(rt::TODBC& RS, std::string_view codigo) {
    const std::string tabla = resto_del_esquema("CREATE TABLE empresa");
    const bool hecho =
        !tabla.empty() && ejecutar(RS, "CREATE TABLE IF NOT EXISTS empresa" + tabla) &&
        ejecutar(RS, "INSERT OR REPLACE INTO empresa (unica, cod_empresa) VALUES (1, '" +
                         rt::mdb_quote(rt::trim(codigo)) + "')");
    RS.Close();
    return hecho;
}

bool hay_vales_pendientes(rt::TODBC& RS) {
    const bool hay =
        !ejecutar(RS, "select count(*) as cantidad from vales_cab where c_estado<>'2'") ||
        numero_en(RS, "CANTIDAD") > 0;
    RS.Close();
    return hay;
}

}  // namespace datos
