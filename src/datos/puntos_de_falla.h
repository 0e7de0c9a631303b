#pragma once
// Named places of the saving and the upload where a test can make the program fail as a
// power cut or a killed process would (by ending the process there), or make another
// workstation act at that very moment: the program itself installs nothing, and passing a
// point then does nothing.
#include <functional>
#include <string_view>

namespace datos::falla {

// The server has committed a voucher; the off-line store does not know it yet.
inline constexpr std::string_view kServidorConfirmo = "servidor confirmo";
// A voucher is about to be sent.
inline constexpr std::string_view kAntesDeEnviar = "antes de enviar";
// Inside a save's transaction: the voucher has its number, nothing else is written yet.
inline constexpr std::string_view kNumeroTomado = "numero tomado";

using Accion = std::function<void(std::string_view punto)>;

// Installs the action run at every point (an empty one removes it); returns the previous.
Accion instalar(Accion accion);
void punto(std::string_view nombre);

}  // namespace datos::falla
