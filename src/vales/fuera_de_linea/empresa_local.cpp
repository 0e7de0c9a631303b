#include "vales/fuera_de_linea/empresa_local.h"

#include "datos/empresa_local.h"
#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "ui/rutinas2.h"

namespace vales {
namespace {

// The store's company when it is not the session's.
std::optional<std::string> otra_empresa(rt::TODBC& RS) {
    auto codigo = datos::empresa_local(RS);
    if (codigo && *codigo != rt::trim(datos::ses().COD_EMPRESA)) return codigo;
    return std::nullopt;
}

}  // namespace

bool envio_a_la_empresa_de_la_sesion(rt::TODBC& RS) {
    const auto otra = otra_empresa(RS);
    if (!otra) return true;
    ui::MSGBOX("Los vales de la base local son de la empresa " + cp::ansi_to_oem(*otra) +
               ": conéctese a esa empresa para enviarlos"_oem);
    return false;
}

bool descarga_de_la_empresa_de_la_sesion(rt::TODBC& RS) {
    const auto otra = otra_empresa(RS);
    if (!otra || !datos::hay_vales_pendientes(RS)) return true;
    ui::MSGBOX("Hay vales pendientes de la empresa " + cp::ansi_to_oem(*otra) +
               ": envíelos antes de cambiar de empresa"_oem);
    return false;
}

}  // namespace vales
