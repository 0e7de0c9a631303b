#pragma once
// The server's record of where each voucher recorded off-line came from (table
// vales_origen): the workstation's identity and the voucher's local number, with the folio
// the server gave it. The save writes the record in the voucher's own transaction, and the
// key on the pair refuses a second one, so the server holds each off-line voucher once;
// uploads look here before sending, so a voucher the server holds is only marked sent.
#include <optional>
#include <string>

#include "vales/vale_registros.h"

namespace vales {

// Makes sure the company database has the table (creating it when it lacks it). False when
// it has not and cannot be given it; nothing is shown.
bool asegurar_tabla_origen();

// The folio under which the server holds the voucher from `origen`: 0 when it holds none;
// nullopt when the server could not be asked.
std::optional<long> folio_de_origen(const OrigenVale& origen);

// The statement that records `origen` for the voucher numbered `folio`.
std::string insercion_origen(const OrigenVale& origen, long folio);

}  // namespace vales
