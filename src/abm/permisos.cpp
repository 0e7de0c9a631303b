// Per-user permission checks as the operations make them: the data library asks the server
// (datos/permisos.h); each refusal is said with its own message.
#include "datos/permisos.h"
#include "abm/abm_rutinas.h"
#include "datos/sesion.h"
#include "ui/rutinas2.h"

namespace abm {

bool SISTEMA_PERMITE(std::string_view code, std::optional<std::string_view> user,
                     bool show_refusal) {
    const std::string who = user ? std::string(*user) : datos::ses().COD_USUARIO;
    switch (datos::permiso(datos::ses().OSERVER.get(), code, who)) {
        case datos::Permiso::concedido:
            return true;
        case datos::Permiso::negado:
            if (show_refusal) ui::MSGBOX(" - Acceso no permitido - ");
            return false;
        case datos::Permiso::inexistente:
            return ui::MSGBOX("Acceso inexistente - Consulte con el administrador del sistema");
        case datos::Permiso::desactivado:
            return ui::MSGBOX("Acceso desactivado para todos los usuarios");
        case datos::Permiso::sin_consulta:
            break;
    }
    return ui::MSGBOX("ERROR: No se puede conectar a usuarios");
}

}  // namespace abm
