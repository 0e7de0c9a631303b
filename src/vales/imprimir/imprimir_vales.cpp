// The main-menu entry that reads the range of folios, and the destination dialog.
#include <string>

#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/forms/form.h"
#include "runtime/forms/mask.h"
#include "runtime/screen/console.h"
#include "runtime/screen/keys.h"
#include "ui/resguardo.h"
#include "ui/rutinas2.h"
#include "vales/imprimir/print_vales.h"

namespace vales {

const std::vector<std::string> kDestinos = {
    std::string(impresion::kImpresora), std::string(impresion::kPdf), std::string(impresion::kHtml),
    std::string(impresion::kRtf)};

namespace {

const cp::OemView kOpciones[] = {"Impresora", "PDF", "HTML", "RTF"};

// The dialog box, centred on the screen.
constexpr int kTop = 11, kLeft = 33, kBottom = 23, kRight = 66;
constexpr int kFilaOpcion = 14, kColOpcion = 41, kFilaBotones = 21;
constexpr int kColPrint = 37, kColSalir = 53;
const char* const kColorDialogo = "+W/B";
const char* const kColorFoco = "N/W";
const char* const kColorElegida = "+GR/B";

void dibujar_dialogo(int elegida, bool foco_en_print) {
    rt::Console& c = rt::con();
    const cp::Oem titulo = " Módulo de impresión "_oem;
    c.write_at(kTop, kLeft + (kRight - kLeft + 1 - static_cast<int>(titulo.size())) / 2, titulo,
               kColorDialogo);
    c.write_at(kTop + 2, kLeft + 2, "Destino:", kColorDialogo);
    for (int i = 0; i < 4; ++i) {
        const cp::OemView marca = i == elegida ? cp::OemView("(*) ") : cp::OemView("( ) ");
        c.write_at(kFilaOpcion + i, kColOpcion, (marca + kOpciones[i]).padded(14),
                   i == elegida ? kColorElegida : kColorDialogo);
    }
    c.write_at(kFilaBotones, kColPrint, "[ Print ]", foco_en_print ? kColorFoco : kColorDialogo);
    c.write_at(kFilaBotones, kColSalir, "[ Salir ]", foco_en_print ? kColorDialogo : kColorFoco);
}

// Every folio of a range takes half a page, whether the server holds a voucher under it or
// not: a long range is a long run of paper, and is printed only once the user says so.
bool rango_confirmado(long desde, long hasta) {
    const long folios = hasta - desde + 1;
    if (folios <= kFoliosSinConfirmar) return true;
    auto miles = [](long n) {
        return rt::format_with_mask(rt::Value(static_cast<double>(n)), "@E 99,999,999").trimmed();
    };
    return ui::CONFIRMA("El rango tiene " + miles(folios) + " folios (" + miles((folios + 1) / 2) +
                        " hojas): ¿imprimirlos todos?"_oem);
}

}  // namespace

void PRINT_VALE(const RutinaImpresion& rutina, long primero, long ultimo) {
    rt::Console& c = rt::con();
    ui::Resguardo resguardo;
    c.set_cursor_shape(0);
    ui::MSG("[Flechas]Destino  [1-4]Elegir  [Tab]Cambiar botón  [Enter]Aceptar  [Esc]Salir"_oem);
    ui::BOX(kTop, kLeft, kBottom, kRight, kColorDialogo);
    int elegida = 0;
    bool foco_en_print = true;
    for (;;) {
        dibujar_dialogo(elegida, foco_en_print);
        const int k = c.inkey(0);
        if (k == rt::key::kUp) {
            elegida = std::max(0, elegida - 1);
        } else if (k == rt::key::kDown) {
            elegida = std::min(3, elegida + 1);
        } else if (k >= '1' && k <= '4') {
            elegida = k - '1';
        } else if (k == rt::key::kTab || k == rt::key::kShiftTab || k == rt::key::kLeft ||
                   k == rt::key::kRight) {
            foco_en_print = !foco_en_print;
        } else if (k == rt::key::kEsc || (k == rt::key::kEnter && !foco_en_print)) {
            break;
        } else if (k == rt::key::kEnter) {
            ui::MSG("Imprimiendo...");
            rutina(kDestinos[static_cast<std::size_t>(elegida)], primero, ultimo);
            break;
        }
    }
}

void IMPRIMIRVALES() {
    ui::Resguardo resguardo("+g/n,+w/bg");
    rt::Console& c = rt::con();
    if (!datos::ses().LCONECTADO) {
        ui::MSGBOX("No existe una conexión con el servidor"_oem);
    } else {
        double desde = 0, hasta = 0;
        ui::BOX(25, 20, 27, 86);
        c.write_at(26, 21, "Imprimir vales de producción:  Desde: "_oem);
        rt::Form form;
        form.field(26, 59, desde, "nxDesde", "99999999", [&] { return desde > 0; });
        c.write_at(26, 67, "  Hasta: ");
        form.field(26, 76, hasta, "nxHasta", "99999999", [&] { return hasta >= desde; });
        c.set_cursor_shape(1);
        // A range refused at the confirmation goes back to the form to be corrected.
        bool imprimir = false;
        do {
            form.read("IMPRIMIRVALES");
            imprimir = c.last_key() == rt::key::kEnter;
        } while (imprimir && !rango_confirmado(static_cast<long>(desde), static_cast<long>(hasta)));
        c.set_cursor_shape(0);
        if (imprimir) {
            PRINT_VALE(PRINTVALE, static_cast<long>(desde), static_cast<long>(hasta));
        }
    }
}

}  // namespace vales
