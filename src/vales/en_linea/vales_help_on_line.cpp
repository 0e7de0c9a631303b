#include "vales/en_linea/vales_help_on_line.h"

#include "abm/abm_productos.h"
#include "runtime/screen/console.h"
#include "runtime/worktables/workspace.h"
#include "ui/resguardo.h"
#include "vales/en_linea/mysql_operarios.h"

namespace vales {
namespace {

bool termina_en(const std::string& text, const char* suffix) {
    const std::string s(suffix);
    return text.size() >= s.size() && text.compare(text.size() - s.size(), s.size(), s) == 0;
}

void operarios_a_elegir() {
    MYSQL_OPERARIOS(true);
}

}  // namespace

AyudaDeCampo ayuda_de_campo(const std::string& campo) {
    if (campo.empty()) return AyudaDeCampo::kNinguna;
    if (campo.front() == 'C' && termina_en(campo, "PRODUCTO")) return AyudaDeCampo::kProducto;
    if (campo.front() == 'N' && termina_en(campo, "OPERARIO")) return AyudaDeCampo::kOperario;
    return AyudaDeCampo::kNinguna;
}

void como_ayuda(int tecla, const std::function<void()>& lista) {
    rt::Console& c = rt::con();
    rt::KeyHandler propio = c.set_key_handler(tecla);
    {
        ui::Resguardo resguardo;
        c.set_cursor_shape(0);
        lista();
    }
    c.set_key_handler(tecla, std::move(propio));
}

void VALES_HELP_ON_LINE(const std::string& /*proc*/, int /*line*/, const std::string& campo) {
    const int tecla = rt::con().last_key();
    switch (ayuda_de_campo(campo)) {
        case AyudaDeCampo::kProducto:
            como_ayuda(tecla, CATALOGO_PRODUCTOS_AYUDA);
            break;
        case AyudaDeCampo::kOperario:
            como_ayuda(tecla, operarios_a_elegir);
            break;
        case AyudaDeCampo::kNinguna:
            break;
    }
}

void CATALOGO_PRODUCTOS_AYUDA() {
    abm::ABM_PRODUCTOS(true);
}

}  // namespace vales
