#include "runtime/offline/store_connection.h"

#include <unistd.h>

#include <filesystem>
#include <initializer_list>
#include <system_error>

namespace rt {
namespace {

namespace fs = std::filesystem;

fs::path program_folder() {
    std::error_code ec;
    const auto exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path{} : exe.parent_path();
}

// The first readable file of `candidates`, or the first candidate when none is (the
// connection then fails and names where the file was expected).
std::string first_readable(std::initializer_list<fs::path> candidates) {
    for (const auto& file : candidates) {
        if (::access(file.c_str(), R_OK) == 0) return file.lexically_normal().string();
    }
    return candidates.begin()->lexically_normal().string();
}

constexpr const char* kExtension = "libvales_access.so";

}  // namespace

std::string sqlite_odbc_driver_path() {
    const auto folder = program_folder();
    if (folder.empty()) return VALES_SQLITE_ODBC_DRIVER;
    return first_readable({folder / "libsqlite3odbc.so", VALES_SQLITE_ODBC_DRIVER});
}

// Only places relative to the running program: a fixed absolute path would let whoever can
// write there run code in every copy of the program. Installed, the extension is in
// lib/vales beside the program's bin folder; in the build tree every executable sits one
// folder below the build's lib/vales. A program whose own location is unknown loads none,
// and the store then refuses to work rather than load a library from the working folder.
std::string access_extension_path() {
    const auto folder = program_folder();
    if (folder.empty()) return {};
    return first_readable({folder / ".." / "lib" / "vales" / kExtension, folder / kExtension});
}

std::string offline_connection_string_for(std::string_view database, bool may_create) {
    // WAL lets the product-name lookup read on a second connection while the first holds a
    // result; FULL sync makes a recorded voucher survive a power cut; Timeout bounds a lock
    // wait (the driver waits about twice this many milliseconds); NoCreat stops a wrong
    // working folder from silently producing an empty store.
    std::string s = "Driver=" + sqlite_odbc_driver_path();
    s += ";Database=";
    s += database;
    s += ";LoadExt=" + access_extension_path();
    s += ";JournalMode=WAL;SyncPragma=FULL;Timeout=1000;NoTXN=0;NoWCHAR=1;LongNames=0";
    s += may_create ? ";NoCreat=0" : ";NoCreat=1";
    return s;
}

const std::string& offline_connection_string() {
    static const std::string fixed = offline_connection_string_for(kOfflineStoreFile);
    return fixed;
}

}  // namespace rt
