#pragma once
// Lookups that validate codes against the master-data copies of the off-line store (the
// MDB_ routines), the time-of-day rule of the item forms and the date read from the store.
//
// The lookups run on the store `RS` of the off-line operation that calls them and leave
// their result held there (the caller's next statement replaces it); only the product-name
// lookup opens a second connection of its own. A statement that fails counts as one that
// found nothing; no store error text is shown. The optional flags ask for a message box in
// one outcome; the result never depends on them.
#include <string>
#include <string_view>

#include "datos/valores_locales.h"
#include "runtime/common/oem.h"
#include "runtime/offline/todbc.h"

namespace vales {

// Existence: true when at least one row is found.
bool MDB_EXISTE_BODEGA(rt::TODBC& RS, double bodega, bool msg_si_existe = false,
                       bool msg_si_no_existe = false);
bool MDB_EXISTE_PRODUCTO(rt::TODBC& RS, std::string_view producto, bool msg_si_existe = false,
                         bool msg_si_no_existe = false);
bool MDB_EXISTE_FORMULA(rt::TODBC& RS, std::string_view producto, std::string_view formula,
                        bool msg_si_existe = false, bool msg_si_no_existe = false);
bool MDB_EXISTE_OPERARIO(rt::TODBC& RS, double operario, bool msg_si_existe = false,
                         bool msg_si_no_existe = false);

// True when the operator exists and is marked active.
bool MDB_OPERARIO_ACTIVO(rt::TODBC& RS, double operario, bool msg_si_activo = false,
                         bool msg_si_inactivo = false, bool msg_si_no_existe = false);

// Names in the console code page, padded or cut to 50, 50 and 20 characters; blanks of
// that width when nothing is found. The product name is read on a second connection to the
// same store (RSAUX), so the caller's result in RS stays as it was.
cp::Oem MDB_NOMBRE_PRODUCTO(rt::TODBC& RS, std::string_view producto,
                            bool msg_si_no_existe = false);
cp::Oem MDB_NOMBRE_FORMULA(rt::TODBC& RS, std::string_view producto, std::string_view formula,
                           bool msg_si_no_existe = false);
cp::Oem MDB_NOMBRE_OPERARIO(rt::TODBC& RS, double operario, bool msg_si_no_existe = false);

// The time rule of the item forms and the store's date text (datos/valores_locales.h).
using datos::FECHA_MDB_TO_NORMAL;
using datos::VALIDAHORA;

}  // namespace vales
