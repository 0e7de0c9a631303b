#pragma once
// The operator help list as both entries show it: the operators' work table in name order
// under the heading "RUT  Nombre", the key lines, and Enter typing the highlighted
// operator's number back into the form (Home, the digits, Enter) when the list is run to
// choose and the search text is empty or already searched. Where the operators are read
// (the server or the off-line store) is the caller's.
#include <functional>
#include <string>

#include "abm/busqueda.h"
#include "runtime/common/oem.h"
#include "runtime/worktables/work_table.h"

namespace vales {

struct FuenteOperarios {
    // Fills the table before the first key.
    std::function<void(rt::wt::WorkTable& tabla)> carga_inicial;
    // Empties the table and fills it with the operators a search finds; false when the
    // search failed (the routine has said why, the table keeps its rows).
    std::function<bool(rt::wt::WorkTable& tabla, abm::ModoBusqueda modo, const cp::Oem& texto)>
        buscar;
    // The off-line list forgets a word search as soon as the text is typed on.
    bool teclear_quita_filtro = false;
};

// Runs the list until Esc or a choice; the screen and colour are put back.
void correr_ayuda_operarios(bool elegir, const FuenteOperarios& fuente);

// Appends one operator (texts as stored, Windows-1252; shown with their own letters).
void agregar_operario(rt::wt::WorkTable& tabla, const std::string& rut, const std::string& digito,
                      const std::string& nombre, double codigo, bool activo = false);

// "select rut, digito_verif, nom_oper, codi_oper from operario where ...": a search on the
// name (or, one word in filter mode, on the tax number too), quoted with `comillas`.
std::string busqueda_operarios(abm::ModoBusqueda modo, const cp::Oem& texto,
                               const abm::Comillas& comillas);

}  // namespace vales
