// Storing a voucher typed off-line, header and items as one unit.
#include "vales/vales_ingreso_off_line.h"
#include "abm/rutinas2.h"

namespace vales {
namespace {

using rt::mdb_number;
using rt::mdb_quote;

bool ejecutar(rt::TODBC& RS, const std::string& sql) {
    RS.SetSQL(sql);
    return RS.Open();
}

// Quantities are kept with their two decimals ("150.00").
std::string cantidad(double x) {
    return mdb_number(x, 2);
}

std::string insercion_cabecera(const DatosCab& cab) {
    return "insert into vales_cab (codi_prod, codi_form, num_bodega, fecha, cantidad, malas, "
           "c_estado) values('" +
           mdb_quote(cab.producto) + "', '" + mdb_quote(cab.formula) + "', " +
           mdb_number(cab.bodega) + ", '" + cab.fecha.text() + "', " + cantidad(cab.cantidad) +
           ", " + cantidad(cab.malas) + ", '1')";
}

std::string insercion_item(const std::string& interno, const DatosItm& item) {
    return "insert into vales_itm (n_interno, codi_actividad, codi_oper, codi_especif, hora_ini, "
           "hora_fin, consumo, cantidad) values(" +
           interno + ",'" + mdb_quote(item.actividad) + "'," + mdb_number(item.operario) + ",'" +
           mdb_quote(item.especificacion) + "','" + mdb_quote(item.hora_inicio) + "','" +
           mdb_quote(item.hora_termino) + "'," + mdb_number(item.cantidad_unitaria) + "," +
           cantidad(item.cantidad) + ")";
}

// The local number of the header just inserted. Inside the transaction the store is this
// connection's alone from the first insert on, so the highest number is this voucher's.
long numero_interno(rt::TODBC& RS) {
    if (!ejecutar(RS, "select Max(n_interno) as ult_interno from vales_cab")) return 0;
    return static_cast<long>(rt::store_number(RS.FieldValue("ULT_INTERNO")));
}

bool grabar(rt::TODBC& RS, const DatosCab& cab, const std::vector<DatosItm>& items) {
    if (items.empty() || !ejecutar(RS, insercion_cabecera(cab))) return false;
    const long n = numero_interno(RS);
    if (n <= 0) return false;
    const std::string interno = mdb_number(static_cast<double>(n));
    for (const DatosItm& item : items) {
        if (!ejecutar(RS, insercion_item(interno, item))) return false;
    }
    return true;
}

}  // namespace

bool GRABARVALE_LOCAL(rt::TODBC& RS, const DatosCab& header, const std::vector<DatosItm>& items) {
    bool ok = RS.BeginTransaction();
    ok = ok && grabar(RS, header, items) && RS.CommitTransaction();
    RS.Close();
    if (!ok) {
        RS.RollbackTransaction();
        abm::MSGBOX("Error: No se puede grabar vale en archivos temporales");
    }
    return ok;
}

}  // namespace vales
