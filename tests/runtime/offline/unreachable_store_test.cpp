// A store that cannot be used shows only as Open returning false: no crash, and nothing from
// the driver on the terminal.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "support/offline_store.h"

namespace testing_support {
using namespace rt;
namespace {

// Connects with `connection`, runs a select and an insert; both must fail quietly.
void expect_unusable(const std::string& connection) {
    StderrCapture err;
    {
        TODBC db(connection);
        EXPECT_FALSE(db.Connected());
        db.SetSQL("select * from bodegas");
        EXPECT_FALSE(db.Open());
        EXPECT_EQ(db.LastRec(), 0);
        EXPECT_TRUE(db.Eof());
        db.SetSQL("insert into bodegas (numero_bod,nombre_bod) Values(1, 'X' )");
        EXPECT_FALSE(db.Open());
        EXPECT_FALSE(db.SQLErrorMessage().empty());
        db.Close();
    }
    EXPECT_EQ(err.text(), "");
}

TEST(UnreachableStore, MissingFileIsNotCreated) {
    TempFolder folder;
    const auto file = folder.path() / "datos" / "vales.mdb";
    expect_unusable(offline_connection_string_for(file.string()));
    EXPECT_FALSE(std::filesystem::exists(file));
    std::filesystem::create_directories(file.parent_path());
    expect_unusable(offline_connection_string_for(file.string()));
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(UnreachableStore, FileThatIsNotADatabase) {
    TempFolder folder;
    const auto file = folder.path() / "vales.mdb";
    std::ofstream(file) << "Standard Jet DB -- no es una base SQLite, aunque lo parezca\n";
    expect_unusable(offline_connection_string_for(file.string()));
}

TEST(UnreachableStore, MissingSqlFunctionsMakeTheStoreUnusable) {
    TempFolder folder;
    const auto file = folder.path() / "vales.mdb";
    ASSERT_EQ(create_offline_store(file.string()), StoreCreation::created);
    auto connection = offline_connection_string_for(file.string());
    const auto ext = access_extension_path();
    connection.replace(connection.find(ext), ext.size(), folder.path() / "no_existe.so");
    expect_unusable(connection);
}

// Root writes to any file whatever its mode, so the read-only case runs in a child process
// that gives up root first.
TEST(UnreachableStore, ReadOnlyFileRefusesWrites) {
    TempFolder folder;
    const auto file = folder.path() / "vales.mdb";
    ASSERT_EQ(create_offline_store(file.string()), StoreCreation::created);
    ::chmod(file.c_str(), 0444);
    ::chmod(folder.path().c_str(), 0555);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
        StderrCapture err;
        bool wrote = false;
        {
            TODBC db(offline_connection_string_for(file.string()));
            db.SetSQL("insert into bodegas (numero_bod,nombre_bod) Values(1, 'X' )");
            wrote = db.Open();
        }
        ::_exit(wrote ? 1 : (err.text().empty() ? 0 : 2));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(folder.path().c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the insert worked, 2: text on stderr, 3: setuid";
}

}  // namespace
}  // namespace testing_support
