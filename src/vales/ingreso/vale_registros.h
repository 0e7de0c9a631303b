#pragma once
// The records of one production voucher while it is entered, saved or sent:
//
//   aDatosCab   the header: DatosCab
//   aDatosItm   the activity items: std::vector<DatosItm>
//   aDisplay    the item list's display lines, one per item at the same position:
//               std::vector<cp::Oem> (96 characters)
//   lSeguir     true while the item list of the current voucher is to be shown again
//
// The on-line entry, the off-line entry, the off-line entry list and the upload all fill
// these same records; GRABARVALE_SERVIDOR (vales_ingreso_on_line.h) writes them to the
// server.
#include <string>
#include <vector>

#include "datos/vale.h"
#include "runtime/common/oem.h"

namespace vales {

// The header and items are plain values of the data library.
using datos::DatosCab;
using datos::DatosItm;
using datos::item_nuevo;
using datos::kHoraVacia;

// The display line of an item (aDisplay), 96 characters in four columns separated by one
// blank. Each name is cut or padded to its column.
//   columns  1-35  activity name
//           37-56  operator name (blank until an operator is given)
//           58-83  especificación name (blank until one is chosen)
//           85-96  quantity done, mask "@E 9,999,999.99"
inline constexpr int kAnchoActividad = 35;
inline constexpr int kAnchoOperario = 20;
inline constexpr int kAnchoEspecificacion = 26;
inline constexpr int kAnchoCantidad = 12;
inline constexpr int kAnchoLinea = 96;
inline constexpr int kColOperario = 36;  // offsets from 0 within the line
inline constexpr int kColEspecificacion = 57;
inline constexpr int kColCantidad = 84;
cp::Oem linea_display(cp::OemView actividad, cp::OemView operario, cp::OemView especificacion,
                      double cantidad);
// The same line with one column replaced (the others kept as they are).
cp::Oem con_operario(cp::OemView linea, cp::OemView operario);
cp::Oem con_especificacion(cp::OemView linea, cp::OemView especificacion);
cp::Oem con_cantidad(cp::OemView linea, double cantidad);

// The four records of the voucher being entered, held by the entry operation for its own
// duration so that the item-list handler it hands to the pick list can reach them.
struct ValeEnCurso {
    DatosCab aDatosCab;
    std::vector<DatosItm> aDatosItm;
    std::vector<cp::Oem> aDisplay;
    bool lSeguir = true;
    // The voucher's identity, given when it is first saved (F8) and kept until the next
    // voucher: saving it again after a lost answer finds it on the server instead of
    // storing it twice.
    std::string identidad;
};

}  // namespace vales
