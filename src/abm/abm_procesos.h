#pragma once
// The process catalogue: the server's production processes (`procesos`: a one-character
// code, a name and observations) in a searchable list, with the form that adds and
// modifies them. The product code generator chooses the process of a new product here.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace abm {

// A key that a list runs an action for while it waits (the generator binds F2 to the list
// of products that match the code chosen so far).
struct TeclaExtra {
    int tecla = 0;
    std::function<void()> accion;
};

// The list of processes. With `seleccion` Enter chooses the highlighted process (once its
// search text has been searched): with `teclear` the choice is typed into the keyboard
// buffer (Home, the code, Enter) and nothing is returned; otherwise the chosen code is
// returned. Empty text when nothing was chosen.
std::string ABM_PROCESOS(bool seleccion = false, bool teclear = false,
                         const std::optional<TeclaExtra>& extra = {});

// The form of one process: an empty code adds a new one. With `puede_modificar` false the
// process is only shown. True when a process was stored; the list's work table (the
// current work area) then shows it.
bool EDIT_PROCESO(std::string_view codigo = {}, bool puede_modificar = true);

// Whether a process of that code exists; when it does and `mensaje` is true, says
// "Código ya existe".
bool EXISTE(std::string_view codigo, bool mensaje = false);

}  // namespace abm
