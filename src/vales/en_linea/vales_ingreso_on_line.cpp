// Saving a production voucher to the server from the screens, and the points of an item.
#include "vales/en_linea/vales_ingreso_on_line.h"

#include <string>

#include "datos/identidad.h"
#include "datos/sesion.h"

namespace vales {

long GRABARVALE_SERVIDOR(const DatosCab& header, const std::vector<DatosItm>& items,
                         bool show_shortage) {
    datos::Vale vale{header, items, {}};
    vale.identidad.id = datos::nueva_identidad();
    const datos::Grabacion g = grabar_y_mostrar(vale, show_shortage);
    return g.en_servidor() ? g.numero : 0;
}

double PUNTAJE(double operario, std::string_view actividad, std::string_view especificacion) {
    if (!datos::ses().OSERVER) return 0;
    datos::Sentencias s(*datos::ses().OSERVER);
    return datos::puntaje(s, operario, actividad, especificacion).value_or(0);
}

}  // namespace vales
