#pragma once
// Reading what a store holds, for assertions: rows as text and bytes as hexadecimal digits
// (the form the store's hex() gives), so that a NUL or an escape byte shows in a failure.
#include <string>
#include <string_view>
#include <vector>

#include "runtime/offline/todbc.h"

namespace testing_support {

// The rows of `sql` on `db`, each as "value|value|...", exactly as the store returns them.
// Fails the current test when the statement fails.
std::vector<std::string> store_rows(rt::TODBC& db, const std::string& sql);

// "A\0" gives "4100".
std::string hex(std::string_view bytes);

}  // namespace testing_support
