#pragma once
// The material cost of a product: its formula walked on the server, components priced in
// the cost currency, intermediate products costed from their own formulas.
#include <functional>
#include <string_view>
#include <vector>

namespace abm {

// One currency: its code and the factor that turns a price in it into the cost currency
// (the first and the fourth element of the entries of the currency table).
struct Moneda {
    double codigo = 0;
    double factor = 0;
};
using TablaMonedas = std::vector<Moneda>;

// The currency table's source in this system: none is kept, so it gives nothing, and with
// no currency no component can be priced (every cost is 0).
TablaMonedas MONEDAS();

// Where CALCULACOSTO takes the currency table from (MONEDAS in the program; a test gives
// its own). Installing a source forgets the table taken so far. Returns the previous one.
using FuenteMonedas = std::function<TablaMonedas()>;
FuenteMonedas instalar_fuente_monedas(FuenteMonedas fuente);

// The cost of one unit of `producto` made by `formula`. A line that cannot be priced (no
// component row, no price, unknown currency, no consumption, an intermediate product of
// cost 0) is passed over, or with `estricto` makes the whole cost 0. An intermediate
// product that contains the product being costed (directly or through others) counts as
// a line that cannot be priced, so such a formula is walked only once.
//
// The currency table is taken from the source the first time it gives one, and kept.
double CALCULACOSTO(std::string_view producto, std::string_view formula, bool estricto = false);

}  // namespace abm
