#include "vales/impresion/documento.h"

namespace impresion {

double y_mm(double fila) {
    return fila * 4.081632653061225 + 7.272727272727273;
}

double x_mm(double columna, double puntos) {
    return columna * puntos / 4.75 + 6.486486486486486;
}

double ancho_mm(std::size_t caracteres, double puntos) {
    return static_cast<double>(caracteres) * puntos / 4.75;
}

}  // namespace impresion
