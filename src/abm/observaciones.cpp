#include "abm/observaciones.h"

#include <algorithm>
#include <string_view>

#include "runtime/browse/memo_text.h"
#include "runtime/screen/console.h"
#include "runtime/screen/keys.h"

namespace abm {

void Observaciones::mostrar() const {
    rt::Console& c = rt::con();
    const int ancho = ventana_.right - ventana_.left + 1;
    const rt::MemoText memo(texto_.view(), std::max(ancho - 1, 1));
    const auto& filas = memo.rows();
    for (int y = 0; ventana_.top + y <= ventana_.bottom; ++y) {
        std::string_view linea;
        if (y < static_cast<int>(filas.size())) {
            const auto& f = filas[static_cast<std::size_t>(y)];
            linea =
                std::string_view(memo.lines()[static_cast<std::size_t>(f.line)])
                    .substr(static_cast<std::size_t>(f.start), static_cast<std::size_t>(f.length));
        }
        c.write_at(ventana_.top + y, ventana_.left,
                   cp::Oem(std::string(linea)).padded(static_cast<std::size_t>(ancho)));
    }
}

void Observaciones::ver() const {
    rt::memo_edit(texto_, ventana_, false);
}

bool Observaciones::editar() {
    cp::Oem editado = rt::memo_edit(texto_, ventana_, true);
    if (editado == texto_) return false;
    texto_ = std::move(editado);
    return true;
}

bool Observaciones::leer(rt::Form& form, std::string_view nombre, bool puede_modificar, int fila,
                         int columna, cp::OemView teclas) {
    if (!puede_modificar) {
        ver();
        return false;
    }
    mostrar();
    const bool cambiado = form.read(nombre);
    rt::Console& c = rt::con();
    if (c.last_key() == rt::key::kEsc) return false;
    c.write_at(fila, columna, teclas, "n/w");
    const bool texto_cambiado = editar();
    return cambiado || texto_cambiado;
}

}  // namespace abm
