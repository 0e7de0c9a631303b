#pragma once
// The activity item list of a voucher being entered, shared by the on-line entry and the
// off-line entry: the list's frame, the loop that shows it until the voucher is saved or
// abandoned, and the item-list handler with its four commands:
//
//   Enter  edit the highlighted activity: especificación from a list, then operator and
//          times in a form (edicion_item.h); its display line is rebuilt
//   F2     split the highlighted activity: a copy above it takes part of its quantity
//   F8     save: refused with "ERROR: Datos incompletos" while an item has no operator,
//          otherwise the caller's saving routine
//   Esc    abandon the voucher after "Desea salir"
//
// What differs between the two entries (where especificaciones and operators are looked
// up, how a voucher is saved and what follows) is supplied by the caller in ComandosItem.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/lists/pick_list.h"
#include "vales/ingreso/edicion_item.h"
#include "vales/ingreso/vale_registros.h"

namespace vales {

// A new voucher in the records: the header, no items yet, the list to be shown.
void empezar_vale(ValeEnCurso& vale, const DatosCab& cabecera);

// Appends an activity as the formula gives it: its name (console text) and code, the
// activity quantity per unit; no operator, especificación or times; the header's quantity
// as its quantity done.
void agregar_actividad(ValeEnCurso& vale, cp::OemView nombre, std::string_view codigo,
                       double cantidad_unitaria);

// The list's frame: colour "+g/n,+w/g,,,+bg/w", the box of rows 10-23, the heading on
// row 11 and the line under it. The caller writes its own message line.
void dibujar_lista_items();

// Shows the list over aDisplay (rows 13-22, columns 2-97) with `handler` while lSeguir
// holds: a handler that ends the list with lSeguir still true (after a split) has it run
// again over the longer list, from its first item.
void recorrer_items(ValeEnCurso& vale, const rt::PickHandler& handler, std::string_view proc);

// Splits item `pos` (1-based): a copy of it is inserted at `pos` with quantity `cantidad`,
// and the item, now one position below, keeps the rest. Both display lines show their new
// quantities.
void partir_item(ValeEnCurso& vale, int pos, double cantidad);

// F2 on item `pos`: asks how much of its quantity goes to the new item (proposing half of
// it, without fraction; more than 0 and less than the quantity) and splits it when the
// user accepts with Enter. Returns whether it was split.
bool dividir_item(ValeEnCurso& vale, int pos, std::string_view proc);

// Whether an item has no operator yet.
bool vale_incompleto(const ValeEnCurso& vale);

// What the handler needs from the entry that runs it.
struct ComandosItem {
    // The especificaciones offered for an activity, in the order to show; nullopt when
    // there are none or they could not be read (the routine has told the user which).
    std::function<std::optional<Especificaciones>(const std::string& actividad)> especificaciones;
    ConsultasOperario operario;
    // Saves the complete voucher; true when it was saved (the list then ends and the next
    // voucher's header follows), false to stay on the list as it is.
    std::function<bool(ValeEnCurso& vale)> grabar;
    std::string proc;  // the operation's name, for the F1 key handler
};

// The item-list handler (pick-list protocol): acts on the last key pressed for the item at
// position `item` and answers rt::pick::kContinue or rt::pick::kAbort. The screen and the
// colour are as the list had them when it returns.
int manejar_item(ValeEnCurso& vale, int item, const ComandosItem& comandos);

}  // namespace vales
