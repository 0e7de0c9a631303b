#pragma once
// The catalogue's writes on the server, and what became of each: done, refused, or unknown
// because the answer never came (the server may still carry it out when it wakes).
#include <string>
#include <vector>

#include "datos/sentencias.h"

namespace datos {

struct Escritura {
    enum Estado {
        hecha,
        cambiada,  // the row no longer held what was read: another user changed it first
        fallida,   // refused, nothing written (`fallo`)
        incierta,  // the connection was lost waiting for the answer (`fallo`)
    };
    Estado estado = fallida;
    Fallo fallo;
};

// One statement on its own.
Escritura escribir(TMySQLServer& servidor, const std::string& sentencia);

// `cambio` only while the one row that `lectura` reads still holds `leidos`, column by
// column as the server writes them out (empty for NULL). The row is read "for update" in the
// same transaction, so no other user can change it between the comparison and the write.
Escritura escribir_si_sigue_igual(TMySQLServer& servidor, const std::string& lectura,
                                  const std::vector<std::string>& leidos,
                                  const std::string& cambio);

// The columns of `fila`, as the server wrote them out (empty for NULL or a missing column).
std::vector<std::string> textos(const TMySQLRow& fila, const std::vector<std::string>& columnas);

}  // namespace datos
