#include "abm/consola_lineas.h"

#include "runtime/screen/console.h"

namespace abm {

ConsolaLineas::ConsolaLineas() {
    limpiar();
    mostrado_ = rt::con().monotonic();
}

void ConsolaLineas::limpiar() {
    rt::con().clear_screen();
    fila_ = -1;
    col_ = 0;
}

void ConsolaLineas::linea(cp::OemView texto) {
    rt::Console& c = rt::con();
    if (fila_ + 1 < rt::kRows) {
        ++fila_;
    } else {
        c.scroll_region(0, 0, rt::kRows - 1, rt::kCols - 1, 1);
    }
    col_ = 0;
    seguir(texto);
}

void ConsolaLineas::seguir(cp::OemView texto) {
    if (fila_ < 0) fila_ = 0;
    rt::Console& c = rt::con();
    c.write_at(fila_, col_, texto);
    col_ = c.col();
    mostrar_a_veces();
}

void ConsolaLineas::mostrar_a_veces() {
    rt::Console& c = rt::con();
    const double ahora = c.monotonic();
    if (ahora - mostrado_ < 0.1) return;
    mostrado_ = ahora;
    c.flush();
}

}  // namespace abm
