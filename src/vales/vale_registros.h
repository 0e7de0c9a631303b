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
// server. Codes are program texts (Windows-1252) of their full width, padded with blanks:
// the product code and the formula code are joined to form the 12-character key of a
// formula, so a short code would find no formula.
#include <string>
#include <string_view>
#include <vector>

#include "runtime/common/fecha.h"
#include "runtime/common/oem.h"

namespace vales {

// aDatosCab. The members keep the order of the six values of the header.
struct DatosCab {
    std::string producto = std::string(9, ' ');  // 1 product code, 9 characters (cxProducto)
    std::string formula = std::string(3, ' ');   // 2 formula code, 3 characters (cxFormula)
    double bodega = 0;                           // 3 warehouse number (nxBodega)
    rt::Fecha fecha;                             // 4 production date (dxFecha)
    double cantidad = 0;                         // 5 quantity produced, 2 decimals (nxCantidad)
    double malas = 0;                            // 6 quantity rejected, 2 decimals (nxMalas)
};

// The text of a time not yet given: two blanks, a colon, two blanks.
inline constexpr std::string_view kHoraVacia = "  :  ";

// One entry of aDatosItm: an activity of the formula as the user completes it. The members
// keep the order of the seven values of an item.
struct DatosItm {
    std::string actividad;                 // 1 activity code (a component beginning "9")
    double operario = 0;                   // 2 operator number; 0 until one is given
    std::string especificacion;            // 3 especificación code, 3 characters; empty
    std::string hora_inicio{kHoraVacia};   // 4 start time "hh:mm" (not sent to the server)
    std::string hora_termino{kHoraVacia};  // 5 end time "hh:mm" (not sent to the server)
    double cantidad_unitaria = 0;          // 6 activity quantity per unit (formulas.consumo)
    double cantidad = 0;                   // 7 quantity done; starts as the header's quantity
};

// An item as the activity query gives it: no operator, especificación or times yet, the
// whole quantity produced as its quantity done.
DatosItm item_nuevo(std::string_view actividad, double cantidad_unitaria, double cantidad);

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
};

}  // namespace vales
