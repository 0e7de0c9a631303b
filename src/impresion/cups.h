#pragma once
// The printers of the workstation, through the CUPS client library. The print server is
// the one CUPS names (CUPS_SERVER, the client configuration, or the local one), read again
// at every call. No call waits longer than its limit for a server that does not answer.
#include <string>
#include <vector>

namespace impresion {

struct ImpresorasCups {
    std::vector<std::string> nombres;
    std::string por_omision;  // "" when CUPS names none
    std::string aviso;        // why there is no printer (program text), "" when there are
};

ImpresorasCups impresoras_cups(double limite_segundos);

// Sends a PDF file to a printer as one job named `titulo`; "" when CUPS took it whole,
// otherwise the reason (program text). The limit applies to each wait for the server, so
// a long document is not cut short while the server keeps taking it.
std::string enviar_a_cups(const std::string& impresora, const std::string& titulo,
                          const std::string& archivo, double limite_segundos);

// "host:port" (or the socket's path) of the print server CUPS names now.
std::string servidor_cups();

}  // namespace impresion
