#include "vales/fuera_de_linea/vales_productos.h"

#include <string>

#include "abm/lista_productos.h"
#include "runtime/common/codepage.h"
#include "ui/resguardo.h"
#include "ui/rutinas2.h"
#include "ui/tablas_trabajo.h"
#include "vales/fuera_de_linea/busqueda_almacen.h"

namespace vales {
namespace {

namespace tablas = ui::tablas;

// Empties the table and fills it with the products a search finds; false, after saying
// so, when the store refused it (the table keeps its rows).
bool buscar(rt::TODBC& RS, rt::wt::WorkTable& t, abm::ModoBusqueda modo, const cp::Oem& texto) {
    const std::string sql =
        "select codi_prod, codi_form, desc_prod, desc_form, l_activo, l_vigente from "
        "prodvtas " +
        abm::condicion_busqueda(modo, texto, "desc_prod", "codi_prod", rt::mdb_quote) +
        "and mid(codi_prod,06,04)<>'0000' and l_activo=true";
    return buscar_en_almacen(RS, t, sql, "Error: No se pueden recuperar productos", [&] {
        t.append();
        t.set_text("CODIGO", cp::ansi_to_oem(RS.FieldValue("CODI_PROD")).str());
        t.set_text("CODI_FORM", cp::ansi_to_oem(RS.FieldValue("CODI_FORM")).str());
        t.set_text("DESCRIP", cp::ansi_to_oem(RS.FieldValue("DESC_PROD")).str());
        t.set_text("DESC_FORM", cp::ansi_to_oem(RS.FieldValue("DESC_FORM")).str());
        t.set_logical("L_VIGENTE", RS.FieldValue("L_VIGENTE") == "1");
        t.set_logical("L_ACTIVO", RS.FieldValue("L_ACTIVO") == "1");
    });
}

}  // namespace

void VALES_PRODUCTOS(rt::TODBC& RS, bool elegir, bool con_formula) {
    ui::Resguardo resguardo("n/bg,r/w,,,n/w");
    abm::TablaLista ayuda(ui::NOMARCH2("dbf", "temp/"), tablas::productos(),
                          tablas::kProductosAlias, cp::OemView::cp850(tablas::kProductosOpenError));
    ayuda.indice(ui::NOMARCH2("ntx", "temp/"), tablas::kProductosKeyCode);
    ayuda.indice(ui::NOMARCH2("ntx", "temp/"), tablas::kProductosKeyName);
    rt::wt::WorkTable& t = *ayuda;
    t.set_order(2);  // by name

    abm::DisenoLista lista = abm::diseno_productos(t, {elegir, true, con_formula});
    lista.color_campo = "+bg/bg";
    lista.teclear_quita_filtro = true;
    lista.buscar = [&RS, &t](abm::ModoBusqueda modo, const cp::Oem& texto) {
        return buscar(RS, t, modo, texto);
    };
    abm::ListaBusqueda(t, std::move(lista)).correr();
}

}  // namespace vales
