#pragma once
// The printers of the workstation, through the CUPS command-line client.
#include <string>
#include <vector>

namespace impresion {

struct ImpresorasCups {
    std::vector<std::string> nombres;
    std::string por_omision;  // "" when CUPS names none
    std::string aviso;        // why there is no printer (program text), "" when there are
};

ImpresorasCups impresoras_cups(double limite_segundos);

// Sends a PDF file to a printer; "" when CUPS took it, otherwise the reason (program text).
std::string enviar_a_cups(const std::string& impresora, const std::string& titulo,
                          const std::string& archivo, double limite_segundos);

}  // namespace impresion
