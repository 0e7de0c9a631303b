#include "vales/ingreso/ingreso_vale.h"

#include "runtime/common/codepage.h"
#include "ui/rutinas2.h"

namespace vales {
namespace {

// The especificaciones for the item form; nothing when there are none (said here) or when
// they could not be read (said by the mode).
std::optional<Especificaciones> especificaciones(const ModoIngreso& modo,
                                                 const std::string& actividad) {
    datos::Fallo fallo;
    const auto leidas = modo.maestros->especificaciones(actividad, fallo);
    if (!leidas) {
        modo.especificaciones_ilegibles(fallo);
        return std::nullopt;
    }
    if (leidas->empty()) {
        ui::MSGBOX("Actividad no posee especificaciones definidas");
        return std::nullopt;
    }
    Especificaciones e;
    for (const auto& l : *leidas) {
        e.nombres.push_back(cp::ansi_to_oem(l.nombre));
        e.codigos.push_back(l.codigo);
    }
    return e;
}

enum class Actividades { kLeidas, kNinguna, kError };

// The formula's activities into the voucher records.
Actividades leer_actividades(const ModoIngreso& modo, ValeEnCurso& vale, const DatosCab& cab) {
    datos::Fallo fallo;
    const auto actividades = modo.maestros->actividades(cab, fallo);
    if (!actividades) {
        modo.actividades_ilegibles(fallo);
        return Actividades::kError;
    }
    if (actividades->empty()) return Actividades::kNinguna;
    empezar_vale(vale, cab);
    for (const auto& a : *actividades)
        agregar_actividad(vale, cp::ansi_to_oem(a.nombre), a.codigo, a.cantidad_unitaria);
    return Actividades::kLeidas;
}

}  // namespace

ComandosItem comandos_de(const ModoIngreso& modo) {
    ComandosItem c;
    c.especificaciones = [&modo](const std::string& actividad) {
        return especificaciones(modo, actividad);
    };
    c.operario = modo.operario;
    c.grabar = modo.grabar;
    c.proc = modo.proc_item;
    return c;
}

void ingresar_vales(const ModoIngreso& modo) {
    ValeEnCurso vale;
    DatosCab cab = cabecera_inicial();
    for (;;) {
        cab = cabecera_siguiente(cab);
        if (!leer_cabecera(cab, modo.formulario)) return;
        const Actividades leidas = leer_actividades(modo, vale, cab);
        if (leidas == Actividades::kError) return;
        if (leidas == Actividades::kNinguna) {
            ui::MSGBOX("Fórmula de producción no contiene actividades"_oem);
            continue;
        }
        if (!modo.teclas.empty()) ui::MSG(modo.teclas);
        dibujar_lista_items();
        recorrer_items(
            vale,
            [&](int mode, int item, int row) {
                return modo.manejador(modo, vale, mode, item, row);
            },
            modo.formulario.proc);
    }
}

}  // namespace vales
