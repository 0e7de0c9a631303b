#pragma once
// Lookups of master data on the company server, permission checks, the SQL text viewer,
// and stock reads and updates. All of them run on the session's connection
// (datos::ses().OSERVER); a session without connection fails their statements, which they
// treat as they treat any failing statement.
//
// Texts given and returned are program texts (Windows-1252) unless said otherwise; names
// returned for display are in the console code page, padded to their width. Every text
// placed in a statement goes through sqltexto (escaped for the session's server).
//
// The logical flags after the key arguments ask for a message box in one outcome; the
// result never depends on them.
#include <optional>
#include <string>
#include <string_view>

#include "runtime/common/oem.h"
#include "runtime/server/tmysql.h"

namespace abm {

// --- existence and state -----------------------------------------------------------------
bool EXISTE_PRODUCTO(std::string_view code, bool msg_if_found = false, bool msg_if_missing = false);
bool EXISTE_FORMULA(std::string_view product, std::string_view formula, bool msg_if_found = false,
                    bool msg_if_missing = false);
// An inactive warehouse is refused with "Bodega no activa" (always shown) unless
// check_active is false.
bool EXISTE_BODEGA(double number, bool msg_if_found = false, bool msg_if_missing = false,
                   bool check_active = true);
bool EXISTE_OPERARIO(double number, bool msg_if_found = false, bool msg_if_missing = false);
bool OPERARIO_ACTIVO(double number, bool msg_if_active = false, bool msg_if_inactive = false,
                     bool msg_if_missing = false);

// --- names (console code page, padded or cut to their width) ----------------------------
cp::Oem NOMBRE_PRODUCTO(std::string_view code, bool msg_if_missing = false);  // 50
cp::Oem NOMBRE_FORMULA(std::string_view product, std::string_view formula,
                       bool msg_if_missing = false);                  // 50
cp::Oem NOMBRE_OPERARIO(double number, bool msg_if_missing = false);  // 20
// Unit of measure of a component (kind "I") or of a product and formula: 3 characters.
cp::Oem UNIDAD_MEDIDA(std::string_view kind, std::string_view code, std::string_view formula = {});

// --- permissions (the SQL text viewer VERMEMO is ui/vermemo.h) ---------------------------
// Whether `user` (the session's user when not given) holds the permission `code`. The
// code must be registered and enabled for everybody; the user then needs either full
// access or the code's own column. Only the plain refusal can be silenced.
bool SISTEMA_PERMITE(std::string_view code, std::optional<std::string_view> user = {},
                     bool show_refusal = true);

// --- stock -------------------------------------------------------------------------------
// Quantity on hand; 0 without record. For kind "I" the formula plays no part.
double STOCK(double warehouse, std::string_view kind, std::string_view code,
             std::string_view formula = {}, double needed = 0, bool msg_if_short = false);
// Adds `amount` (negative to take away), creating the record when there is none.
bool SUMA_STOCK(double warehouse, std::string_view kind, std::string_view code,
                std::string_view formula, double amount);
// The stock panel beside the product catalogue, rows 3-34, columns 1-25.
void VERSTK(std::string_view kind, std::string_view code,
            std::optional<std::string_view> formula = {}, bool only_non_zero = false);
// Whether transfers of the item are pending; with a formula (kind "P" only), of that
// formula (same_formula) or of the others.
bool EXISTEN_TRANSF_PEND(std::string_view kind, std::string_view code,
                         std::optional<std::string_view> formula = {}, bool same_formula = true);

}  // namespace abm
