// Building and changing the display lines of the voucher's item list.
#include "vales/ingreso/vale_registros.h"

#include "runtime/forms/mask.h"

namespace vales {

namespace {

cp::Oem cantidad_en_columna(double cantidad) {
    return rt::format_with_mask(rt::Value(cantidad), "@E 9,999,999.99").left_padded(kAnchoCantidad);
}

// The line at its full width, whatever the caller held, with one column written over.
cp::Oem reemplazar(cp::OemView linea, int col, int ancho, cp::OemView texto) {
    std::string out = cp::Oem(linea).padded(kAnchoLinea).str();
    out.replace(col, ancho, cp::Oem(texto).padded(ancho).str());
    return cp::Oem(std::move(out));
}

}  // namespace

cp::Oem linea_display(cp::OemView actividad, cp::OemView operario, cp::OemView especificacion,
                      double cantidad) {
    return cp::Oem(actividad).padded(kAnchoActividad) + " " +
           cp::Oem(operario).padded(kAnchoOperario) + " " +
           cp::Oem(especificacion).padded(kAnchoEspecificacion) + " " +
           cantidad_en_columna(cantidad);
}

cp::Oem con_operario(cp::OemView linea, cp::OemView operario) {
    return reemplazar(linea, kColOperario, kAnchoOperario, operario);
}

cp::Oem con_especificacion(cp::OemView linea, cp::OemView especificacion) {
    return reemplazar(linea, kColEspecificacion, kAnchoEspecificacion, especificacion);
}

cp::Oem con_cantidad(cp::OemView linea, double cantidad) {
    return reemplazar(linea, kColCantidad, kAnchoCantidad, cantidad_en_columna(cantidad));
}

}  // namespace vales
