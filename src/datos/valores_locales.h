#pragma once
// Value rules of the off-line side: the time of day typed in the item forms and the date as
// the off-line store returns it.
#include <string_view>

#include "runtime/common/fecha.h"

namespace datos {

// A time typed as "hh:mm": five characters once trimmed, hours 0-23, minutes 0-59; a blank in
// a digit position ends the number (" 5" and "5 " both read as 5).
bool VALIDAHORA(std::string_view hora);

// The store's date text "yyyy-mm-dd hh:mm:ss" as a date; the empty date when it is not one.
rt::Fecha FECHA_MDB_TO_NORMAL(std::string_view fecha);

}  // namespace datos
