#pragma once
// Start-up, the main menu and its dispatch, shutdown.
#include <functional>
#include <string>

namespace vales {

// The operations of the main menu. An entry without an operation returns to the menu at
// once; tests give their own.
struct Operaciones {
    std::function<bool()> CONECTARSERVIDOR;
    std::function<void()> DESCONECTARSERVIDOR;
    std::function<void()> VALES_INGRESO_ON_LINE;
    std::function<void()> VALES_INGRESO_OFF_LINE;
    std::function<void()> LISTA_INGRESOS;
    std::function<void()> DATOSDESDE_SERVIDOR;
    std::function<void()> DATOSHACIA_SERVIDOR;
    std::function<void()> IMPRIMIRVALES;
    // Closes every open work table at shutdown.
    std::function<void()> cerrar_tablas;
};

// Runs the program on the installed console and session until the confirmed exit.
void MAIN(const Operaciones& operaciones);

// One pass of the main loop: draws the screen and runs the menu. Returns the entry chosen
// (0 for Esc); `opcion` keeps the highlight between passes.
int menu_principal(int& opcion);

// The key picture drawn beside the login form.
void MUESTRALLAVE(std::string_view colour);

// "ddmmyy_hhmm" of the program file's modification time, or "" when it cannot be read.
std::string VERSIONEXE(const std::string& program_path = {});

}  // namespace vales
