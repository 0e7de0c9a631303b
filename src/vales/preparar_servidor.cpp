#include "vales/preparar_servidor.h"

#include <cstdio>
#include <string>

#include "datos/objetos_adicionales.h"
#include "datos/servidores.h"
#include "runtime/server/tmysql.h"
#include "vales/vales_login.h"

namespace vales {

int preparar_servidor() {
    const std::string direccion = datos::servidor_local();
    auto servidor =
        TMySQLServer::New(direccion, datos::usuario_servidor(), datos::clave_servidor());
    if (servidor->NetErr()) {
        std::fprintf(stderr, "vales: no se puede conectar al servidor %s: %s\n", direccion.c_str(),
                     servidor->Error().c_str());
        return 1;
    }
    int preparadas = 0, fallidas = 0;
    for (const Empresa& e : empresas()) {
        if (!servidor->SelectDB(e.base)) {
            std::printf("vales: empresa %s: el servidor no tiene la base de datos %s; se omite\n",
                        e.codigo.c_str(), e.base.c_str());
            continue;
        }
        const std::string error = datos::crear_objetos_adicionales(*servidor);
        if (error.empty()) {
            std::printf("vales: empresa %s: base de datos %s preparada\n", e.codigo.c_str(),
                        e.base.c_str());
            ++preparadas;
        } else {
            std::fprintf(stderr, "vales: empresa %s: no se pudo preparar la base de datos %s: %s\n",
                         e.codigo.c_str(), e.base.c_str(), error.c_str());
            ++fallidas;
        }
    }
    if (preparadas == 0 && fallidas == 0)
        std::fprintf(stderr, "vales: el servidor %s no tiene ninguna base de datos de empresa\n",
                     direccion.c_str());
    return preparadas > 0 && fallidas == 0 ? 0 : 1;
}

}  // namespace vales
