#pragma once
// A production voucher as plain values: its header and its activity items, as the entry
// screens fill them, the off-line store keeps them and the server save writes them.
//
// Codes are program texts (Windows-1252) of their full width, padded with blanks: the
// product code and the formula code are joined to form the 12-character key of a formula,
// so a short code would find no formula.
#include <string>
#include <string_view>
#include <vector>

#include "runtime/common/fecha.h"

namespace datos {

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

// The identity under which the server records a voucher, so that it never holds it twice
// whatever happens to the answer of a save, to an upload or to a copy of the off-line store.
struct Identidad {
    // 32 hexadecimal digits: made at random when the voucher is first saved (on-line, at
    // F8; off-line, by the store with the voucher). Empty: saved without identity.
    std::string id;
    // For a voucher typed off-line: the store's identity and the voucher's local number,
    // kept with the identity on the server so that a voucher can be traced to its store.
    std::string estacion;
    long n_interno = 0;
    // Typed off-line before vouchers had identities of their own: the server may hold it
    // under the store's identity and the local number instead.
    bool anterior = false;
};

// A voucher with what the server needs to record it once.
struct Vale {
    DatosCab cabecera;
    std::vector<DatosItm> items;
    Identidad identidad;
};

}  // namespace datos
