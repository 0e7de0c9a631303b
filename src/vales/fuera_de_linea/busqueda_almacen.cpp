#include "vales/fuera_de_linea/busqueda_almacen.h"

#include "datos/almacen.h"
#include "ui/rutinas2.h"

namespace vales {

bool buscar_en_almacen(rt::TODBC& RS, rt::wt::WorkTable& t, std::string_view sql, cp::OemView error,
                       const std::function<void()>& agregar) {
    if (!datos::ejecutar(RS, sql)) {
        RS.Close();
        ui::MSGBOX(error);
        return false;
    }
    t.zap();
    for (RS.First(); !RS.Eof(); RS.Skip()) agregar();
    RS.Close();
    t.go_top();
    return true;
}

}  // namespace vales
