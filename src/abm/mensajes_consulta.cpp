#include "abm/mensajes_consulta.h"

#include "runtime/common/codepage.h"
#include "ui/rutinas2.h"

namespace abm {

bool existencia(bool found, bool msg_if_found, bool msg_if_missing, cp::OemView found_text,
                cp::OemView missing_text) {
    if (found && msg_if_found) ui::MSGBOX(found_text);
    if (!found && msg_if_missing) ui::MSGBOX(missing_text);
    return found;
}

bool estado_operario(std::optional<bool> activo, bool msg_if_active, bool msg_if_inactive,
                     bool msg_if_missing) {
    if (!activo) {
        if (msg_if_missing) ui::MSGBOX("Operario no existe");
        return false;
    }
    if (*activo && msg_if_active) ui::MSGBOX("Usuario activo");
    if (!*activo && msg_if_inactive) ui::MSGBOX("Usuario no activo");
    return *activo;
}

cp::Oem nombre_en_pantalla(const std::optional<std::string>& nombre, std::size_t width,
                           bool msg_if_missing, cp::OemView missing_text) {
    if (!nombre && msg_if_missing) ui::MSGBOX(missing_text);
    return cp::ansi_to_oem(nombre.value_or("")).padded(width);
}

}  // namespace abm
