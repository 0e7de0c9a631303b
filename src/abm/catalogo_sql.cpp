#include "abm/catalogo_sql.h"

#include "runtime/common/codepage.h"
#include "runtime/lists/alert.h"
#include "runtime/worktables/field.h"
#include "ui/rutinas2.h"

namespace abm {

std::string error_servidor(std::optional<TMySQLQuery>& q) {
    return q ? q->Error() : std::string(rt::kNoConnection);
}

void mostrar_error(std::optional<TMySQLQuery>& q) {
    ui::MSGBOX("Error:" + cp::ansi_to_oem(error_servidor(q)));
}

void alertar_error(std::optional<TMySQLQuery>& q) {
    rt::alert("Error:;" + cp::ansi_to_oem(error_servidor(q)));
}

bool grabacion_hecha(const datos::Escritura& e, Aviso aviso, cp::OemView cambiada) {
    switch (e.estado) {
        case datos::Escritura::hecha:
            return true;
        case datos::Escritura::cambiada:
            ui::MSGBOX(cambiada);
            return false;
        case datos::Escritura::fallida:
            if (aviso == Aviso::alerta) {
                rt::alert("Error:;" + cp::ansi_to_oem(e.fallo.texto));
            } else {
                ui::MSGBOX("Error:" + cp::ansi_to_oem(e.fallo.texto));
            }
            return false;
        case datos::Escritura::incierta:
            // The server may still carry the write out when it answers again.
            ui::MSGBOX(
                "El servidor no confirmó la grabación: revise si quedó grabada antes de "
                "reintentar"_oem);
            return false;
    }
    return false;
}

std::size_t ancho_columna(const TMySQLQuery& q, std::string_view columna, std::size_t omision) {
    for (const auto& f : q.Fields())
        if (rt::wt::same_name(f.name, columna) && f.length > 0) return f.length;
    return omision;
}

}  // namespace abm
