#include "vales/origen_vales.h"

#include <cmath>

#include "abm/consulta_sesion.h"

namespace vales {
namespace {

using abm::consulta;
using abm::fallo;
using abm::sqlnum;
using abm::sqltexto;

// As sql/schema.sql defines it for a new company database.
constexpr const char* kTablaOrigen =
    "create table if not exists vales_origen (estacion char(32) not null, n_interno int not "
    "null, nume_folio int not null, enviado timestamp not null default current_timestamp, "
    "primary key (estacion, n_interno)) engine=InnoDB default charset=latin1";

}  // namespace

bool asegurar_tabla_origen() {
    if (!fallo(consulta("select estacion from vales_origen limit 0"))) return true;
    return !fallo(consulta(kTablaOrigen));
}

std::optional<long> folio_de_origen(const OrigenVale& origen) {
    auto res = consulta("select nume_folio from vales_origen where estacion='" +
                        sqltexto(origen.estacion) +
                        "' and n_interno=" + sqlnum(static_cast<double>(origen.n_interno)));
    if (fallo(res)) return std::nullopt;
    if (res->LastRec() == 0) return 0L;
    return std::lround(res->FieldGet("nume_folio").number());
}

std::string insercion_origen(const OrigenVale& origen, long folio) {
    return "insert into vales_origen (estacion, n_interno, nume_folio) values ('" +
           sqltexto(origen.estacion) + "', " + sqlnum(static_cast<double>(origen.n_interno)) +
           ", " + sqlnum(static_cast<double>(folio)) + ")";
}

}  // namespace vales
