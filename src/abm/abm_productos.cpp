// The product catalogue: searched on the server, shown from a work table in description
// or code order, with the stock panel, the cost, the product form and the supervisor jobs.
#include "abm/abm_productos.h"

#include <string>
#include <vector>

#include "abm/abm_productos_edicion.h"
#include "abm/abm_rutinas.h"
#include "abm/abm_rutinas2.h"
#include "abm/busqueda.h"
#include "abm/catalogo_sql.h"
#include "abm/consulta_sesion.h"
#include "abm/productos_anterior.h"
#include "abm/productos_tabla.h"
#include "abm/resguardo.h"
#include "abm/rutinas2.h"
#include "abm/saldos_anteriores.h"
#include "abm/salir.h"
#include "runtime/browse/browse_loop.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/forms/mask.h"
#include "runtime/screen/console.h"
#include "runtime/worktables/tables.h"
#include "runtime/worktables/temp_table.h"

namespace abm {

namespace {

namespace tablas = rt::wt::tables;

constexpr int kOrdenCodigo = 1, kOrdenDescripcion = 2;
constexpr int kAnchoFila = 70;

cp::OemView oem(std::string_view cp850) {
    return cp::OemView::cp850(cp850);
}
const cp::OemView kMarcoDoble = oem("\xC9\xCD\xBB\xBA\xBC\xCD\xC8\xBA ");
const cp::OemView kFlechasOrden = oem("\x19\x19");
cp::Oem linea(int largo) {
    return cp::Oem(std::string(static_cast<std::size_t>(largo), '\xC4'));
}

void dibujar_pantalla() {
    rt::Console& c = rt::con();
    c.fill_box(4, 27, 33, 98, kMarcoDoble, "+gr/bg");
    c.write_at(4, 28, "<Productos>", "+gr/bg");
    c.write_at(26, 28, linea(70), "w/bg");
    c.write_at(28, 28, linea(70), "w/bg");
    c.write_at(29, 35, "Buscar:<", "w/bg");
    c.write_at(29, 93, ">", "w/bg");
    MSG("[F2]Stock [F5]Orden [F6]Fórmula [F8]Filtro [F10]Re-Buscar [F12]Activos"_oem, 31, 28, 70,
        "w/bg", "+gr/bg");
    MSG(oem("[\x1B]Seleccionar  [Enter]Buscar  [INS]Agregar  [Control+Enter]Modificar"), 32, 28, 70,
        "w/bg", "+gr/bg");
    c.write_at(33, 28, oem("[\x18][\x19]"), "+gr/bg");
}

class ListaProductos {
  public:
    ListaProductos(rt::wt::WorkTable& tabla, bool seleccion, bool enter_entre)
        : tabla_(tabla),
          lista_(tabla, 5, 28, 25, 97),
          seleccion_(seleccion),
          enter_entre_(enter_entre),
          panel_(rt::con().save_region(3, 1, 34, 26)),
          buscable_(
              LugarBusqueda{85, 60, 43, 55}, tabla, lista_,
              [this](const Busqueda& b, bool por_palabras) { return sentencia(b, por_palabras); },
              [&tabla](TMySQLQuery& res) { llenar_productos(tabla, res); }) {
        // The heading is as wide as the rows, so it is drawn once and the order marks on
        // its separator stay.
        lista_.add_column(
            ("Código    Frm Descripción                                        Std"_oem)
                .padded(kAnchoFila),
            [this] { return fila(); });
        lista_.set_colour("w/bg,+w/r");
        lista_.set_heading_separator(oem("\xC4\xC2\xC4"));
        lista_.set_column_separator(oem(" \xB3 "));
    }

    void correr() {
        rt::browse_keys(
            lista_, [this](int key) { return tecla(key); }, [this] { junto_a_la_fila(); });
    }

  private:
    cp::Oem fila() const {
        return cp::Oem(tabla_.text("CODIGO")) + " " + cp::Oem(tabla_.text("CODI_FORM")) + " " +
               cp::Oem(tabla_.text("DESCRIP")) + "  " +
               (tabla_.logical("L_VIGENTE") ? oem("\x11") : oem(" ")) + "  " +
               (tabla_.logical("L_ACTIVO") ? oem(" ") : oem("*"));
    }

    bool hay_codigo() const { return !tabla_.eof() && !rt::trim(tabla_.text("CODIGO")).empty(); }
    // The current row's key as the server holds it.
    std::string codigo() const { return cp::oem_to_ansi(cp::Oem(tabla_.text("CODIGO"))); }
    std::string formula() const { return cp::oem_to_ansi(cp::Oem(tabla_.text("CODI_FORM"))); }

    // What is shown beside the highlighted row before every key.
    void junto_a_la_fila() {
        rt::Console& c = rt::con();
        c.write_at(27, 32, cp::Oem(tabla_.text("DESC_FORM")).padded(50), "+bg/bg");
        c.write_at(6, 28, linea(67), "w/bg");
        c.write_at(6, orden_ == kOrdenCodigo ? 30 : 45, kFlechasOrden, "+bg/bg");
        if (panel_visible_) VERSTK("P", codigo(), formula());
    }

    rt::BrowseKey tecla(int key) {
        using rt::BrowseKey;
        namespace k = rt::key;
        switch (key) {
            case k::kIns:
                if (SISTEMA_PERMITE("acc_add_productos") && EDIT_PRODUCTOS()) lista_.refresh_all();
                return BrowseKey::kHandled;
            case k::kCtrlEnter:
                if (hay_codigo() && EDIT_PRODUCTOS(codigo(), formula(),
                                                   SISTEMA_PERMITE("acc_add_productos", {}, false)))
                    lista_.refresh_all();
                return BrowseKey::kHandled;
            case k::kLeft:
                if (seleccion_ && hay_codigo()) {
                    teclear_eleccion();
                    return BrowseKey::kLeave;
                }
                return BrowseKey::kHandled;
            case k::kF2:
                panel_visible_ = !panel_visible_;
                if (!panel_visible_) rt::con().restore_region(panel_);
                return BrowseKey::kHandled;
            case k::kF5:
                orden_ = orden_ == kOrdenCodigo ? kOrdenDescripcion : kOrdenCodigo;
                tabla_.set_order(orden_);
                lista_.refresh_all();
                return BrowseKey::kHandled;
            case k::kF6:
                if (hay_codigo()) {
                    ABM_FORMULAS(codigo(), formula());
                    releer_marcas(tabla_, codigo(), formula());
                    lista_.refresh_all();
                }
                return BrowseKey::kHandled;
            case k::kF9:
                solo_peso_cero_ = !solo_peso_cero_;
                MSGBOX(solo_peso_cero_ ? cp::OemView("Solo con pesos en cero")
                                       : cp::OemView("Todos"));
                return BrowseKey::kHandled;
            case k::kF10:
                if (!buscable_.busqueda().vacia())
                    buscable_.buscar(buscable_.busqueda().por_palabras());
                return BrowseKey::kHandled;
            case k::kF11:
                if (SISTEMA_PERMITE("acc_ver_costos", {}, false)) mostrar_costo();
                return BrowseKey::kHandled;
            case k::kF12:
                solo_activos_ = !solo_activos_;
                rt::con().write_at(5, 97, solo_activos_ ? oem(" ") : oem("*"), "+bg/bg");
                return BrowseKey::kHandled;
            case k::kCtrlF11:
                if (CONFIRMA("Ejecutar funciones internas del programador (GRABAR COSTOS) ") &&
                    PASSROOT())
                    COPIAR_COSTOS_ANTERIOR();
                return BrowseKey::kHandled;
            case k::kCtrlF12:
                if (CONFIRMA("Ejecutar funciones internas del programador") && PASSROOT())
                    SALDOS_ANTERIORES();
                return BrowseKey::kHandled;
            case k::kAltF12:
                cambiar_control_de_stock();
                return BrowseKey::kHandled;
            default:
                break;
        }
        return buscable_.tecla(key) ? BrowseKey::kHandled : BrowseKey::kShared;
    }

    void teclear_eleccion() {
        std::vector<int> teclas{rt::key::kHome};
        for (unsigned char ch : tabla_.text("CODIGO")) teclas.push_back(ch);
        if (enter_entre_) teclas.push_back(rt::key::kEnter);
        for (unsigned char ch : tabla_.text("CODI_FORM")) teclas.push_back(ch);
        teclas.push_back(rt::key::kEnter);
        rt::con().put_keys(teclas);
    }

    std::string sentencia(const Busqueda& b, bool por_palabras) const {
        std::string sql =
            "select codi_prod, codi_form, desc_prod, desc_form, l_activo, l_vigente from prodvtas ";
        sql += por_palabras ? donde_palabras(b.palabras_servidor(), "desc_prod", "codi_prod")
                            : donde_prefijo(b.texto_servidor(), "desc_prod");
        if (solo_activos_) sql += "and l_activo ";
        if (solo_peso_cero_) sql += "and peso=0 ";
        return sql;
    }

    void mostrar_costo() {
        const double costo = CALCULACOSTO(codigo(), formula(), false);
        MSGBOX(" Costo: " + rt::format_with_mask(rt::Value(costo), "@E 999,999,999.99").trimmed() +
               " ");
    }

    void cambiar_control_de_stock() {
        if (!hay_codigo()) return;
        const std::string donde = "where codi_prod='" + sqltexto(codigo()) + "' and codi_form='" +
                                  sqltexto(formula()) + "'";
        auto res = consulta("select l_ctrl_stk from prodvtas " + donde);
        if (fallo(res)) {
            mostrar_error(res);
            return;
        }
        if (res->LastRec() == 0) return;
        const bool controla = res->FieldGet("l_ctrl_stk").logical();
        if (!CONFIRMA(controla ? cp::OemView("Desea Desactivar") : cp::OemView("Desea Activar")))
            return;
        auto cambio = consulta(std::string("update prodvtas set l_ctrl_stk=") +
                               (controla ? "false" : "true") + " " + donde);
        if (fallo(cambio)) mostrar_error(cambio);
    }

    rt::wt::WorkTable& tabla_;
    rt::Browser lista_;
    bool seleccion_, enter_entre_;
    rt::SavedRegion panel_;  // what the stock panel covers
    bool solo_activos_ = true, solo_peso_cero_ = false, panel_visible_ = false;
    ListaBuscable buscable_;
    int orden_ = kOrdenDescripcion;
};

}  // namespace

void ABM_FORMULAS(std::string_view, std::string_view) {}

void ABM_PRODUCTOS(bool seleccion, bool enter_entre) {
    Resguardo resguardo("n/bg,r/w,,,n/w");
    if (!SISTEMA_PERMITE("acc_ver_productos")) return;

    rt::wt::TempTable tabla;
    const std::string ruta = NOMARCH2("dbf", "temp/");
    if (!tabla.open(ruta, tablas::productos(), tablas::catalogue_alias(ruta))) {
        MSGBOX(oem(tablas::kProductosOpenError));
        SALIR();
    }
    tabla.index(NOMARCH("ntx", "temp/"), tablas::kProductosKeyCode);
    tabla.index(NOMARCH2("ntx", "temp/"), tablas::kProductosKeyName);
    tabla->set_order(kOrdenDescripcion);

    ListaProductos lista(*tabla, seleccion, enter_entre);
    dibujar_pantalla();
    lista.correr();
}

}  // namespace abm
