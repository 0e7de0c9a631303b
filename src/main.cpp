// The program: takes over the terminal, creates the session and runs the main menu.
#include <cstdio>
#include <exception>
#include <string>

#include "datos/sesion.h"
#include "runtime/offline/store_creation.h"
#include "runtime/screen/console.h"
#include "runtime/screen/terminal_backend.h"
#include "runtime/server/server_wait.h"
#include "vales/comprobar_almacen.h"
#include "vales/espera_servidor.h"
#include "vales/operaciones.h"
#include "vales/preparar_servidor.h"
#include "vales/vales.h"

int main(int argc, char** argv) {
    vales::Opciones opciones;
    if (!vales::leer_opciones(argc, argv, opciones)) return opciones.salida;
    datos::Sesion sesion;
    datos::install_sesion(&sesion);
    datos::leer_configuracion(datos::kArchivosDeConfiguracion, sesion.configuracion);
    for (const std::string& aviso : sesion.configuracion.avisos)
        std::fprintf(stderr, "vales: %s\n", aviso.c_str());
    if (opciones.comprobar_almacen) return vales::comprobar_almacen();
    if (opciones.preparar_servidor) return vales::preparar_servidor();
    // A new workstation gets its off-line store with every table defined; an existing one is
    // never touched. When it cannot be made, the off-line operations say so when used.
    rt::create_offline_store();
    try {
        auto backend = rt::make_terminal_backend();
        rt::Console console(*backend);
        rt::install_console(&console);
        vales::instalar_espera_servidor();
        vales::MAIN(vales::operaciones_del_programa());
        rt::install_server_wait({});
        rt::install_console(nullptr);
    } catch (const std::exception& e) {
        rt::restore_terminal();
        std::fprintf(stderr, "vales: %s\n", e.what());
        return 1;
    }
    return 0;
}
