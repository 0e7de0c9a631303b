#include "vales/fuera_de_linea/mdb_operarios.h"

#include <string>

#include "vales/fuera_de_linea/busqueda_almacen.h"
#include "vales/ingreso/ayuda_operarios.h"

namespace vales {
namespace {

// Empties the table and fills it with the operators of a statement on the store; false,
// after `error`, when the store refused it (the table keeps its rows).
bool llenar(rt::TODBC& RS, rt::wt::WorkTable& t, const std::string& sql, bool con_estado,
            cp::OemView error) {
    return buscar_en_almacen(RS, t, sql, error, [&] {
        agregar_operario(t, RS.FieldValue("rut"), RS.FieldValue("digito_verif"),
                         RS.FieldValue("nom_oper"), rt::store_number(RS.FieldValue("codi_oper")),
                         con_estado && RS.FieldValue("ope_activo") == "1");
    });
}

}  // namespace

void MDB_OPERARIOS(rt::TODBC& RS, bool elegir) {
    FuenteOperarios fuente;
    fuente.carga_inicial = [&RS](rt::wt::WorkTable& t) {
        llenar(RS, t, "select * from operario where ope_activo order by nom_oper", true,
               "Error: No se pueden recuperar registros de operarios");
    };
    fuente.buscar = [&RS](rt::wt::WorkTable& t, abm::ModoBusqueda modo, const cp::Oem& texto) {
        return llenar(RS, t, busqueda_operarios(modo, texto, rt::mdb_quote) + "and ope_activo ",
                      false, "Error: No se pueden recuperar registros");
    };
    fuente.teclear_quita_filtro = true;
    correr_ayuda_operarios(elegir, fuente);
}

}  // namespace vales
