// Per-user permission checks against the server's users and access codes.
#include <algorithm>

#include "abm/abm_rutinas.h"
#include "abm/consulta_sesion.h"
#include "datos/sesion.h"
#include "ui/rutinas2.h"

namespace abm {

namespace {

// The code is also a column name of usuarios and goes into the statement unquoted: only a
// plain identifier may, anything else is refused like a column that does not exist.
bool nombre_de_columna(std::string_view code) {
    return !code.empty() && std::all_of(code.begin(), code.end(), [](unsigned char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_';
    });
}

constexpr cp::OemView kSinConexion = "ERROR: No se puede conectar a usuarios";

}  // namespace

bool SISTEMA_PERMITE(std::string_view code, std::optional<std::string_view> user,
                     bool show_refusal) {
    {
        auto res = consulta("select l_activo from nombre_accesos where cod_acceso='" +
                            sqltexto(code) + "' ");
        if (fallo(res)) return ui::MSGBOX(kSinConexion);
        if (res->LastRec() == 0)
            return ui::MSGBOX("Acceso inexistente - Consulte con el administrador del sistema");
        if (!res->FieldGet(1).logical())
            return ui::MSGBOX("Acceso desactivado para todos los usuarios");
    }
    const std::string who = user ? std::string(*user) : datos::ses().COD_USUARIO;
    bool allowed = false;
    {
        if (!nombre_de_columna(code)) return ui::MSGBOX(kSinConexion);
        auto res = consulta("select l_full_accesos, " + std::string(code) +
                            " from usuarios where usuario='" + sqltexto(who) + "' ");
        if (fallo(res)) return ui::MSGBOX(kSinConexion);
        // A user who has vanished since the login holds nothing: the row of blanks that an
        // empty result gives reads as false in both columns.
        allowed = res->FieldGet(1).logical() || res->FieldGet(2).logical();
    }
    if (!allowed && show_refusal) ui::MSGBOX(" - Acceso no permitido - ");
    return allowed;
}

}  // namespace abm
