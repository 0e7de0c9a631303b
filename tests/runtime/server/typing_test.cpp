// Values read from the server come back typed and padded by their column type.
#include <gtest/gtest.h>

#include "runtime/server/tmysql.h"
#include "support/servidor_prueba.h"

namespace {

using Kind = rt::MySQLValue::Kind;

class Typing : public ::testing::Test {
  protected:
    void SetUp() override {
        srv = prueba::conectar_mariadb("test");
        ASSERT_FALSE(srv->NetErr());
        auto made = srv->Query(
            "create temporary table tipos (id int, t_tiny tinyint(1), t_tiny4 tinyint(4), "
            "t_small smallint, t_int int, t_big bigint, t_med mediumint, t_float float, "
            "t_double double, t_dec decimal(12,3), t_date date, t_text text, t_blob blob, "
            "t_varchar varchar(40), t_char char(9), t_datetime datetime, t_time time, "
            "t_year year)");
        ASSERT_FALSE(made.NetErr()) << made.Error();
        auto filled = srv->Query(
            "insert into tipos values "
            "(1, 1, 5, -3, 123456, 1234567890123, 42, 1.5, -2.25, 1234.567, '2026-12-06', "
            "'abc', 'xyz', 'abc', 'A01', '2026-12-06 09:05:00', '09:05:00', 2026), "
            "(2, null, null, null, null, null, null, null, null, null, null, null, null, null, "
            "null, null, null, null), "
            "(3, 0, 0, 0, 0, 0, 0, 0, 0, 0, '0000-00-00', '', '', '', '', null, null, null)");
        ASSERT_FALSE(filled.NetErr()) << filled.Error();
    }
    TMySQLRow row(int id) {
        auto q = srv->Query("select * from tipos where id=" + std::to_string(id));
        EXPECT_EQ(q.LastRec(), 1);
        return *q.GetRow(1);
    }
    std::unique_ptr<TMySQLServer> srv;
};

TEST_F(Typing, ValuesAreTypedByColumn) {
    auto r = row(1);
    EXPECT_TRUE(r.FieldGet("t_tiny").logical());
    EXPECT_TRUE(r.FieldGet("t_tiny4").is_logical());
    EXPECT_TRUE(r.FieldGet("t_tiny4").logical()) << "a TINYINT holding a count reads as true";
    EXPECT_EQ(r.FieldGet("t_small").number(), -3);
    EXPECT_EQ(r.FieldGet("t_int").number(), 123456);
    EXPECT_EQ(r.FieldGet("t_big").number(), 1234567890123.0);
    EXPECT_EQ(r.FieldGet("t_med").number(), 42);
    EXPECT_EQ(r.FieldGet("t_float").number(), 1.5);
    EXPECT_EQ(r.FieldGet("t_double").number(), -2.25);
    EXPECT_DOUBLE_EQ(r.FieldGet("t_dec").number(), 1234.567);
    ASSERT_TRUE(r.FieldGet("t_date").is_date());
    EXPECT_EQ(r.FieldGet("t_date").date(), *rt::Fecha::from_ymd(2026, 12, 6));
    EXPECT_EQ(r.FieldGet("t_text").text(), "abc") << "TEXT is not padded";
    EXPECT_EQ(r.FieldGet("t_blob").text(), "xyz");
    EXPECT_EQ(r.FieldGet("t_varchar").text(), "abc" + std::string(37, ' '));
    EXPECT_EQ(r.FieldGet("t_char").text(), "A01      ");
    EXPECT_EQ(r.FieldGet("t_datetime").text(), "2026-12-06 09:05:00");
    EXPECT_EQ(r.FieldGet("t_time").text(), "09:05:00") << "TIME is text, not padded";
    EXPECT_EQ(r.FieldGet("t_year").text(), "2026");
    EXPECT_EQ(r.Raw(r.FieldPos("t_varchar")), "abc") << "the copy as read is unpadded";
}

TEST_F(Typing, NullsGiveTheEmptyValueOfTheirKind) {
    auto r = row(2);
    struct Case {
        const char* column;
        Kind kind;
    };
    for (auto [column, kind] :
         {Case{"t_tiny", Kind::Logical}, Case{"t_int", Kind::Number}, Case{"t_dec", Kind::Number},
          Case{"t_date", Kind::Date}, Case{"t_text", Kind::Text}, Case{"t_time", Kind::Text}}) {
        EXPECT_EQ(r.FieldGet(column).kind(), kind) << column;
    }
    EXPECT_FALSE(r.FieldGet("t_tiny").logical());
    EXPECT_EQ(r.FieldGet("t_int").number(), 0);
    EXPECT_TRUE(r.FieldGet("t_date").date().empty());
    EXPECT_EQ(r.FieldGet("t_text").text(), "");
    EXPECT_EQ(r.FieldGet("t_varchar").text(), std::string(40, ' '));
    EXPECT_EQ(r.FieldGet("t_char").text(), std::string(9, ' '));
    EXPECT_EQ(r.FieldGet("t_datetime").text(), std::string(19, ' '));
    EXPECT_EQ(r.FieldGet("t_time").text(), "");
    EXPECT_EQ(r.FieldGet("t_year").text(), "");
}

TEST_F(Typing, ZeroValuesAndTheZeroDate) {
    auto r = row(3);
    EXPECT_TRUE(r.FieldGet("t_tiny").is_logical());
    EXPECT_FALSE(r.FieldGet("t_tiny").logical());
    EXPECT_TRUE(r.FieldGet("t_date").is_date());
    EXPECT_TRUE(r.FieldGet("t_date").date().empty()) << "0000-00-00 is no day";
    EXPECT_EQ(r.FieldGet("t_char").text(), std::string(9, ' '));
}

TEST_F(Typing, ColumnsByNameInAnyCaseAndByPosition) {
    auto q = srv->Query("select t_int as Numero, t_char, id from tipos where id=1");
    ASSERT_FALSE(q.NetErr());
    EXPECT_EQ(q.FCount(), 3);
    EXPECT_EQ(q.Fields()[0].name, "Numero");
    EXPECT_EQ(q.Fields()[1].table, "tipos");
    EXPECT_EQ(q.Fields()[1].length, 9u) << "latin1: lengths in characters";
    for (auto name : {"Numero", "NUMERO", "numero", "nUmErO"})
        EXPECT_EQ(q.FieldGet(name).number(), 123456) << name;
    EXPECT_EQ(q.FieldGet(1).number(), 123456);
    EXPECT_EQ(q.FieldGet(2).text(), "A01      ");
    EXPECT_EQ(q.FieldGet(3).number(), 1);
    for (int bad : {0, -1, 4}) EXPECT_TRUE(q.FieldGet(bad).is_nil()) << bad;
    EXPECT_TRUE(q.FieldGet("t_int").is_nil()) << "the alias replaces the column name";
    EXPECT_TRUE(q.FieldGet("").is_nil());
    auto r = q.GetRow();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->FieldGet("T_CHAR"), q.FieldGet("t_char"));
}

TEST_F(Typing, FirstOfTwoColumnsWithTheSameName) {
    auto q = srv->Query("select 1 as n, 2 as N");
    EXPECT_EQ(q.FieldGet("n").number(), 1);
    EXPECT_EQ(q.FieldGet(2).number(), 2);
}

}  // namespace
