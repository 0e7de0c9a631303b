#include "datos/vale.h"

namespace datos {

DatosItm item_nuevo(std::string_view actividad, double cantidad_unitaria, double cantidad) {
    DatosItm item;
    item.actividad = std::string(actividad);
    item.cantidad_unitaria = cantidad_unitaria;
    item.cantidad = cantidad;
    return item;
}

}  // namespace datos
