// Building and changing the display lines of the voucher's item list.
#include "vales/vale_registros.h"

#include "runtime/common/texto.h"
#include "runtime/forms/mask.h"

namespace vales {

namespace {

std::string cantidad_en_columna(double cantidad) {
    return rt::pad_left(rt::format_with_mask(rt::Value(cantidad), "@E 9,999,999.99"),
                         kAnchoCantidad);
}

// The line at its full width, whatever the caller held, with one column written over.
std::string reemplazar(std::string_view linea, int col, int ancho, std::string_view texto) {
    std::string out = rt::pad_right(linea, kAnchoLinea);
    out.replace(col, ancho, rt::pad_right(texto, ancho));
    return out;
}

}  // namespace

DatosItm item_nuevo(std::string_view actividad, double cantidad_unitaria, double cantidad) {
    DatosItm item;
    item.actividad = std::string(actividad);
    item.cantidad_unitaria = cantidad_unitaria;
    item.cantidad = cantidad;
    return item;
}

std::string linea_display(std::string_view actividad_oem, std::string_view operario_oem,
                          std::string_view especificacion_oem, double cantidad) {
    return rt::pad_right(actividad_oem, kAnchoActividad) + ' ' +
           rt::pad_right(operario_oem, kAnchoOperario) + ' ' +
           rt::pad_right(especificacion_oem, kAnchoEspecificacion) + ' ' +
           cantidad_en_columna(cantidad);
}

std::string con_operario(std::string_view linea, std::string_view operario_oem) {
    return reemplazar(linea, kColOperario, kAnchoOperario, operario_oem);
}

std::string con_especificacion(std::string_view linea, std::string_view especificacion_oem) {
    return reemplazar(linea, kColEspecificacion, kAnchoEspecificacion, especificacion_oem);
}

std::string con_cantidad(std::string_view linea, double cantidad) {
    return reemplazar(linea, kColCantidad, kAnchoCantidad, cantidad_en_columna(cantidad));
}

}  // namespace vales
