#include "vales/fuera_de_linea/vales_pendientes.h"

#include <set>

#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/forms/mask.h"
#include "ui/rutinas2.h"
#include "ui/tablas_trabajo.h"
#include "vales/fuera_de_linea/vales_rutinas.h"

namespace vales {
namespace {

namespace tablas = ui::tablas;

// Every pending voucher of the store, with its product's name when the local copy still
// holds the product: one retired or removed by a later download is still the store's
// voucher, listed and sent like any other (an inner join would hide it for ever).
constexpr const char* kConsultaPendientes =
    "select * from vales_cab left join prodvtas on vales_cab.codi_prod=prodvtas.codi_prod and "
    "vales_cab.codi_form=prodvtas.codi_form where vales_cab.c_estado<>'2'";

double numero(const rt::TODBC& RS, std::string_view columna) {
    return rt::store_number(RS.FieldValue(columna));
}

cp::Oem con_mascara(double x, std::string_view mascara) {
    return rt::format_with_mask(rt::Value(x), mascara);
}

}  // namespace

cp::Oem NOMBREESTADO(std::string_view) {
    return cp::Oem(cp::OemView("   Pendiente"));
}

cp::Oem detalle_pendiente(const rt::TODBC& RS, bool con_estado) {
    // The name is stored in the program's code page, and shown with its own letters.
    cp::Oem linea = cp::ansi_to_oem(FECHA_MDB_TO_NORMAL(RS.FieldValue("FECHA")).text()) + " " +
                    con_mascara(numero(RS, "NUM_BODEGA"), "999").left_padded(3) + " " +
                    cp::ansi_to_oem(RS.FieldValue("CODI_PROD")).padded(9) + " " +
                    cp::ansi_to_oem(RS.FieldValue("CODI_FORM")).padded(3) + " " +
                    cp::ansi_to_oem(RS.FieldValue("DESC_PROD")).padded(36) + " " +
                    con_mascara(numero(RS, "CANTIDAD"), "@E 9,999,999").left_padded(9) + " " +
                    con_mascara(numero(RS, "MALAS"), "@E 9,999,999").left_padded(9);
    if (con_estado) linea += " " + NOMBREESTADO(RS.FieldValue("C_ESTADO"));
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
    RS.SetSQL(kConsultaPendientes);
    if (!RS.Open()) {
        RS.Close();
        ui::MSGBOX("Error: No se pueden recuperar registros");
        return false;
    }
    // A product listed twice in the local copy would list its vouchers twice, and a batch
    // would count them twice: each voucher is taken once.
    std::set<long> vistos;
    for (RS.First(); !RS.Eof(); RS.Skip()) {
        const long n = static_cast<long>(numero(RS, "N_INTERNO"));
        if (!vistos.insert(n).second) continue;
        t.append();
        t.set_number("N_INTERNO", static_cast<double>(n));
        t.set_text("DETALLE", detalle_pendiente(RS, con_estado).str());
    }
    RS.Close();
    t.go_top();
    return true;
}

}  // namespace vales
