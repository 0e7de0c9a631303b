#include "vales/vales_productos.h"

#include <string>

#include "abm/rutinas2.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/screen/console.h"
#include "runtime/screen/keys.h"
#include "runtime/worktables/tables.h"
#include "vales/lista_busqueda.h"

namespace vales {
namespace {

namespace tablas = rt::wt::tables;

constexpr int kFilaOrden = 6;
constexpr cp::OemView kMarcaOrden = cp::OemView::cp850("\x19\x19");

// Empties the table and fills it with the products a search finds; false, after saying
// so, when the store refused it (the table keeps its rows).
bool buscar(rt::TODBC& RS, rt::wt::WorkTable& t, ModoBusqueda modo, const cp::Oem& texto) {
    RS.SetSQL(
        "select codi_prod, codi_form, desc_prod, desc_form, l_activo, l_vigente from "
        "prodvtas " +
        condicion_busqueda(modo, texto, "desc_prod", "codi_prod", rt::mdb_quote) +
        "and mid(codi_prod,06,04)<>'0000' and l_activo=true");
    if (!RS.Open()) {
        RS.Close();
        abm::MSGBOX("Error: No se pueden recuperar productos");
        return false;
    }
    t.zap();
    for (RS.First(); !RS.Eof(); RS.Skip()) {
        t.append();
        t.set_text("CODIGO", cp::ansi_to_oem(RS.FieldValue("CODI_PROD")).str());
        t.set_text("CODI_FORM", cp::ansi_to_oem(RS.FieldValue("CODI_FORM")).str());
        t.set_text("DESCRIP", cp::ansi_to_oem(RS.FieldValue("DESC_PROD")).str());
        t.set_text("DESC_FORM", cp::ansi_to_oem(RS.FieldValue("DESC_FORM")).str());
        t.set_logical("L_VIGENTE", RS.FieldValue("L_VIGENTE") == "1");
        t.set_logical("L_ACTIVO", RS.FieldValue("L_ACTIVO") == "1");
    }
    RS.Close();
    t.go_top();
    return true;
}

cp::Oem fila(const rt::wt::WorkTable& t) {
    std::string s = t.text("CODIGO") + " " + t.text("CODI_FORM") + " " + t.text("DESCRIP");
    s += t.logical("L_VIGENTE") ? "  \x11  " : "     ";
    s += t.logical("L_ACTIVO") ? " " : "*";
    return cp::Oem(std::move(s));
}

// Home, the code and Enter; then, for a form with a formula field, its code and Enter.
cp::Oem eleccion(const rt::wt::WorkTable& t, bool con_formula) {
    std::string keys(1, '\x01');
    keys.append(t.text("CODIGO")).append("\r");
    if (con_formula) keys += t.text("CODI_FORM") + "\r";
    return cp::Oem(std::move(keys));
}

}  // namespace

void VALES_PRODUCTOS(rt::TODBC& RS, bool elegir, bool con_formula) {
    rt::Console& c = rt::con();
    const rt::SavedScreen pantalla = c.save_screen();
    c.set_colour("n/bg,r/w,,,n/w");
    TablaAyuda ayuda(tablas::productos(), tablas::kProductosAlias, tablas::kProductosKeyCode,
                     cp::Oem(std::string(tablas::kProductosOpenError)));
    rt::wt::WorkTable& t = ayuda.tabla();
    ayuda.agregar_indice(tablas::kProductosKeyName);
    t.set_order(2);  // by name

    ListaBusqueda lista;
    lista.top = 5, lista.left = 28, lista.bottom = 25, lista.right = 97;
    lista.columna_buscar = 35, lista.columna_filtro = 85, lista.columna_cuenta = 60;
    lista.columna_buscando = 55;
    lista.titulo = cp::Oem("<Productos>");
    lista.encabezado = "Código    Frm Descripción                                        Std"_oem;
    lista.fila = [&t] { return fila(t); };
    lista.teclas = {
        {"[F2]Stock [F5]Orden [F6]Fórmula [F8]Filtro [F10]Re-Buscar [F12]Activos"_oem, 31, 28, 70},
        {cp::Oem(std::string("[\x1B]Seleccionar  [Enter]Buscar  [INS]Agregar  "
                             "[Control+Enter]Modificar")),
         32, 28, 70},
        {cp::Oem(std::string("[\x18][\x19]")), 33, 28, 6}};
    lista.f10_rebusca = true;
    lista.buscar = [&RS, &t](ModoBusqueda modo, const cp::Oem& texto) {
        return buscar(RS, t, modo, texto);
    };
    lista.tecla_propia = [&](int key, const EstadoBusqueda&) {
        if (key == rt::key::kLeft) {
            if (!elegir || t.eof() || rt::trim(t.text("CODIGO")).empty())
                return rt::BrowseKey::kHandled;  // only chooses here; never moves
            c.put_keys(eleccion(t, con_formula));
            return rt::BrowseKey::kLeave;
        }
        if (key == rt::key::kF5) {
            c.write_at(kFilaOrden, 28, cp::Oem(std::string(67, '\xC4')), "w/bg");
            t.set_order(t.order() == 1 ? 2 : 1);
            return rt::BrowseKey::kHandled;
        }
        return rt::BrowseKey::kShared;
    };
    // The formula of the highlighted product under the list, and the order's mark over
    // the column it sorts on.
    lista.tras_estabilizar = [&] {
        c.write_at(27, 32, cp::Oem(t.text("DESC_FORM")).padded(50), "+bg/bg");
        c.write_at(kFilaOrden, t.order() == 1 ? 30 : 45, kMarcaOrden, "+bg/bg");
    };
    correr_lista_busqueda(t, lista);
    c.restore_screen(pantalla);
}

}  // namespace vales
