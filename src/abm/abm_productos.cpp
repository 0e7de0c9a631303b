// The product catalogue: searched on the server, shown from a work table in description
// or code order, with the stock panel, the cost, the product form and the supervisor jobs.
#include "abm/abm_productos.h"

#include <string>

#include "abm/abm_productos_edicion.h"
#include "abm/abm_rutinas.h"
#include "abm/abm_rutinas2.h"
#include "abm/catalogo_sql.h"
#include "abm/consulta_sesion.h"
#include "abm/lista_productos.h"
#include "abm/productos_anterior.h"
#include "abm/productos_tabla.h"
#include "abm/saldos_anteriores.h"
#include "datos/servidores.h"
#include "runtime/common/codepage.h"
#include "runtime/forms/mask.h"
#include "runtime/screen/console.h"
#include "ui/resguardo.h"
#include "ui/rutinas2.h"
#include "ui/tablas_trabajo.h"

namespace abm {

namespace {

namespace tablas = ui::tablas;

class ListaProductos {
  public:
    ListaProductos(rt::wt::WorkTable& tabla, bool seleccion, bool enter_entre)
        : tabla_(tabla),
          eleccion_{seleccion, enter_entre},
          panel_(rt::con().save_region(3, 1, 34, 26)),
          lista_(tabla, diseno()) {}

    void correr() { lista_.correr(); }

  private:
    DisenoLista diseno() {
        DisenoLista d = diseno_productos(tabla_, eleccion_);
        d.buscar = [this](ModoBusqueda modo, const cp::Oem& texto) {
            return buscar_en_servidor(sentencia(modo, texto),
                                      [this](TMySQLQuery& res) { llenar_productos(tabla_, res); });
        };
        d.tecla_propia = [this](int key, ListaBusqueda& lista) {
            const rt::BrowseKey propia = tecla(key);
            return propia != rt::BrowseKey::kShared ? propia
                                                    : tecla_producto(key, tabla_, lista, eleccion_);
        };
        d.tras_estabilizar = [this, junto = d.tras_estabilizar] {
            junto();
            if (panel_visible_) VERSTK("P", codigo(), formula());
        };
        return d;
    }

    // The current row's key as the server holds it.
    std::string codigo() const { return cp::oem_to_ansi(cp::Oem(tabla_.text("CODIGO"))); }
    std::string formula() const { return cp::oem_to_ansi(cp::Oem(tabla_.text("CODI_FORM"))); }

    rt::BrowseKey tecla(int key) {
        using rt::BrowseKey;
        namespace k = rt::key;
        switch (key) {
            case k::kIns:
                if (SISTEMA_PERMITE("acc_add_productos") && EDIT_PRODUCTOS()) refrescar();
                return BrowseKey::kHandled;
            case k::kCtrlEnter:
                if (hay_codigo(tabla_) &&
                    EDIT_PRODUCTOS(codigo(), formula(),
                                   SISTEMA_PERMITE("acc_add_productos", {}, false)))
                    refrescar();
                return BrowseKey::kHandled;
            case k::kF2:
                panel_visible_ = !panel_visible_;
                if (!panel_visible_) rt::con().restore_region(panel_);
                return BrowseKey::kHandled;
            case k::kF6:
                if (hay_codigo(tabla_)) {
                    ABM_FORMULAS(codigo(), formula());
                    releer_marcas(tabla_, codigo(), formula());
                    refrescar();
                }
                return BrowseKey::kHandled;
            case k::kF9:
                solo_peso_cero_ = !solo_peso_cero_;
                ui::MSGBOX(solo_peso_cero_ ? cp::OemView("Solo con pesos en cero")
                                           : cp::OemView("Todos"));
                return BrowseKey::kHandled;
            case k::kF11:
                if (SISTEMA_PERMITE("acc_ver_costos", {}, false)) mostrar_costo();
                return BrowseKey::kHandled;
            case k::kF12:
                solo_activos_ = !solo_activos_;
                rt::con().write_at(5, 97, solo_activos_ ? cp::OemView(" ") : cp::OemView("*"),
                                   "+bg/bg");
                return BrowseKey::kHandled;
            case k::kCtrlF11:
                if (ui::CONFIRMA("Ejecutar funciones internas del programador (GRABAR COSTOS) ") &&
                    ui::PASSROOT(datos::clave_supervisor_correcta))
                    COPIAR_COSTOS_ANTERIOR();
                return BrowseKey::kHandled;
            case k::kCtrlF12:
                if (ui::CONFIRMA("Ejecutar funciones internas del programador") &&
                    ui::PASSROOT(datos::clave_supervisor_correcta))
                    SALDOS_ANTERIORES();
                return BrowseKey::kHandled;
            case k::kAltF12:
                cambiar_control_de_stock();
                return BrowseKey::kHandled;
            default:
                return BrowseKey::kShared;
        }
    }

    void refrescar() { lista_.browser().refresh_all(); }

    std::string sentencia(ModoBusqueda modo, const cp::Oem& texto) const {
        std::string sql =
            "select codi_prod, codi_form, desc_prod, desc_form, l_activo, l_vigente from prodvtas ";
        sql += condicion_busqueda(modo, texto, "desc_prod", "codi_prod", sqltexto);
        if (solo_activos_) sql += "and l_activo ";
        if (solo_peso_cero_) sql += "and peso=0 ";
        return sql;
    }

    void mostrar_costo() {
        const double costo = CALCULACOSTO(codigo(), formula(), false);
        ui::MSGBOX(" Costo: " +
                   rt::format_with_mask(rt::Value(costo), "@E 999,999,999.99").trimmed() + " ");
    }

    void cambiar_control_de_stock() {
        // It changes the product: the same right as changing it in its form.
        if (!hay_codigo(tabla_) || !SISTEMA_PERMITE("acc_add_productos")) return;
        const std::string donde = "where codi_prod='" + sqltexto(codigo()) + "' and codi_form='" +
                                  sqltexto(formula()) + "'";
        auto res = consulta("select l_ctrl_stk from prodvtas " + donde);
        if (fallo(res)) {
            mostrar_error(res);
            return;
        }
        if (res->LastRec() == 0) return;
        const bool controla = res->FieldGet("l_ctrl_stk").logical();
        if (!ui::CONFIRMA(controla ? cp::OemView("Desea Desactivar")
                                   : cp::OemView("Desea Activar")))
            return;
        grabacion_hecha(escribir(std::string("update prodvtas set l_ctrl_stk=") +
                                 (controla ? "false" : "true") + " " + donde),
                        Aviso::caja);
    }

    rt::wt::WorkTable& tabla_;
    EleccionProducto eleccion_;
    rt::SavedRegion panel_;  // what the stock panel covers
    bool solo_activos_ = true, solo_peso_cero_ = false, panel_visible_ = false;
    ListaBusqueda lista_;
};

}  // namespace

void ABM_FORMULAS(std::string_view, std::string_view) {}

void ABM_PRODUCTOS(bool seleccion, bool enter_entre) {
    ui::Resguardo resguardo("n/bg,r/w,,,n/w");
    if (!SISTEMA_PERMITE("acc_ver_productos")) return;

    const std::string ruta = ui::NOMARCH2("dbf", "temp/");
    TablaLista tabla(ruta, tablas::productos(), tablas::catalogue_alias(ruta),
                     cp::OemView::cp850(tablas::kProductosOpenError));
    tabla.indice(ui::NOMARCH("ntx", "temp/"), tablas::kProductosKeyCode);
    tabla.indice(ui::NOMARCH2("ntx", "temp/"), tablas::kProductosKeyName);
    tabla->set_order(2);  // by description

    ListaProductos(*tabla, seleccion, enter_entre).correr();
}

}  // namespace abm
