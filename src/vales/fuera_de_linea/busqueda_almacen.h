#pragma once
// The statement of an off-line help list (a search or its first load) on the store `RS` of
// the entry that opened the list.
#include <functional>
#include <string_view>

#include "runtime/common/oem.h"
#include "runtime/offline/todbc.h"
#include "runtime/worktables/work_table.h"

namespace vales {

// Runs `sql`: when the store refuses it, `error` in a message box and false (the table
// keeps its rows); otherwise the table is emptied, `agregar` appends the store's current
// row for each row read, and the table is left on its first record.
bool buscar_en_almacen(rt::TODBC& RS, rt::wt::WorkTable& t, std::string_view sql, cp::OemView error,
                       const std::function<void()>& agregar);

}  // namespace vales
