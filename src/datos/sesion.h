#pragma once
// The session state: created once at start-up, read by every operation, changed only by
// the login and the logout (and the login replaces the server connection).
#include <memory>
#include <string>

#include "datos/configuracion.h"

namespace rt {
class TMySQLServer;
}

namespace datos {

struct Sesion {
    bool LCONECTADO = false;     // a user is logged in through OSERVER
    bool LESCONECLOCAL = false;  // the last good login used the local-network address
    std::string COD_USUARIO;     // trimmed, lower case
    std::string COD_EMPRESA = "007";
    std::string NOM_EMPRESA;
    std::string CARPETA_TEMP = "temp/";
    std::string CARPETA_DATOS = "datos/";
    // The one server connection of the session; a failed login may leave one here while
    // LCONECTADO stays false, so operations test LCONECTADO, never this pointer.
    std::shared_ptr<rt::TMySQLServer> OSERVER;
    // The user has been told that the company database lacks the register of saved
    // vouchers' identities (said once per session).
    bool aviso_sin_registro_dado = false;
    // The plant's companies and title (read at start-up).
    Configuracion configuracion;
};

// The session of the run (or of the current test).
Sesion& ses();
Sesion* install_sesion(Sesion* sesion);

}  // namespace datos
