#pragma once
// Other programs the print service stands on (the desktop's opener, the PDF tools), run
// with a time limit so that one that never ends cannot hold the program.
#include <string>
#include <vector>

namespace impresion {

struct ResultadoComando {
    bool encontrado = false;  // the program could be started
    bool vencido = false;     // killed at the time limit
    int estado = -1;          // exit status when it ended by itself
    std::string salida;       // standard output and error together
    bool ok() const { return encontrado && !vencido && estado == 0; }
};

// Runs argv[0] (looked up on PATH) with its input from /dev/null, for at most `segundos`.
ResultadoComando ejecutar_comando(const std::vector<std::string>& argv, double segundos);

// A graphical session is there to show a document in.
bool hay_pantalla_grafica();

// Hands the file to the desktop's program for its type (xdg-open) without waiting for it;
// false when there is no graphical session or no opener.
bool abrir_con_programa_asociado(const std::string& ruta);

}  // namespace impresion
