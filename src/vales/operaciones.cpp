#include "vales/operaciones.h"

#include <cstdio>
#include <string>

namespace vales {
namespace {

const char* const kAyuda =
    "Uso: vales [opciones]\n"
    "\n"
    "Registro de vales de produccion en una consola de 100 columnas por 36 filas.\n"
    "\n"
    "Opciones:\n"
    "  -h, --help     muestra esta ayuda y termina\n";

}  // namespace

bool leer_opciones(int argc, char** argv, Opciones& opciones) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(kAyuda, stdout);
            opciones.salida = 0;
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
    return op;
}

}  // namespace vales
