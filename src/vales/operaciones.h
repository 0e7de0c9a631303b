#pragma once
// The program's wiring: command-line options and the operations behind the main menu.
#include "vales/vales.h"

namespace vales {

struct Opciones {
    int salida = 0;  // exit status when the program must not start (help, bad option)
    bool comprobar_almacen = false;  // only check the off-line store, then end
    bool preparar_servidor = false;  // only add the program's objects to the server, then end
};

// Reads the command line (and the environment); false when the program must end at once
// with `opciones.salida` (after --help, or a bad option, with the reason on stderr).
bool leer_opciones(int argc, char** argv, Opciones& opciones);

// The operations of the main menu as the program runs them.
Operaciones operaciones_del_programa();

}  // namespace vales
