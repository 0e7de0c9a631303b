#include "vales/fuera_de_linea/vales_help_off_line.h"

#include "runtime/screen/console.h"
#include "vales/en_linea/vales_help_on_line.h"
#include "vales/fuera_de_linea/mdb_operarios.h"
#include "vales/fuera_de_linea/vales_productos.h"

namespace vales {

void VALES_HELP_OFF_LINE(rt::TODBC& RS, const std::string& /*proc*/, int /*line*/,
                         const std::string& campo) {
    const int tecla = rt::con().last_key();
    switch (ayuda_de_campo(campo)) {
        case AyudaDeCampo::kProducto:
            como_ayuda(tecla, [&RS] { VALES_PRODUCTOS(RS, true); });
            break;
        case AyudaDeCampo::kOperario:
            como_ayuda(tecla, [&RS] { MDB_OPERARIOS(RS, true); });
            break;
        case AyudaDeCampo::kNinguna:
            break;
    }
}

}  // namespace vales
