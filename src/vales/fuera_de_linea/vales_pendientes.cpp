#include "vales/fuera_de_linea/vales_pendientes.h"

#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/forms/mask.h"
#include "ui/rutinas2.h"
#include "ui/tablas_trabajo.h"

namespace vales {
namespace {

namespace tablas = ui::tablas;

cp::Oem con_mascara(double x, std::string_view mascara) {
    return rt::format_with_mask(rt::Value(x), mascara);
}

}  // namespace

cp::Oem NOMBREESTADO(std::string_view) {
    return cp::Oem(cp::OemView("   Pendiente"));
}

cp::Oem detalle_pendiente(const datos::ValePendiente& v, bool con_estado) {
    // The name is stored in the program's code page, and shown with its own letters.
    cp::Oem linea =
        cp::ansi_to_oem(v.fecha.text()) + " " + con_mascara(v.bodega, "999").left_padded(3) + " " +
        cp::ansi_to_oem(v.producto).padded(9) + " " + cp::ansi_to_oem(v.formula).padded(3) + " " +
        cp::ansi_to_oem(v.nombre_producto).padded(36) + " " +
        con_mascara(v.cantidad, "@E 9,999,999").left_padded(9) + " " +
        con_mascara(v.malas, "@E 9,999,999").left_padded(9);
    if (con_estado) linea += " " + NOMBREESTADO(v.estado);
    return linea;
}

bool ValesPendientes::abrir() {
    const std::string carpeta = datos::ses().CARPETA_TEMP;
    if (!tabla_.open(ui::NOMARCH2("dbf", carpeta), tablas::vales(), tablas::kValesAlias)) {
        ui::MSGBOX(cp::OemView::cp850(tablas::kValesOpenError));  // ASCII
        return false;
    }
    tabla_.index(ui::NOMARCH2("ntx", carpeta), tablas::kValesKey);
    return true;
}

bool ValesPendientes::llenar(rt::TODBC& RS, bool con_estado) {
    rt::wt::WorkTable& t = *tabla_;
    t.zap();
    const auto pendientes = datos::leer_pendientes(RS);
    if (!pendientes) {
        ui::MSGBOX("Error: No se pueden recuperar registros");
        return false;
    }
    for (const auto& v : *pendientes) {
        t.append();
        t.set_number("N_INTERNO", static_cast<double>(v.n_interno));
        t.set_text("DETALLE", detalle_pendiente(v, con_estado).str());
    }
    t.go_top();
    return true;
}

}  // namespace vales
