#include "vales/ingreso/lista_items.h"

#include <algorithm>
#include <cmath>

#include "runtime/common/codepage.h"
#include "runtime/forms/form.h"
#include "runtime/screen/console.h"
#include "ui/resguardo.h"
#include "ui/rutinas2.h"

namespace vales {
namespace {

// Quantities carry two decimals; a difference of two of them is rounded back to two, so
// the split parts add up to the quantity exactly as the user sees it.
double centesimas(double x) {
    return std::round(x * 100) / 100;
}

void editar(ValeEnCurso& vale, int item, const ComandosItem& comandos) {
    const auto especificaciones = comandos.especificaciones(vale.aDatosItm.at(item - 1).actividad);
    if (especificaciones)
        editar_item(vale, item, *especificaciones, comandos.operario, comandos.proc);
}

int grabar(ValeEnCurso& vale, const ComandosItem& comandos) {
    if (vale_incompleto(vale)) {
        ui::MSGBOX("ERROR: Datos incompletos");
        return rt::pick::kContinue;
    }
    if (!comandos.grabar(vale)) return rt::pick::kContinue;
    vale.lSeguir = false;
    return rt::pick::kAbort;
}

}  // namespace

void empezar_vale(ValeEnCurso& vale, const DatosCab& cabecera) {
    vale.aDatosCab = cabecera;
    vale.aDatosItm.clear();
    vale.aDisplay.clear();
    vale.lSeguir = true;
    vale.identidad.clear();
}

void agregar_actividad(ValeEnCurso& vale, cp::OemView nombre, std::string_view codigo,
                       double cantidad_unitaria) {
    vale.aDisplay.push_back(linea_display(nombre, "", "", vale.aDatosCab.cantidad));
    vale.aDatosItm.push_back(item_nuevo(codigo, cantidad_unitaria, vale.aDatosCab.cantidad));
}

void dibujar_lista_items() {
    rt::Console& c = rt::con();
    c.set_colour("+g/n,+w/g,,,+bg/w");
    ui::BOX(10, 1, 23, 98, "w/n");
    c.write_at(11, 2,
               "Actividad                           Operario             Especificación       "
               "          Cantidad"_oem,
               "+w/n");
    ui::DISPLINEA(12, 1, rt::kCols - 2, "w/n");
}

void recorrer_items(ValeEnCurso& vale, const rt::PickHandler& handler, std::string_view proc) {
    int posicion = 1;
    // A list without items would end at once, again and again.
    while (vale.lSeguir && !vale.aDisplay.empty()) {
        posicion = rt::pick_list(
            13, 2, 22, 97, vale.aDisplay,
            {.handler = handler, .first_item = std::max(posicion, 1), .proc = std::string(proc)});
    }
}

void partir_item(ValeEnCurso& vale, int pos, double cantidad) {
    const std::size_t i = static_cast<std::size_t>(pos - 1);
    DatosItm copia = vale.aDatosItm.at(i);
    cp::Oem linea = vale.aDisplay.at(i);
    copia.cantidad = cantidad;
    vale.aDatosItm.insert(vale.aDatosItm.begin() + pos - 1, copia);
    vale.aDisplay.insert(vale.aDisplay.begin() + pos - 1, con_cantidad(linea, cantidad));
    DatosItm& origen = vale.aDatosItm.at(i + 1);
    origen.cantidad = centesimas(origen.cantidad - cantidad);
    vale.aDisplay.at(i + 1) = con_cantidad(vale.aDisplay.at(i + 1), origen.cantidad);
}

bool dividir_item(ValeEnCurso& vale, int pos, std::string_view proc) {
    rt::Console& c = rt::con();
    const double realizada = vale.aDatosItm.at(pos - 1).cantidad;
    ui::MSG("Ingrese cantidad a traspasar a nuevo item");
    double cantidad = std::floor(realizada / 2);
    ui::BOX(13, 30, 16, 90);
    c.write_at(14, 31, vale.aDisplay.at(pos - 1).substr(0, kAnchoActividad));
    c.write_at(15, 31, "Traspasar a nuevo item cantidad realizada:");
    rt::Form form;
    form.field(15, 74, cantidad, "nxCantidad", "@E 999,999,999.99",
               [&] { return cantidad > 0 && cantidad < realizada; });
    c.set_cursor_shape(1);
    form.read(proc);
    c.set_cursor_shape(0);
    if (c.last_key() != rt::key::kEnter) return false;
    partir_item(vale, pos, cantidad);
    return true;
}

bool vale_incompleto(const ValeEnCurso& vale) {
    return std::any_of(vale.aDatosItm.begin(), vale.aDatosItm.end(),
                       [](const DatosItm& item) { return item.operario == 0; });
}

int manejar_item(ValeEnCurso& vale, int item, const ComandosItem& comandos) {
    // The screen and the colour as they were, however the handler ends.
    ui::Resguardo resguardo("w/bg,+w/r,,,n/w");
    switch (rt::con().last_key()) {
        case rt::key::kEsc:
            if (!ui::CONFIRMA("Desea salir")) return rt::pick::kContinue;
            vale.lSeguir = false;
            return rt::pick::kAbort;
        case rt::key::kEnter:
            editar(vale, item, comandos);
            return rt::pick::kContinue;
        case rt::key::kF2:
            return dividir_item(vale, item, comandos.proc) ? rt::pick::kAbort : rt::pick::kContinue;
        case rt::key::kF8:
            return grabar(vale, comandos);
        default:
            return rt::pick::kContinue;
    }
}

}  // namespace vales
