#pragma once
// The product form: one product of the server's catalogue (product code and formula code)
// shown, added or modified, and two small reads that belong to it.
#include <string_view>

#include "runtime/common/fecha.h"

namespace abm {

// An empty code adds a new product, whose code comes from the code generator; otherwise
// the product `codigo` made by `formula` is shown, and modified when `puede_modificar`.
// True when a product was stored; the product list's work table (the current work area)
// then shows it without a new search.
bool EDIT_PRODUCTOS(std::string_view codigo = {}, std::string_view formula = {},
                    bool puede_modificar = true);

// Whether a base product (blank formula) of that code exists; then "Código ya existe".
bool CODREPETIDO(std::string_view codigo);

// The date of the last run of the cost calculation.
rt::Fecha ULTPROCESO();

// Announces a new product by mail: another system's task, nothing here.
void MAILNUEVOPRODUCTO(std::string_view codigo, std::string_view formula,
                       std::string_view descripcion, std::string_view descripcion_formula);

}  // namespace abm
