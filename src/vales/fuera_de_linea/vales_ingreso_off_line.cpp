// Storing a voucher typed off-line, header and items as one unit.
#include "vales/fuera_de_linea/vales_ingreso_off_line.h"

#include "datos/vales_locales.h"
#include "ui/rutinas2.h"

namespace vales {

bool GRABARVALE_LOCAL(rt::TODBC& RS, const DatosCab& header, const std::vector<DatosItm>& items) {
    const bool ok = datos::grabar_vale_local(RS, header, items);
    if (!ok) ui::MSGBOX("Error: No se puede grabar vale en archivos temporales");
    return ok;
}

}  // namespace vales
