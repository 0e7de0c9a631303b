#include "abm/lista_busqueda.h"

#include <utility>

#include "abm/catalogo_sql.h"
#include "abm/consulta_sesion.h"
#include "abm/salir.h"
#include "runtime/common/texto.h"
#include "runtime/forms/mask.h"
#include "runtime/screen/console.h"
#include "runtime/screen/keys.h"
#include "ui/rutinas2.h"

namespace abm {
namespace {

constexpr cp::OemView kMarcoDoble = cp::OemView::cp850("\xC9\xCD\xBB\xBA\xBC\xCD\xC8\xBA ");
constexpr cp::OemView kLinea8 = cp::OemView::cp850("\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4");
constexpr int kFilaEstado = 28, kFilaBuscar = 29, kFilaFinMarco = 33;
constexpr int kLargoCampo = static_cast<int>(Busqueda::kLargo);

}  // namespace

ListaBusqueda::ListaBusqueda(rt::wt::WorkTable& tabla, DisenoLista diseno)
    : tabla_(tabla),
      diseno_(std::move(diseno)),
      browser_(tabla, diseno_.top, diseno_.left, diseno_.bottom, diseno_.right) {
    browser_.add_column(diseno_.encabezado, diseno_.fila);
    browser_.set_colour("w/bg,+w/r");
    browser_.set_heading_separator(cp::OemView::cp850("\xC4\xC2\xC4"));
    browser_.set_column_separator(cp::OemView::cp850(" \xB3 "));
}

void ListaBusqueda::correr() {
    dibujar_marco();
    if (diseno_.carga_inicial && diseno_.carga_inicial() && diseno_.carga_cuenta)
        busqueda_.contar(static_cast<long>(tabla_.rec_count()));
    browser_.go_top();
    rt::browse_keys(
        browser_, [this](int key) { return tecla(key); }, diseno_.tras_estabilizar);
}

void ListaBusqueda::dibujar_marco() {
    rt::Console& c = rt::con();
    const int izq = diseno_.left, der = diseno_.right;
    c.fill_box(diseno_.top - 1, izq - 1, kFilaFinMarco, der + 1, kMarcoDoble, "+gr/bg");
    if (!diseno_.titulo.empty()) c.write_at(diseno_.top - 1, izq, diseno_.titulo, "+gr/bg");
    // A line under the browser (the status line itself when the browser reaches it).
    c.fill_box(diseno_.bottom + 1, izq, diseno_.bottom + 1, der, rt::kSingleFrame, "w/bg");
    c.fill_box(kFilaEstado, izq, kFilaEstado, der, rt::kSingleFrame, "w/bg");
    c.write_at(kFilaBuscar, diseno_.columna_buscar, "Buscar:<", "w/bg");
    c.write_at(kFilaBuscar, diseno_.columna_buscar + 8 + kLargoCampo, ">", "w/bg");
    for (const LineaTeclas& t : diseno_.teclas)
        ui::MSG(t.texto, t.fila, t.columna, t.ancho, "w/bg", "+gr/bg");
}

rt::BrowseKey ListaBusqueda::tecla(int key) {
    if (diseno_.tecla_propia) {
        const rt::BrowseKey propia = diseno_.tecla_propia(key, *this);
        if (propia != rt::BrowseKey::kShared) return propia;
    }
    return tecla_de_busqueda(key) ? rt::BrowseKey::kHandled : rt::BrowseKey::kShared;
}

bool ListaBusqueda::tecla_de_busqueda(int key) {
    switch (key) {
        case rt::key::kF8:
            if (busqueda_.vacia()) return false;
            buscar(ModoBusqueda::kFiltro);
            return true;
        case rt::key::kF10:
            if (!diseno_.f10_rebusca || busqueda_.vacia()) return false;
            buscar(busqueda_.filtro() ? ModoBusqueda::kFiltro : ModoBusqueda::kPrefijo);
            return true;
        case rt::key::kEnter:
            if (!busqueda_.nueva()) return false;
            buscar(ModoBusqueda::kPrefijo);
            return true;
        case rt::key::kDel:
            if (busqueda_.vacia()) return false;
            busqueda_.borrar();
            vaciar();
            return true;
        case rt::key::kBackspace:
            if (busqueda_.vacia()) return false;
            if (busqueda_.retroceder()) {
                buscar(ModoBusqueda::kPrefijo);
            } else {
                vaciar();
            }
            return true;
        default:
            break;
    }
    if (!busqueda_.teclear(key)) return false;
    if (diseno_.teclear_quita_filtro) busqueda_.sin_filtro();
    mostrar_estado(false);
    return true;
}

void ListaBusqueda::buscar(ModoBusqueda modo) {
    rt::Console& c = rt::con();
    busqueda_.empezar(modo);
    const int col = diseno_.columna_buscando;
    ui::BOX(20, col, 22, col + 15, "+w/r");
    c.write_at(21, col + 2, "Buscando...", "+gr/r");
    c.flush();
    if (diseno_.buscar(modo, busqueda_.texto())) {
        busqueda_.contar(static_cast<long>(tabla_.rec_count()));
        browser_.go_top();
    }
    browser_.refresh_all();  // also over the "Buscando..." box when the search failed
    mostrar_estado(true);
}

void ListaBusqueda::vaciar() {
    busqueda_.contar(0);
    tabla_.zap();
    browser_.go_top();
    mostrar_estado(false);
}

void ListaBusqueda::mostrar_estado(bool recien_buscado) {
    rt::Console& c = rt::con();
    c.write_at(kFilaEstado, diseno_.columna_filtro,
               busqueda_.filtro() ? cp::OemView("(filtro)") : kLinea8, "w/bg");
    c.write_at(kFilaEstado, diseno_.columna_cuenta, kLinea8, "w/bg");
    const double cuenta = static_cast<double>(busqueda_.cuenta());
    c.write_at(kFilaEstado, diseno_.columna_cuenta,
               "(" + rt::format_with_mask(rt::Value(cuenta), "999999").trimmed() + ")", "w/bg");
    const std::string_view color = recien_buscado ? "+w/bg" : "+g/bg";
    const int col = diseno_.columna_buscar + 8;
    c.write_at(kFilaBuscar, col, cp::Oem(Busqueda::kLargo, ' '),
               diseno_.color_campo.empty() ? color : std::string_view(diseno_.color_campo));
    c.write_at(kFilaBuscar, col, busqueda_.texto(), color);
}

TablaLista::TablaLista(std::string_view ruta, const rt::wt::Structure& estructura,
                       std::string_view alias, cp::OemView error_apertura) {
    if (!tabla_.open(ruta, estructura, alias)) {
        ui::MSGBOX(error_apertura);
        SALIR();
    }
}

bool hay_codigo(const rt::wt::WorkTable& t) {
    return !t.eof() && !rt::trim(t.text("CODIGO")).empty();
}

bool buscar_en_servidor(std::string_view sql, const std::function<void(TMySQLQuery&)>& llenar) {
    auto res = consulta(sql);
    if (fallo(res)) {
        mostrar_error(res);
        return false;
    }
    llenar(*res);
    return true;
}

}  // namespace abm
