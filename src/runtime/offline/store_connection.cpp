#include "runtime/offline/store_connection.h"

#include <unistd.h>

#include <array>
#include <filesystem>
#include <system_error>

namespace rt {
namespace {

std::filesystem::path program_folder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path{} : exe.parent_path();
}

// The copy next to the program wins; otherwise the build-time location.
std::string locate(std::string_view file_name, std::string_view build_path) {
    const auto folder = program_folder();
    if (!folder.empty()) {
        const auto beside = folder / file_name;
        if (::access(beside.c_str(), R_OK) == 0) return beside.string();
    }
    return std::string(build_path);
}

}  // namespace

std::string sqlite_odbc_driver_path() {
    return locate("libsqlite3odbc.so", VALES_SQLITE_ODBC_DRIVER);
}

std::string access_extension_path() {
    return locate("libvales_access.so", VALES_ACCESS_EXTENSION);
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
