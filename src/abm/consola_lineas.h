#pragma once
// The screen as a plain console for the supervisor jobs: lines written one below the
// other from the top row, the whole screen moving up one row when the last row is full.
#include "runtime/common/oem.h"

namespace abm {

class ConsolaLineas {
  public:
    // Starts on a clear screen.
    ConsolaLineas();
    // Clears the screen; the next line goes on the top row.
    void limpiar();
    // Writes the text at the start of a new line.
    void linea(cp::OemView texto);
    // Writes the text after what the current line holds.
    void seguir(cp::OemView texto);

  private:
    // Shows the screen now and then, so the user sees the job advance.
    void mostrar_a_veces();

    int fila_ = -1;
    int col_ = 0;
    double mostrado_ = 0;
};

}  // namespace abm
