#include "abm/lista_productos.h"

#include <string>

#include "runtime/common/codepage.h"

#include "runtime/screen/console.h"
#include "runtime/screen/keys.h"

namespace abm {
namespace {

constexpr int kOrdenCodigo = 1, kOrdenNombre = 2;
constexpr int kFilaOrden = 6;
constexpr std::size_t kAnchoFila = 70;

cp::Oem fila_producto(const rt::wt::WorkTable& t) {
    std::string s = t.text("CODIGO") + " " + t.text("CODI_FORM") + " " + t.text("DESCRIP");
    s += t.logical("L_VIGENTE") ? "  \x11  " : "     ";
    s += t.logical("L_ACTIVO") ? " " : "*";
    return cp::Oem(std::move(s));
}

// The formula of the highlighted product under the list, and the order's mark (↓↓) on the
// heading's line over the column it sorts on.
void junto_al_producto(const rt::wt::WorkTable& t) {
    rt::Console& c = rt::con();
    c.write_at(27, 32, cp::Oem(t.text("DESC_FORM")).padded(50), "+bg/bg");
    c.write_at(kFilaOrden, 28, cp::Oem(std::string(67, '\xC4')), "w/bg");
    c.write_at(kFilaOrden, t.order() == kOrdenCodigo ? 30 : 45, cp::OemView::cp850("\x19\x19"),
               "+bg/bg");
}

std::vector<int> teclas_de(const rt::wt::WorkTable& t, EleccionProducto eleccion) {
    std::vector<int> teclas{rt::key::kHome};
    for (unsigned char ch : t.text("CODIGO")) teclas.push_back(ch);
    if (eleccion.enter_entre) teclas.push_back(rt::key::kEnter);
    if (eleccion.con_formula) {
        for (unsigned char ch : t.text("CODI_FORM")) teclas.push_back(ch);
        teclas.push_back(rt::key::kEnter);
    }
    return teclas;
}

}  // namespace

DisenoLista diseno_productos(rt::wt::WorkTable& t, EleccionProducto eleccion) {
    DisenoLista d;
    d.top = 5, d.left = 28, d.bottom = 25, d.right = 97;
    d.columna_buscar = 35, d.columna_filtro = 85, d.columna_cuenta = 60;
    d.columna_buscando = 55;
    d.titulo = cp::Oem("<Productos>");
    // As wide as the rows, so that the heading is drawn once and the order's mark on its
    // line stays.
    d.encabezado = ("Código    Frm Descripción                                        Std"_oem)
                       .padded(kAnchoFila);
    d.fila = [&t] { return fila_producto(t); };
    d.teclas = {
        {"[F2]Stock [F5]Orden [F6]Fórmula [F8]Filtro [F10]Re-Buscar [F12]Activos"_oem, 31, 28, 70},
        {cp::Oem(std::string("[\x1B]Seleccionar  [Enter]Buscar  [INS]Agregar  "
                             "[Control+Enter]Modificar")),
         32, 28, 70},
        {cp::Oem(std::string("[\x18][\x19]")), 33, 28, 6}};
    d.f10_rebusca = true;
    d.tecla_propia = [&t, eleccion](int key, ListaBusqueda& lista) {
        return tecla_producto(key, t, lista, eleccion);
    };
    d.tras_estabilizar = [&t] { junto_al_producto(t); };
    return d;
}

rt::BrowseKey tecla_producto(int key, rt::wt::WorkTable& t, ListaBusqueda& lista,
                             EleccionProducto eleccion) {
    if (key == rt::key::kF5) {
        t.set_order(t.order() == kOrdenCodigo ? kOrdenNombre : kOrdenCodigo);
        lista.browser().refresh_all();
        return rt::BrowseKey::kHandled;
    }
    if (key != rt::key::kLeft) return rt::BrowseKey::kShared;
    // Left only chooses here; it never moves.
    if (!eleccion.elegir || !hay_codigo(t)) return rt::BrowseKey::kHandled;
    rt::con().put_keys(teclas_de(t, eleccion));
    return rt::BrowseKey::kLeave;
}

}  // namespace abm
