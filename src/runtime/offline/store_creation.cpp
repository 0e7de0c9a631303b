#include "runtime/offline/store_creation.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "runtime/offline/todbc.h"

namespace rt {
namespace {

namespace fs = std::filesystem;

// How many tables, indexes and triggers the schema text defines.
long schema_objects() {
    long n = 0;
    const auto schema = offline_schema();
    for (auto at = schema.find("CREATE "); at != std::string_view::npos;
         at = schema.find("CREATE ", at + 1)) {
        ++n;
    }
    return n;
}

void remove_with_companions(const fs::path& file) {
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        fs::remove(file.string() + suffix, ec);
    }
}

bool process_alive(long pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// Scratch files left by a creation whose program was killed ("vales.mdb.nuevo-<pid>" and
// its companions). A creation under way in another copy of the program is left alone.
void remove_leftovers(const fs::path& folder, const std::string& scratch_prefix) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(scratch_prefix)) continue;
        const std::string rest = name.substr(scratch_prefix.size());
        const std::size_t digits = rest.find_first_not_of("0123456789");
        if (digits == 0 || rest.empty()) continue;
        const long pid = std::stol(rest.substr(0, digits));
        if (pid == ::getpid() || !process_alive(pid)) fs::remove(entry.path(), ec);
    }
}

// An empty file under the store's name (a copy by hand that was cut short) holds nothing
// and would be opened as a store without tables: it counts as no store at all.
bool empty_file(const fs::path& file) {
    std::error_code ec;
    return fs::is_regular_file(file, ec) && fs::file_size(file, ec) == 0 && !ec;
}

bool build(const fs::path& file, std::string& why) {
    TODBC store(offline_connection_string_for(file.string(), /*may_create=*/true));
    if (!store.Connected()) {
        why = store.SQLErrorMessage();
        return false;
    }
    // The driver runs the whole batch, but its answer for a batch is not a reliable verdict:
    // the objects are counted afterwards.
    store.SetSQL(offline_schema());
    store.Open();
    const auto batch_error = store.SQLErrorMessage();
    store.SetSQL("select count(*) as objetos from sqlite_master where name not like 'sqlite%'");
    if (!store.Open() || store_number(store.FieldValue("objetos")) != schema_objects()) {
        why = "Error  - no se pudieron crear las tablas: " + batch_error;
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
    const auto folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string scratch_prefix = target.filename().string() + ".nuevo-";
    remove_leftovers(folder, scratch_prefix);
    std::error_code ec;
    if (empty_file(target)) remove_with_companions(target);
    if (fs::exists(target, ec)) return StoreCreation::existed;
    fs::create_directories(folder, ec);

    // Built under a scratch name and put in place with link(), which refuses to replace a
    // file: a half-built store is never seen, and a store made meanwhile is never replaced.
    const fs::path scratch = folder / (scratch_prefix + std::to_string(::getpid()));
    remove_with_companions(scratch);
    bool ok = build(scratch, why);
    bool raced = false;
    if (ok && ::link(scratch.c_str(), target.c_str()) != 0) {
        raced = fs::exists(target, ec);  // another copy of the program made it meanwhile
        ok = false;
        if (!raced) why = "Error  - no se pudo crear " + target.string();
    }
    remove_with_companions(scratch);
    if (raced) return StoreCreation::existed;
    if (!ok && error != nullptr) *error = why;
    return ok ? StoreCreation::created : StoreCreation::failed;
}

}  // namespace rt
