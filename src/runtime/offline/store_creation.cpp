#include "runtime/offline/store_creation.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "runtime/offline/todbc.h"

namespace rt {
namespace {

namespace fs = std::filesystem;

// Every table the statements of the program use.
constexpr int kTables = 8;

void remove_with_companions(const fs::path& file) {
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        fs::remove(file.string() + suffix, ec);
    }
}

bool build(const fs::path& file, std::string& why) {
    TODBC store(offline_connection_string_for(file.string(), /*may_create=*/true));
    if (!store.Connected()) {
        why = store.SQLErrorMessage();
        return false;
    }
    // The driver runs the whole batch; its answer for a batch is not a reliable verdict, so
    // the tables are counted afterwards.
    store.SetSQL(offline_schema());
    store.Open();
    store.SetSQL("select count(*) as tablas from sqlite_master where type='table' and "
                 "name in ('prodvtas','formulas','prodcmp','unidmed','operario','bodegas',"
                 "'vales_cab','vales_itm')");
    if (!store.Open() || store_number(store.FieldValue("tablas")) != kTables) {
        why = "Error  - no se pudieron crear las tablas: " + store.SQLErrorMessage();
        return false;
    }
    store.Close();
    store.Destroy();
    return true;
}

}  // namespace

StoreCreation create_offline_store(std::string_view database, std::string* error) {
    std::string why;
    const fs::path target{std::string(database)};
    std::error_code ec;
    if (fs::exists(target, ec)) return StoreCreation::existed;
    const auto folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    fs::create_directories(folder, ec);

    // Built under a scratch name and put in place with link(), which refuses to replace a
    // file: a half-built store is never seen, and a store made meanwhile is never replaced.
    const fs::path scratch =
        folder / (target.filename().string() + ".nuevo-" + std::to_string(::getpid()));
    remove_with_companions(scratch);
    bool ok = build(scratch, why);
    if (ok && ::link(scratch.c_str(), target.c_str()) != 0) {
        ok = fs::exists(target, ec);
        if (!ok) why = "Error  - no se pudo crear " + target.string();
        if (ok) {
            remove_with_companions(scratch);
            return StoreCreation::existed;
        }
    }
    remove_with_companions(scratch);
    if (!ok && error != nullptr) *error = why;
    return ok ? StoreCreation::created : StoreCreation::failed;
}

}  // namespace rt
