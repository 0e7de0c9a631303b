#pragma once
// Per-user permissions on the company server: named access codes, each registered in
// `nombre_accesos` (and enabled for everybody or for nobody), each also a logical column of
// `usuarios` that grants it to a user, unless the user holds every access (l_full_accesos).
#include <string_view>

#include "runtime/server/tmysql.h"

namespace datos {

enum class Permiso {
    concedido,
    negado,        // the user holds neither the code nor every access
    inexistente,   // the code is not registered
    desactivado,   // the code is disabled for everybody
    sin_consulta,  // the server could not be asked (or the code is no column name)
};

// Whether `usuario` holds the permission `codigo`. A user who has vanished since the login
// holds nothing.
Permiso permiso(TMySQLServer* servidor, std::string_view codigo, std::string_view usuario);

}  // namespace datos
