#pragma once
// What the user is shown of a voucher save (datos/grabar_vale.h): the shortage window, the
// server's error in the viewer, the messages for a busy server, a voucher the server held
// already or under another content, and an outcome that is to be checked.
#include "datos/grabar_vale.h"

namespace vales {

// The same for a voucher with its identity, answering the whole result. A voucher the
// server held already is said to be so when `show_shortage` is true; one whose identity the
// server holds with another content is refused with kOtroContenido.
datos::Grabacion grabar_y_mostrar(const datos::Vale& vale, bool show_shortage);

// The pieces of it, for a caller that saves through another data step (the upload):
// pauses between tries on the console's clock, so that keys typed meanwhile are kept;
datos::Reintentos reintentos_en_pantalla();
// the result shown, inside the caller's screen guard (`interactivo` false: only what a batch
// must not keep quiet);
void mostrar_grabacion(const datos::Grabacion& g, bool interactivo);
// and, once per session, the notice that the server lacks the register of identities,
// on the caller's screen.
void avisar_sin_registro(bool sin_registro);

// Shown when other workstations kept getting in the way at every try: nothing was written
// and the save may be tried again.
inline constexpr const char* kServidorOcupado = "Servidor ocupado: el vale no se grabó, reintente";
// Shown, unless in a batch, when the counter could not be advanced or read for another
// reason (its row missing, no right to change it): F8 would otherwise do nothing visible.
inline constexpr const char* kSinNumeroDeVale =
    "ERROR: No se puede obtener número de vale (paramet): el vale no se grabó";
// Before the number of a voucher the server held already.
inline constexpr const char* kYaEstaba = "El vale ya estaba grabado en el servidor con el número ";
// Before the number of the server's voucher that has this voucher's identity but not its
// content (a store edited by hand, or a voucher changed after a save whose answer was lost).
inline constexpr const char* kOtroContenido =
    "ERROR: El servidor guarda otro vale con esta identificación (número ";
// Once per session, on the message line, when the company database lacks the register of
// identities: vouchers are saved without the check that keeps them from being doubled.
inline constexpr const char* kFaltaPrepararServidor =
    "Aviso: falta preparar el servidor (vales --preparar-servidor): no se controlan vales "
    "repetidos";

}  // namespace vales
