#include "datos/estacion_local.h"

#include <string_view>

#include "datos/almacen.h"
#include "runtime/offline/store_creation.h"

namespace datos {
namespace {

std::optional<std::string> leer(rt::TODBC& RS) {
    if (!ejecutar(RS, "select id_estacion from estacion where unica=1") || RS.LastRec() != 1)
        return std::nullopt;
    std::string id = RS.FieldValue("id_estacion");
    RS.Close();
    if (id.size() != 32) return std::nullopt;
    return id;
}

// The table and its one row, as one unit. "if not exists" and "or ignore" let two copies
// of the program do this at the same time: the first identity made is the one kept.
bool dar_identidad(rt::TODBC& RS) {
    const std::string tabla = resto_del_esquema("CREATE TABLE estacion");
    const std::string fila = resto_del_esquema("INSERT INTO estacion");
    if (tabla.empty() || fila.empty() || !RS.BeginTransaction()) return false;
    const bool hecho = ejecutar(RS, "CREATE TABLE IF NOT EXISTS estacion" + tabla) &&
                       ejecutar(RS, "INSERT OR IGNORE INTO estacion" + fila) &&
                       RS.CommitTransaction();
    RS.Close();
    if (!hecho) RS.RollbackTransaction();
    return hecho;
}

}  // namespace

std::string resto_del_esquema(std::string_view comienzo) {
    const std::string_view esquema = rt::offline_schema();
    const auto desde = esquema.find(comienzo);
    if (desde == std::string_view::npos) return {};
    auto hasta = esquema.find(';', desde);
    // A trigger's body holds statements of its own: it ends at its END.
    const auto cuerpo = esquema.find("BEGIN", desde);
    if (cuerpo < hasta) hasta = esquema.find(';', esquema.find("END", cuerpo));
    return std::string(esquema.substr(desde + comienzo.size(), hasta - desde - comienzo.size()));
}

std::optional<std::string> identidad_estacion(rt::TODBC& RS) {
    if (auto id = leer(RS)) return id;
    if (!dar_identidad(RS)) return std::nullopt;
    return leer(RS);
}

}  // namespace datos
