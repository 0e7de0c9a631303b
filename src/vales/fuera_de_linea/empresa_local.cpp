#include "vales/fuera_de_linea/empresa_local.h"

#include "datos/estacion_local.h"
#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "ui/rutinas2.h"

namespace vales {
namespace {

bool ejecutar(rt::TODBC& RS, const std::string& sql) {
    RS.SetSQL(sql);
    const bool ok = RS.Open();
    RS.Close();
    return ok;
}

// The store's company when it is not the session's.
std::optional<std::string> otra_empresa(rt::TODBC& RS) {
    auto codigo = empresa_local(RS);
    if (codigo && *codigo != rt::trim(datos::ses().COD_EMPRESA)) return codigo;
    return std::nullopt;
}

bool hay_pendientes(rt::TODBC& RS) {
    RS.SetSQL("select count(*) as cantidad from vales_cab where c_estado<>'2'");
    // A store whose vouchers cannot be counted is taken to hold some.
    const bool hay = !RS.Open() || rt::store_number(RS.FieldValue("CANTIDAD")) > 0;
    RS.Close();
    return hay;
}

}  // namespace

std::optional<std::string> empresa_local(rt::TODBC& RS) {
    RS.SetSQL("select cod_empresa from empresa where unica=1");
    std::optional<std::string> codigo;
    if (RS.Open() && RS.LastRec() == 1) codigo = rt::trim(RS.FieldValue("COD_EMPRESA"));
    RS.Close();
    return codigo;
}

bool registrar_empresa_local(rt::TODBC& RS) {
    const std::string tabla = datos::resto_del_esquema("CREATE TABLE empresa");
    return !tabla.empty() && ejecutar(RS, "CREATE TABLE IF NOT EXISTS empresa" + tabla) &&
           ejecutar(RS, "INSERT OR REPLACE INTO empresa (unica, cod_empresa) VALUES (1, '" +
                            rt::mdb_quote(rt::trim(datos::ses().COD_EMPRESA)) + "')");
}

bool envio_a_la_empresa_de_la_sesion(rt::TODBC& RS) {
    const auto otra = otra_empresa(RS);
    if (!otra) return true;
    ui::MSGBOX("Los vales de la base local son de la empresa " + cp::ansi_to_oem(*otra) +
               ": conéctese a esa empresa para enviarlos"_oem);
    return false;
}

bool descarga_de_la_empresa_de_la_sesion(rt::TODBC& RS) {
    const auto otra = otra_empresa(RS);
    if (!otra || !hay_pendientes(RS)) return true;
    ui::MSGBOX("Hay vales pendientes de la empresa " + cp::ansi_to_oem(*otra) +
               ": envíelos antes de cambiar de empresa"_oem);
    return false;
}

}  // namespace vales
