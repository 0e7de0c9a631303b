#include "runtime/offline/store_creation.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <sstream>

#include "support/offline_store.h"

namespace testing_support {
using namespace rt;
namespace {

std::string contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

TEST(StoreCreation, CreatesFolderAndTablesOnceAndNeverTouchesAnExistingFile) {
    TempFolder folder;
    const auto file = folder.path() / "datos" / "vales.mdb";
    std::string error;
    ASSERT_EQ(create_offline_store(file.string(), &error), StoreCreation::created) << error;
    {
        TODBC db(offline_connection_string_for(file.string()));
        db.SetSQL("insert into bodegas (numero_bod,nombre_bod) Values(1, 'CENTRAL' )");
        ASSERT_TRUE(db.Open());
    }
    EXPECT_EQ(create_offline_store(file.string()), StoreCreation::existed);
    {
        TODBC db(offline_connection_string_for(file.string()));
        db.SetSQL("select count(*) as cantidad from bodegas");
        ASSERT_TRUE(db.Open());
        EXPECT_EQ(db.FieldValue("cantidad"), "1");
    }
    // Whatever sits under the name stays as it is, even if it is no store at all.
    const auto other = folder.path() / "otro.mdb";
    std::ofstream(other) << "no es una base";
    EXPECT_EQ(create_offline_store(other.string()), StoreCreation::existed);
    EXPECT_EQ(contents(other), "no es una base");
    // Only the store itself is left behind: no scratch files.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

std::set<std::string> files_in(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// What interrupted work leaves behind: the scratch files of a creation whose program was
// killed go (not those of a creation still under way in a live program), and an empty
// store, a copy by hand cut short, is built anew.
TEST(StoreCreation, LeftoversOfInterruptedWorkAreCleared) {
    TempFolder folder;
    const auto datos = folder.path() / "datos";
    std::filesystem::create_directories(datos);
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ASSERT_GT(dead, 0);
    ::waitpid(dead, nullptr, 0);
    const std::string killed = "vales.mdb.nuevo-" + std::to_string(dead);
    const std::string running = "vales.mdb.nuevo-" + std::to_string(::getppid());
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        std::ofstream(datos / (killed + suffix)) << "a medio hacer";
    std::ofstream(datos / running) << "en curso";
    std::ofstream(datos / "vales.mdb.nuevo-copia") << "no es de un programa";
    std::ofstream(datos / "vales.mdb");  // empty

    std::string error;
    ASSERT_EQ(create_offline_store((datos / "vales.mdb").string(), &error), StoreCreation::created)
        << error;
    EXPECT_EQ(files_in(datos),
              (std::set<std::string>{"vales.mdb", running, "vales.mdb.nuevo-copia"}));
    EXPECT_EQ(contents(datos / running), "en curso");
    TODBC db(offline_connection_string_for((datos / "vales.mdb").string()));
    db.SetSQL("select count(*) as cantidad from bodegas");
    ASSERT_TRUE(db.Open()) << db.SQLErrorMessage();
    EXPECT_EQ(db.FieldValue("cantidad"), "0");
}

TEST(StoreCreation, FailsQuietlyWhereNoFolderCanBeMade) {
    TempFolder folder;
    const auto blocker = folder.path() / "datos";
    std::ofstream(blocker) << "un archivo donde debería haber una carpeta";
    std::string error;
    EXPECT_EQ(create_offline_store((blocker / "vales.mdb").string(), &error),
              StoreCreation::failed);
    EXPECT_FALSE(error.empty());
}

// The program's fixed connection text: datos/vales.mdb under the working folder.
TEST(StoreCreation, FixedConnectionReachesTheStoreUnderTheWorkingFolder) {
    TempFolder folder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    ASSERT_EQ(create_offline_store(), StoreCreation::created);
    {
        TODBC rs;
        EXPECT_EQ(rs.ConnectionString(), offline_connection_string());
        rs.SetSQL("insert into bodegas (numero_bod,nombre_bod) Values(7, 'SIETE' )");
        EXPECT_TRUE(rs.Open()) << rs.SQLErrorMessage();
    }
    std::filesystem::current_path(previous);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "datos" / "vales.mdb"));
    EXPECT_NE(offline_connection_string().find(";Database=datos/vales.mdb;"), std::string::npos);
    EXPECT_NE(offline_connection_string().find(";NoCreat=1"), std::string::npos);
}

}  // namespace
}  // namespace testing_support
