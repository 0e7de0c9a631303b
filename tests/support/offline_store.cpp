#include "support/offline_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "support/store_rows.h"

namespace testing_support {

TempFolder::TempFolder() {
    char pattern[] = "/tmp/vales-store-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (made == nullptr) throw std::runtime_error("mkdtemp");
    path_ = made;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

ScratchStore::ScratchStore() : file_(folder_.path() / "datos" / "vales.mdb") {
    std::string error;
    if (rt::create_offline_store(file_.string(), &error) != rt::StoreCreation::created) {
        ADD_FAILURE() << "no se pudo crear el almacén de prueba: " << error;
    }
}

void ScratchStore::run(const std::string& sql) const {
    rt::TODBC db(connection());
    db.SetSQL(sql);
    EXPECT_TRUE(db.Open()) << sql << "\n" << db.SQLErrorMessage();
}

std::vector<std::string> ScratchStore::rows(const std::string& sql) const {
    rt::TODBC db(connection());
    return store_rows(db, sql);
}

void StoreTest::run(rt::TODBC& db, const std::string& sql) {
    db.SetSQL(sql);
    EXPECT_TRUE(db.Open()) << sql << "\n" << db.SQLErrorMessage();
}

StderrCapture::StderrCapture() {
    std::fflush(stderr);
    file_ = ::open("/tmp", O_TMPFILE | O_RDWR, 0600);
    saved_ = ::dup(STDERR_FILENO);
    ::dup2(file_, STDERR_FILENO);
}

StderrCapture::~StderrCapture() {
    std::fflush(stderr);
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
    ::close(file_);
}

std::string StderrCapture::text() {
    std::fflush(stderr);
    std::string out;
    char buffer[256];
    ssize_t n = 0;
    for (off_t at = 0; (n = ::pread(file_, buffer, sizeof buffer, at)) > 0; at += n) {
        out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

}  // namespace testing_support

// The SQLite ODBC driver does not free SQLite's message when an extension fails to load (the
// missing-extension test provokes it once); that allocation is the driver's, not ours.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions() {
    return "leak:libsqlite3.so.0\n";
}
