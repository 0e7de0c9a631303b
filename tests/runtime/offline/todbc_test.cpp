#include "runtime/offline/todbc.h"

#include <gtest/gtest.h>

#include "runtime/offline/store_fixture.h"

namespace rt::testing {
namespace {

using TodbcTest = StoreTest;

TEST_F(TodbcTest, SelectThatFindsNothing) {
    TODBC db(connection());
    ASSERT_TRUE(db.Connected()) << db.SQLErrorMessage();
    db.SetSQL("select * from bodegas where numero_bod=7");
    EXPECT_TRUE(db.Open()) << db.SQLErrorMessage();
    EXPECT_EQ(db.LastRec(), 0);
    db.First();
    EXPECT_TRUE(db.Eof());
    ASSERT_NE(db.FieldByName("NOMBRE_BOD"), nullptr);
    EXPECT_EQ(db.FieldByName("nombre_bod")->Value, std::string(128, ' '));
}

}  // namespace
}  // namespace rt::testing
