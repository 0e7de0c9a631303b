#pragma once
// The store file comes with its tables defined. On a machine that has none yet, the program
// creates it once from the schema built into it; an existing file is never touched.
#include <string>
#include <string_view>

#include "runtime/offline/store_connection.h"

namespace rt {

enum class StoreCreation { existed, created, failed };

// Creates `database` (and its folder) with every table of the store, unless a file of that
// name already exists; an empty file (a copy cut short) counts as none and is replaced.
// The file appears complete or not at all. Scratch files that a creation killed half way
// left beside it are removed first. On failure, `error` (when given) receives the reason;
// nothing is shown.
StoreCreation create_offline_store(std::string_view database = kOfflineStoreFile,
                                   std::string* error = nullptr);

// The schema text (sql/offline_schema.sql, built into the program).
std::string_view offline_schema();

}  // namespace rt
