#pragma once
// The rows of the product list's work table (fields CODIGO, CODI_FORM, DESCRIP, DESC_FORM,
// L_ACTIVO, L_VIGENTE): filled from the server's catalogue rows, and kept up to date by the
// product form.
#include <string_view>

#include "runtime/server/tmysql.h"
#include "runtime/worktables/work_table.h"

namespace abm {

// Whether the table has the product list's fields.
bool es_tabla_de_productos(const rt::wt::WorkTable& t);

// Empties the table and appends one row per result row (codi_prod, codi_form, desc_prod,
// desc_form, l_activo, l_vigente), texts in the console's code page.
void llenar_productos(rt::wt::WorkTable& t, TMySQLQuery& res);

// Reads the product's flags "in force" and "active" from the server into the current row;
// on a server error shows "Error:" and the server's message and returns false.
bool releer_marcas(rt::wt::WorkTable& t, std::string_view codigo, std::string_view formula);

}  // namespace abm
