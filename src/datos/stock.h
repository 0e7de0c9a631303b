#pragma once
// Stock per warehouse on the server (stock_bodegas): reading and changing one record. A
// record is identified by warehouse, kind ("P" product, "I" component), code and, for
// products only, formula.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "datos/sentencias.h"

namespace datos {

// "where numero_bod=... and tipo_prd='...' and codi_prod='...' " and, for kind "P",
// " and codi_form='...'".
std::string condicion_stock(const Sentencias& s, double bodega, std::string_view tipo,
                            std::string_view codigo, std::string_view formula);

// The quantity on hand, 0 without record; nothing when it could not be read (the failure
// stops `s`).
std::optional<double> leer_stock(Sentencias& s, double bodega, std::string_view tipo,
                                 std::string_view codigo, std::string_view formula);

// Adds `cantidad` (negative to take away), creating the record when there is none. False
// when the stock could not be changed (the failure stops `s`).
bool sumar_stock(Sentencias& s, double bodega, std::string_view tipo, std::string_view codigo,
                 std::string_view formula, double cantidad);

// The stock of one item in every active warehouse, for the panel beside the product
// catalogue: warehouses flagged for orders first, then those flagged for vouchers; with
// `solo_distinto_de_cero`, those without stock left out. Nothing when it cannot be read.
struct StockBodega {
    std::string nombre;  // the warehouse's name as stored
    double stock = 0;    // 0 for a warehouse without record
};
std::optional<std::vector<StockBodega>> stock_por_bodega(Sentencias& s, std::string_view tipo,
                                                         std::string_view codigo,
                                                         std::string_view formula,
                                                         bool solo_distinto_de_cero);

// Whether transfers of the item are pending; for kind "P" with a formula, of that formula
// (`misma_formula`) or of the others. A statement that fails counts as none.
bool transferencias_pendientes(Sentencias& s, std::string_view tipo, std::string_view codigo,
                               std::optional<std::string_view> formula, bool misma_formula);

}  // namespace datos
