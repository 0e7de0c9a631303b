#pragma once
// The print service as the program's operations use it: its messages on the message line
// and in alert boxes, printers chosen from a pick list, documents named by the console's
// clock.
#include <string>
#include <vector>

#include "impresion/tprint.h"

namespace vales {

// Options for a print job whose documents go to `carpeta`.
impresion::OpcionesImpresion opciones_impresion(const std::string& carpeta);

// The printer chooser: the CUPS printers in a pick list, the default one highlighted. ""
// when the user leaves with Esc.
std::string elegir_impresora(const std::vector<std::string>& nombres,
                             const std::string& por_omision);

}  // namespace vales
