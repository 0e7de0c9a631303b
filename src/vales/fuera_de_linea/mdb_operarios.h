#pragma once
// The operator help list of the off-line entry: the active operators of the off-line
// store's copy, in name order, searchable as the on-line list is (ayuda_operarios.h); its
// searches, too, find only active operators.
#include "runtime/offline/todbc.h"

namespace vales {

// With `elegir`, Enter on an operator (while the search text is empty or already searched)
// types Home, the operator's number and Enter into the keyboard buffer and leaves the list.
void MDB_OPERARIOS(rt::TODBC& RS, bool elegir = false);

}  // namespace vales
