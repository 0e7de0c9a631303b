#pragma once
// The header form of a production voucher, shared by the on-line entry and the off-line
// entry: the same clearing, colours, box, labels, fields, masks and positions; only the
// title and the lookups that check the codes differ, and the caller supplies them (the
// server's lookups on-line, the local store's off-line).
//
//   row 4  Fecha: dd/mm/yyyy   Bodega: 999
//   row 5  Producto: XXXXXXXXX  <product name, 50 characters>
//   row 6  Fórmula : XXX        <formula name, 40 characters>
//   row 7  Cantidad: 999.999.999,99   Malas: 999.999.999,99
//
// The form ends only with Esc or with the whole header valid: a form left early with PgDn,
// or whose quantity was lowered below the rejected quantity afterwards, is taken up again
// at the first field that its check refuses.
#include <functional>
#include <string>

#include "runtime/common/oem.h"
#include "vales/ingreso/vale_registros.h"

namespace vales {

// The checks of the header's codes. Codes are given as the voucher holds them (Windows-1252,
// full width: 9 characters for a product, 3 for a formula). Each check shows its own
// message when it refuses; the names are console text cut or padded to their width.
struct ConsultasCabecera {
    std::function<bool(double bodega)> bodega;  // exists and is active
    std::function<cp::Oem(const std::string& producto)> nombre_producto;
    std::function<bool(const std::string& producto)> producto;  // exists
    std::function<cp::Oem(const std::string& producto, const std::string& formula)> nombre_formula;
    std::function<bool(const std::string& producto, const std::string& formula)> formula;
};

struct FormularioCabecera {
    cp::Oem titulo;          // on the box's top line, "< Ingreso de Vales ON-LINE >"
    int columna_titulo = 0;  // its column
    std::string proc;        // the operation's name, for the F1 key handler
    ConsultasCabecera consultas;
};

// The header of the first voucher of a run: today's date, warehouse 0, the rest blank.
DatosCab cabecera_inicial();
// The header of the next voucher: the date and the warehouse of `anterior`, the rest blank
// or zero.
DatosCab cabecera_siguiente(const DatosCab& anterior);

// Clears rows 2 to 35, draws the box and runs the form over `cab` (date and warehouse as
// they come, product, formula and quantities as the caller left them). Returns false when
// the user left with Esc.
bool leer_cabecera(DatosCab& cab, const FormularioCabecera& formulario);

}  // namespace vales
