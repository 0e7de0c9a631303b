#include "runtime/offline/store_creation.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
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
