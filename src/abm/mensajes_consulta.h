#pragma once
// What a master-data lookup shows, whichever store answered it (datos/maestros.h): the
// message boxes its flags ask for, and names as the screen shows them. The server's lookups
// (abm_rutinas.h) and the off-line store's (the MDB_ routines) share them.
#include <optional>
#include <string>

#include "runtime/common/oem.h"

namespace abm {

// The end of an existence lookup: at most one of its two messages.
bool existencia(bool found, bool msg_if_found, bool msg_if_missing, cp::OemView found_text,
                cp::OemView missing_text);

// The end of an operator's state lookup: false for a missing operator ("Operario no
// existe" with msg_if_missing), otherwise its state ("Usuario activo" / "Usuario no activo").
bool estado_operario(std::optional<bool> activo, bool msg_if_active, bool msg_if_inactive,
                     bool msg_if_missing);

// A name for the screen: converted to the console code page and padded or cut to `width`;
// blanks of that width when there is none (after `missing_text` with msg_if_missing).
cp::Oem nombre_en_pantalla(const std::optional<std::string>& nombre, std::size_t width,
                           bool msg_if_missing, cp::OemView missing_text);

}  // namespace abm
