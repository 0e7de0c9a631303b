#include "vales/operaciones.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "abm/productos_anterior.h"
#include "runtime/server/tmysql.h"
#include "runtime/worktables/workspace.h"
#include "vales/DatosDesde_Servidor.h"
#include "vales/print_vales.h"
#include "vales/servidores.h"
#include "vales/vales_login.h"

namespace vales {
namespace {

const char* const kAyuda =
    "Uso: vales [opciones]\n"
    "\n"
    "Registro de vales de produccion en una consola de 100 columnas por 36 filas.\n"
    "\n"
    "Opciones:\n"
    "  --servidor-local HOST[:PUERTO]    servidor de la red local (por omision 127.0.0.1;\n"
    "                                    tambien VALES_SERVIDOR_LOCAL en el entorno)\n"
    "  --servidor-remoto HOST[:PUERTO]   servidor remoto (por omision 127.0.0.1:3307;\n"
    "                                    tambien VALES_SERVIDOR_REMOTO en el entorno)\n"
    "  --productos-anterior CARPETA      carpeta de la tabla de productos del sistema anterior\n"
    "                                    (prodvtas.dbf), donde se copian los costos; por\n"
    "                                    omision produc/arti007 bajo la carpeta de trabajo\n"
    "                                    (tambien VALES_PRODUCTOS_ANTERIOR en el entorno)\n"
    "  -h, --help                        muestra esta ayuda y termina\n"
    "\n"
    "El puerto por omision es 3306. La linea de comandos prevalece sobre el entorno.\n";

}  // namespace

bool leer_opciones(int argc, char** argv, Opciones& opciones) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(kAyuda, stdout);
            opciones.salida = 0;
            return false;
        }
        if (arg == "--productos-anterior") {
            if (i + 1 < argc && argv[i + 1][0] != '\0') {
                setenv(abm::VAR_PRODUCTOS_ANTERIOR, argv[++i], 1);
                continue;
            }
            std::fprintf(stderr, "vales: --productos-anterior necesita una carpeta\n");
            opciones.salida = 2;
            return false;
        }
        const char* variable = arg == "--servidor-local"    ? VAR_SERVIDOR_LOCAL
                               : arg == "--servidor-remoto" ? VAR_SERVIDOR_REMOTO
                                                            : nullptr;
        if (variable && i + 1 < argc && rt::parse_mysql_address(argv[i + 1])) {
            setenv(variable, argv[++i], 1);
            continue;
        }
        if (variable) {
            std::fprintf(stderr, "vales: %s necesita una direccion HOST[:PUERTO]\n", arg.c_str());
            opciones.salida = 2;
            return false;
        }
        std::fprintf(stderr, "vales: opcion desconocida: %s\n%s", arg.c_str(), kAyuda);
        opciones.salida = 2;
        return false;
    }
    return true;
}

Operaciones operaciones_del_programa() {
    Operaciones op;
    op.CONECTARSERVIDOR = CONECTARSERVIDOR;
    op.DESCONECTARSERVIDOR = DESCONECTARSERVIDOR;
    op.DATOSDESDE_SERVIDOR = [] { DATOSDESDE_SERVIDOR(); };
    op.IMPRIMIRVALES = IMPRIMIRVALES;
    op.cerrar_tablas = [] {
        rt::wt::workspace().close_all();
        rt::wt::workspace().select(1);
    };
    return op;
}

}  // namespace vales
