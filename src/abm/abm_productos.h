#pragma once
// The product catalogue: the server's products (one row per product code and formula
// code) found by a search text and shown in a list, from which products are added and
// modified, their stock per warehouse and their cost shown, their stock control switched,
// and the supervisor jobs run. Called as a help list it hands the chosen product back to
// the form that asked for it.
#include <string_view>

namespace abm {

// The catalogue. With `seleccion`, Left arrow on a product types into the keyboard buffer
// Home, its code, Enter (when `enter_entre`), its formula and Enter, and the list closes:
// the calling form receives them as typing in its product and formula fields.
void ABM_PRODUCTOS(bool seleccion = false, bool enter_entre = true);

// The formula maintenance of a product belongs to another system: nothing here.
void ABM_FORMULAS(std::string_view codigo, std::string_view formula);

}  // namespace abm
