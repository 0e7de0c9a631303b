#pragma once
// Statements on the off-line store. Every statement the program sends to the store goes
// through ejecutar, which runs it and keeps its result (rows, or none) in `RS` for the caller
// to read; RS.Close() lets it go, and the next statement replaces it.
#include <string_view>

#include "runtime/offline/todbc.h"

namespace datos {

// True when the store took the statement.
bool ejecutar(rt::TODBC& RS, std::string_view sql);

// The number in column `columna` of the current row ("" reads as 0).
double numero_en(const rt::TODBC& RS, std::string_view columna);

}  // namespace datos
