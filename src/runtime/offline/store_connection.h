#pragma once
// Where the off-line store lives and how the program reaches it. The connection text is
// fixed: the file datos/vales.mdb under the working folder, opened through the SQLite ODBC
// driver with our SQL-function extension loaded. The extension is looked for only relative to
// the running program (../lib/vales, then its own folder); the driver next to the program,
// then at its system path.
#include <string>
#include <string_view>

namespace rt {

inline constexpr std::string_view kOfflineStoreFile = "datos/vales.mdb";

// The program's connection text (computed once).
const std::string& offline_connection_string();

// The same keys for another database file; `may_create` drops the refusal to create a
// missing file (only the store creation uses it).
std::string offline_connection_string_for(std::string_view database, bool may_create = false);

std::string sqlite_odbc_driver_path();
std::string access_extension_path();

}  // namespace rt
