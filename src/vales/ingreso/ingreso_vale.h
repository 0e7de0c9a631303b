#pragma once
// The voucher entry, one screen for both modes (the on-line entry against the server, the
// off-line entry into the off-line store): header after header until Esc, each followed by
// the formula's activities as an item list whose handler edits, splits and saves the
// voucher (lista_items.h). The date and the warehouse stay from one voucher to the next.
//
// What differs between the modes comes in ModoIngreso: the title, where codes are checked
// and activities and especificaciones read (datos/maestros.h), how the voucher is saved,
// what a failed reading says, and whether a key line shows with the list. The caller
// installs the F1 help and keeps the screen (OperacionEnCurso).
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "datos/maestros.h"
#include "runtime/common/oem.h"
#include "vales/ingreso/cabecera_vale.h"
#include "vales/ingreso/edicion_item.h"
#include "vales/ingreso/lista_items.h"
#include "vales/ingreso/vale_registros.h"

namespace vales {

struct ModoIngreso {
    FormularioCabecera formulario;
    datos::Maestros* maestros = nullptr;  // activities and especificaciones
    // Shows why the activities could not be read; the entry then ends.
    std::function<void(const datos::Fallo&)> actividades_ilegibles;
    // Shows why the especificaciones of an activity could not be read.
    std::function<void(const datos::Fallo&)> especificaciones_ilegibles;
    ConsultasOperario operario;
    // Saves the complete voucher; true when it was saved.
    std::function<bool(ValeEnCurso& vale)> grabar;
    // The item-list handler (CTRL_ITEM on-line, CTRL_ITEM2 off-line: both act through
    // comandos_de) and its name for the F1 key handler.
    int (*manejador)(const ModoIngreso& modo, ValeEnCurso& vale, int mode, int item,
                     int row) = nullptr;
    std::string proc_item;
    cp::Oem teclas;  // the key line shown with the item list; empty: none
};

// Runs the entry until Esc in the header form, or activities that cannot be read.
void ingresar_vales(const ModoIngreso& modo);

// The item-list commands of a mode, for its handler (manejar_item).
ComandosItem comandos_de(const ModoIngreso& modo);

}  // namespace vales
