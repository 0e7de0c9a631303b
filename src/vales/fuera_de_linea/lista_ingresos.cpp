#include "vales/fuera_de_linea/lista_ingresos.h"

#include "datos/sesion.h"
#include "datos/vales_locales.h"
#include "runtime/browse/browse_loop.h"
#include "runtime/browse/browser.h"
#include "runtime/common/codepage.h"
#include "runtime/offline/todbc.h"
#include "runtime/screen/console.h"
#include "runtime/screen/keys.h"
#include "ui/resguardo.h"
#include "ui/rutinas2.h"
#include "vales/fuera_de_linea/envio_vales.h"
#include "vales/fuera_de_linea/vales_pendientes.h"
#include "vales/imprimir/print_vales.h"
#include "vales/ingreso/resultado_grabacion.h"

namespace vales {
namespace {

constexpr cp::OemView kEncabezado = cp::OemView::cp850(
    "Fecha      Bod Producto  Frm Descripci\xA2n                           Cantidad     Malas"
    "       Estado");
constexpr cp::OemView kTeclas = cp::OemView::cp850(
    "[\x18] [\x19]    [F8]Grabar en servidor    [Del]Eliminar vale    [Esc]Salir");

cp::Oem numero(long n) {
    return cp::Oem(std::to_string(n));
}

class Lista {
  public:
    Lista(rt::TODBC& RS, rt::wt::WorkTable& vales) : RS_(RS), vales_(vales) {}

    void correr() {
        rt::Browser b(vales_, 3, 1, 32, 98);
        b.add_column(kEncabezado, [this] { return cp::Oem(vales_.text("DETALLE")); });
        b.set_colour("w/b,+w/r");
        b.set_heading_separator(cp::OemView::cp850("\xC4\xC2\xC4"));
        b.set_column_separator(cp::OemView::cp850(" \xB3 "));
        // A plain rule: no frame stands around it for tees to join.
        rt::con().fill_box(34, 1, 34, rt::kCols - 2, rt::kSingleFrame);
        ui::MSG(kTeclas);
        b.go_top();
        b.refresh_all();
        primero_ = local_actual();
        rt::browse_keys(b, [&](int key) { return tecla(b, key); });
    }

  private:
    long local_actual() const { return static_cast<long>(vales_.number("N_INTERNO")); }

    rt::BrowseKey tecla(rt::Browser& b, int key) {
        if (key != rt::key::kF8 && key != rt::key::kDel) return rt::BrowseKey::kShared;
        if (!vales_.settle()) return rt::BrowseKey::kHandled;  // an empty list
        const long n = local_actual();
        if (key == rt::key::kF8 && ui::CONFIRMA("Grabar en servidor")) enviar(b, n);
        if (key == rt::key::kDel && ui::CONFIRMA("Eliminar vale de producción"_oem)) eliminar(b, n);
        return rt::BrowseKey::kHandled;
    }

    // The voucher leaves the list (its record is marked deleted).
    void quitar(rt::Browser& b) {
        vales_.mark_deleted();
        b.refresh_all();
    }

    void enviar(rt::Browser& b, long n) {
        if (!datos::ses().LCONECTADO || !datos::ses().OSERVER) {
            ui::MSGBOX("No existe conexión con el servidor"_oem);
            return;
        }
        const auto estacion = preparar_envio(RS_);
        if (!estacion) return;
        const datos::Envio envio = enviar_vale(RS_, *estacion, n, /*interactivo=*/true);
        avisar_sin_registro(envio.grabacion.sin_registro);
        switch (envio.lectura) {
            case datos::Lectura::leido:
                break;
            case datos::Lectura::error:
                ui::MSGBOX("Error: No se pueden recuperar registros");
                return;
            case datos::Lectura::sin_cabecera:
                ui::MSGBOX("No se encuentran datos de vale pendiente (Cabecera)");
                return;
            case datos::Lectura::sin_items:
                ui::MSGBOX("No se encuentran datos de vale pendiente (Item)");
                return;
        }
        if (envio.defecto) {
            ui::MSGBOX(cp::ansi_to_oem(motivo_no_enviado(n, envio)) + "; no se envió"_oem);
        }
        // Not sent: the save has said why (or it was refused above); it stays pending.
        if (!envio.en_servidor()) return;
        const long folio = envio.grabacion.numero;
        // Marked sent before the question: the print dialog may take its time.
        if (envio.grabacion.estado == datos::Grabacion::grabado &&
            ui::CONFIRMA("Vale de producción grabado correctamente - Desea imprimir?"_oem))
            PRINT_VALE(PRINTVALE, folio, folio);
        if (!envio.marcado) {
            ui::MSGBOX("Vale grabado en el servidor con el número "_oem + numero(folio) +
                       "; no se pudo marcar en la base local"_oem);
            return;  // still pending here: the next send only marks it
        }
        quitar(b);
    }

    void eliminar(rt::Browser& b, long n) {
        if (!datos::eliminar_vale_local(RS_, n)) {
            ui::MSGBOX("ERROR: No se puede eliminar vale");
            return;
        }
        quitar(b);
        if (n == primero_) {
            b.go_top();
            primero_ = local_actual();
        }
    }

    rt::TODBC& RS_;
    rt::wt::WorkTable& vales_;
    long primero_ = 0;
};

}  // namespace

void LISTA_INGRESOS() {
    LISTA_INGRESOS(rt::offline_connection_string());
}

void LISTA_INGRESOS(const std::string& conexion_local) {
    ui::Resguardo resguardo("w/b,+w/w,,,n/w");
    rt::con().fill_box(2, 0, rt::kRows - 1, rt::kCols - 1, "         ");
    rt::TODBC RS(conexion_local);
    ValesPendientes pendientes;
    if (pendientes.abrir()) {
        pendientes.llenar(RS, /*con_estado=*/true);
        Lista(RS, pendientes.tabla()).correr();
    }
    RS.Close();
}

}  // namespace vales
