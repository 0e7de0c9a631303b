#pragma once
// The list of products as both product lists show it, the server's catalogue and the
// off-line entry's help: the window, the heading and rows (code, formula, description, "◄"
// for the formula in force, "*" for an inactive product), the key lines, the formula of
// the highlighted product under the list and the order's mark over the column it sorts on;
// F5 switches between code order (1) and name order (2), Left chooses, and F10 searches
// again.
#include <vector>

#include "abm/lista_busqueda.h"
#include "runtime/worktables/work_table.h"

namespace abm {

// What Left on a product types into the keyboard buffer for the form that asked: Home, the
// code, Enter (when `enter_entre`), the formula (when `con_formula`) and Enter.
struct EleccionProducto {
    bool elegir = false;  // Left chooses; otherwise it does nothing
    bool enter_entre = true;
    bool con_formula = true;
};

// The list over the products' work table `t`. Its own keys are F5 and Left; a list with
// more keys tries them before these (tecla_producto).
DisenoLista diseno_productos(rt::wt::WorkTable& t, EleccionProducto eleccion);

// F5 and Left as the product lists take them; kShared for any other key.
rt::BrowseKey tecla_producto(int key, rt::wt::WorkTable& t, ListaBusqueda& lista,
                             EleccionProducto eleccion);

}  // namespace abm
