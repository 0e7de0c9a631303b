// Statements, rows, moving through a result and the error flags.
#include <gtest/gtest.h>

#include "runtime/server/tmysql.h"
#include "support/servidor_prueba.h"

namespace {

class Query : public ::testing::Test {
  protected:
    void SetUp() override {
        srv = prueba::conectar_mariadb("test");
        ASSERT_FALSE(srv->NetErr());
        ASSERT_FALSE(srv->Query("create temporary table filas (n int primary key, "
                                "nombre varchar(20), activo tinyint(1), fecha date)")
                         .NetErr());
        ASSERT_FALSE(srv->Query("insert into filas values (1,'uno',1,'2026-01-31'), "
                                "(2,'dos',0,'2026-02-28'), (3,'tres',1,null)")
                         .NetErr());
    }
    std::unique_ptr<TMySQLServer> srv;
};

TEST_F(Query, SelectThatFindsNothing) {
    auto q = srv->Query("select * from filas where n=99");
    EXPECT_FALSE(q.NetErr());
    EXPECT_EQ(q.LastRec(), 0);
    EXPECT_TRUE(q.Eof());
    auto r = q.GetRow(1);
    ASSERT_TRUE(r) << "a result without rows answers with a row of empty values";
    EXPECT_EQ(r->FieldGet("nombre").text(), std::string(20, ' '));
    EXPECT_EQ(r->FieldGet("n").number(), 0);
    EXPECT_TRUE(r->FieldGet("n").is_number());
    EXPECT_FALSE(r->FieldGet("activo").logical());
    EXPECT_TRUE(r->FieldGet("activo").is_logical());
    EXPECT_TRUE(r->FieldGet("fecha").is_date());
    EXPECT_TRUE(r->FieldGet("fecha").date().empty());
    EXPECT_TRUE(q.Eof());
}

TEST_F(Query, InsertHasNoRows) {
    auto q = srv->Query("insert into filas values (4,'cuatro',0,'2026-04-30')");
    EXPECT_FALSE(q.NetErr());
    EXPECT_FALSE(srv->NetErr());
    EXPECT_EQ(q.LastRec(), 0);
    EXPECT_FALSE(q.GetRow());
    EXPECT_FALSE(q.GetRow(1));
    EXPECT_TRUE(q.FieldGet(1).is_nil());
    EXPECT_EQ(srv->Query("select * from filas").LastRec(), 4);
}

TEST_F(Query, ReadingLoopVisitsEveryRowInOrder) {
    auto q = srv->Query("select n, nombre from filas order by n");
    std::vector<double> seen;
    while (!q.Eof()) {
        auto r = q.GetRow();
        seen.push_back(r->FieldGet("n").number());
        q.Skip();
    }
    EXPECT_EQ(seen, (std::vector<double>{1, 2, 3}));
}

TEST_F(Query, MovingIsCutAtBothEnds) {
    auto q = srv->Query("select n from filas order by n");
    ASSERT_EQ(q.LastRec(), 3);
    EXPECT_EQ(q.RecNo(), 1);
    EXPECT_FALSE(q.Eof());
    struct Step {
        const char* what;
        long move;
        long recno;
        bool eof;
        double n;  // value read there; 0 past the end
    };
    const Step steps[] = {
        {"Skip(1)", 1, 2, false, 2},
        {"Skip(1) to the last", 1, 3, false, 3},
        {"Skip past the last", 1, 4, true, 0},
        {"Skip again stays", 1, 4, true, 0},
        {"Skip(10) stays", 10, 4, true, 0},
        {"Skip(-1) back to last", -1, 3, false, 3},
        {"Skip(-10) cut at 1", -10, 1, false, 1},
        {"Skip(0) stays", 0, 1, false, 1},
        {"Skip(5) cut past end", 5, 4, true, 0},
    };
    for (const auto& s : steps) {
        q.Skip(s.move);
        EXPECT_EQ(q.RecNo(), s.recno) << s.what;
        EXPECT_EQ(q.Eof(), s.eof) << s.what;
        EXPECT_EQ(q.FieldGet("n").number(), s.n) << s.what;
    }
    q.Skip(-10);
    EXPECT_TRUE(q.Bof());
}

TEST_F(Query, GetRowIsDirectAccess) {
    auto q = srv->Query("select n from filas order by n");
    EXPECT_EQ(q.GetRow(3)->FieldGet(1).number(), 3);
    EXPECT_EQ(q.GetRow(1)->FieldGet(1).number(), 1);
    EXPECT_EQ(q.GetRow()->FieldGet(1).number(), 1) << "without n: the current row";
    EXPECT_FALSE(q.Eof());
    for (long outside : {0L, -1L, 4L, 100L}) {
        auto r = q.GetRow(outside);
        ASSERT_TRUE(r);
        EXPECT_TRUE(q.Eof()) << outside;
        EXPECT_EQ(q.RecNo(), 4) << outside;
        EXPECT_EQ(r->FieldGet(1).number(), 0);
    }
    EXPECT_EQ(q.GetRow(2)->FieldGet(1).number(), 2);
    EXPECT_FALSE(q.Eof());
}

TEST_F(Query, DirectAccessIntoALargeResult) {
    auto rows = srv->Query(
        "select seq as n, concat('fila ', seq) as t, if(seq%7=0, null, seq%2) as par "
        "from seq_1_to_3000");
    ASSERT_EQ(rows.LastRec(), 3000);
    for (long n : {3000L, 1L, 1500L, 7L, 2999L, 2L, 14L}) {
        auto r = rows.GetRow(n);
        EXPECT_EQ(r->FieldGet("n").number(), n);
        EXPECT_EQ(r->Raw(2), "fila " + std::to_string(n));
        EXPECT_EQ(r->Raw(3), n % 7 == 0 ? "" : std::to_string(n % 2));
    }
    rows.GetRow(2990);
    long seen = 0;
    while (!rows.Eof()) {
        seen += rows.FieldGet(1).number() >= 2990;
        rows.Skip();
    }
    EXPECT_EQ(seen, 11);
}

TEST_F(Query, ResultsAreIndependent) {
    auto a = srv->Query("select n from filas order by n");
    auto b = srv->Query("select n from filas order by n desc");
    a.Skip();
    EXPECT_EQ(a.FieldGet(1).number(), 2);
    EXPECT_EQ(b.FieldGet(1).number(), 3);
    b.Destroy();
    EXPECT_EQ(a.GetRow(3)->FieldGet(1).number(), 3);
}

TEST_F(Query, DestroyReleasesTheRows) {
    auto q = srv->Query("select n from filas");
    q.Destroy();
    EXPECT_FALSE(q.GetRow(1));
    EXPECT_TRUE(q.FieldGet(1).is_nil());
    q.Skip();
    EXPECT_TRUE(q.Eof());
    q.Destroy();  // harmless a second time
}

TEST_F(Query, ServerFlagSurvivesLaterGoodStatementsUntilError) {
    auto bad = srv->Query("insert into filas values (1,'repetido',0,null)");  // duplicate key
    EXPECT_TRUE(bad.NetErr());
    EXPECT_EQ(bad.LastRec(), 0);
    EXPECT_FALSE(bad.GetRow(1)) << "a rejected statement has no rows";
    EXPECT_TRUE(srv->NetErr());

    auto good = srv->Query("update filas set nombre='otro' where n=2");
    EXPECT_FALSE(good.NetErr());
    EXPECT_TRUE(srv->NetErr()) << "only Error() clears the connection's flag";
    auto select = srv->Query("select * from filas");
    EXPECT_FALSE(select.NetErr());
    EXPECT_TRUE(srv->NetErr());

    std::string text = srv->Error();
    EXPECT_FALSE(srv->NetErr());
    EXPECT_EQ(text, "") << "the connection reports its last statement, which succeeded";

    EXPECT_NE(bad.Error().find("Duplicate"), std::string::npos)
        << "the statement keeps the text of its own failure";
    EXPECT_FALSE(bad.NetErr());
}

TEST_F(Query, ErrorGivesTheServerMessage) {
    auto q = srv->Query("select * from no_existe");
    EXPECT_TRUE(q.NetErr());
    EXPECT_TRUE(srv->NetErr());
    std::string text = srv->Error();
    EXPECT_NE(text.find("no_existe"), std::string::npos) << text;
    EXPECT_FALSE(srv->NetErr());
}

TEST_F(Query, SelectDatabase) {
    EXPECT_EQ(srv->database(), "test");
    EXPECT_FALSE(srv->SelectDB("no_such_company"));
    EXPECT_TRUE(srv->NetErr());
    EXPECT_EQ(srv->database(), "");
    EXPECT_TRUE(srv->SelectDB("velmo"));
    EXPECT_FALSE(srv->NetErr()) << "a good selection clears the flag";
    EXPECT_EQ(srv->database(), "velmo");
    EXPECT_EQ(srv->Query("select * from paramet").FieldGet("num_vales").number(), 15230);
}

TEST_F(Query, StatementWithoutDatabaseFails) {
    auto other = TMySQLServer::New(prueba::direccion_mariadb(), datos::USUARIO_SERVIDOR,
                                   datos::CLAVE_SERVIDOR);
    ASSERT_FALSE(other->NetErr());
    EXPECT_FALSE(other->SelectDB("nada"));
    other->Error();
    auto q = other->Query("select * from paramet");
    EXPECT_TRUE(q.NetErr());
    EXPECT_TRUE(other->NetErr());
}

}  // namespace
