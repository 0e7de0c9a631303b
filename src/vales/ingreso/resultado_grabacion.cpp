#include "vales/ingreso/resultado_grabacion.h"

#include <cmath>
#include <string>

#include "abm/abm_rutinas.h"
#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/forms/mask.h"
#include "runtime/lists/pick_list.h"
#include "runtime/screen/console.h"
#include "ui/resguardo.h"
#include "ui/rutinas2.h"
#include "ui/vermemo.h"

namespace vales {

namespace {

using datos::Grabacion;

cp::Oem cantidad_14(double x) {
    return rt::format_with_mask(rt::Value(x), "@E 999,999,999.99").left_padded(14);
}

cp::Oem numero(long n) {
    return cp::Oem(std::to_string(n));
}

// One line of the shortage window: kind, code, formula (products only), the name as stored
// on the server, and the quantities under "Requerido", "Stock" and "Faltante".
cp::Oem linea_faltante(const datos::Faltante& f) {
    const std::string claves = f.tipo + " " + rt::pad_right(f.codigo, 9) + " " +
                               (f.tipo == "P" ? rt::pad_right(f.formula, 3) : "   ");
    return cp::ansi_to_oem(claves) + " " + cp::ansi_to_oem(f.nombre).padded(37) + " " +
           cantidad_14(f.requerido) + " " + cantidad_14(f.stock) + " " +
           cantidad_14(std::round((f.requerido - f.stock) * 1e7) / 1e7);
}

void mostrar_faltantes(const std::vector<datos::Faltante>& faltantes) {
    std::vector<cp::Oem> lines;
    for (const auto& f : faltantes) lines.push_back(linea_faltante(f));
    rt::Console& c = rt::con();
    const int last = rt::kCols - 1;
    ui::MSG("[\x18] [\x19]    [Esc]Salir");
    c.tone(100, 1);
    ui::BOX(10, 0, 23, last, "+w/bg");
    c.write_at(10, 1, "< Error - Stock Insuficiente >", "+gr/bg");
    c.write_at(11, 1,
               "T Producto  Frm Descripción                                Requerido          "
               "Stock       Faltante"_oem);
    ui::DISPLINEA(12, 0, last, "+w/bg");
    rt::pick_list(13, 1, 22, last - 1, lines);
}

bool conexion_perdida() {
    const auto& server = datos::ses().OSERVER;
    return !server || !server->connected();
}

// A statement failed: the user is told that nothing of the voucher stayed on the server,
// and why. A connection that was lost has been reported as such.
void mostrar_fallo(const Grabacion& g) {
    if (conexion_perdida()) return;
    std::string text =
        g.deshecho ? "El vale no se grabó en el servidor: se deshizo todo lo escrito para él y "
                     "puede enviarse otra vez."_ansi
                   : "El vale no se grabó en el servidor; no se pudo confirmar que se "
                     "deshiciera lo escrito para él."_ansi;
    text += "\r\n\r\n" + g.fallo.texto;
    if (!g.fallo.sentencia.empty()) text += "\r\n\r\n" + g.fallo.sentencia;
    ui::VERMEMO(cp::ansi_to_oem(text));
}

}  // namespace

void mostrar_grabacion(const Grabacion& g, bool interactivo) {
    switch (g.estado) {
        case Grabacion::grabado:
            return;
        case Grabacion::ya_estaba:
            if (interactivo) ui::MSGBOX(cp::utf8_to_oem(kYaEstaba) + numero(g.numero));
            return;
        case Grabacion::distinto:
            if (interactivo) {
                ui::MSGBOX(cp::utf8_to_oem(kOtroContenido) + numero(g.numero) +
                           "): no se grabó"_oem);
            }
            return;
        case Grabacion::faltante:
            if (interactivo) mostrar_faltantes(g.faltantes);
            return;
        case Grabacion::sin_formula:
            if (!conexion_perdida()) ui::MSGBOX("No se puede leer fórmula de producto"_oem);
            return;
        case Grabacion::sin_numero:
            if (interactivo && !conexion_perdida()) ui::MSGBOX(cp::utf8_to_oem(kSinNumeroDeVale));
            return;
        case Grabacion::ocupado:
            ui::MSGBOX(cp::utf8_to_oem(kServidorOcupado));
            return;
        case Grabacion::fallido:
            mostrar_fallo(g);
            return;
        case Grabacion::incierto:
            // The server may have carried the commit out after all.
            ui::MSGBOX("El servidor no confirmó el vale "_oem + numero(g.numero) +
                       ": revise si quedó grabado antes de reintentar"_oem);
            return;
    }
}

void avisar_sin_registro(bool sin_registro) {
    if (!sin_registro || datos::ses().aviso_sin_registro_dado) return;
    datos::ses().aviso_sin_registro_dado = true;
    ui::MSG(cp::utf8_to_oem(kFaltaPrepararServidor));
}

datos::Reintentos reintentos_en_pantalla() {
    datos::Reintentos r;
    r.pausar = [](double segundos) { rt::con().sleep(segundos); };
    return r;
}

datos::Grabacion grabar_y_mostrar(const datos::Vale& vale, bool show_shortage) {
    Grabacion g;
    {
        ui::Resguardo resguardo("w/bg,+w/bg");
        if (datos::ses().OSERVER) {
            g = datos::grabar_vale(*datos::ses().OSERVER, vale, datos::ses().COD_USUARIO,
                                   reintentos_en_pantalla());
        } else {
            g.fallo.texto = std::string(rt::kNoConnection);
        }
        mostrar_grabacion(g, show_shortage);
    }
    avisar_sin_registro(g.sin_registro);  // on the caller's screen, where it stays
    return g;
}

}  // namespace vales
