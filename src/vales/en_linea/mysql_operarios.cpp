#include "vales/en_linea/mysql_operarios.h"

#include <string>

#include "abm/consulta_sesion.h"
#include "abm/lista_busqueda.h"
#include "vales/ingreso/ayuda_operarios.h"

namespace vales {
namespace {

// Empties the table and fills it with the operators of a statement; false when the server
// refused the statement (it says why; the table keeps its rows).
bool llenar(rt::wt::WorkTable& t, const std::string& sql, bool con_estado) {
    return abm::buscar_en_servidor(sql, [&](TMySQLQuery& res) {
        t.zap();
        for (long n = 1; n <= res.LastRec(); ++n) {
            const auto fila = res.GetRow(n);
            agregar_operario(t, fila->FieldGet("rut").text(), fila->FieldGet("digito_verif").text(),
                             fila->FieldGet("nom_oper").text(),
                             fila->FieldGet("codi_oper").number(),
                             con_estado && fila->FieldGet("ope_activo").logical());
        }
        t.go_top();
    });
}

}  // namespace

void MYSQL_OPERARIOS(bool elegir) {
    FuenteOperarios fuente;
    fuente.carga_inicial = [](rt::wt::WorkTable& t) {
        llenar(t, "select * from operario where ope_activo order by nom_oper", true);
    };
    fuente.buscar = [](rt::wt::WorkTable& t, abm::ModoBusqueda modo, const cp::Oem& texto) {
        return llenar(t, busqueda_operarios(modo, texto, abm::sqltexto), false);
    };
    correr_ayuda_operarios(elegir, fuente);
}

}  // namespace vales
