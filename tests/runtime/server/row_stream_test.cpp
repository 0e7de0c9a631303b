// Rows read one at a time as the server sends them.
#include "runtime/server/mysql_row_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/server/server_wait.h"
#include "runtime/server/tmysql.h"
#include "support/servidor_propio.h"
#include "support/servidor_prueba.h"

namespace {

class RowStream : public ::testing::Test {
  protected:
    std::unique_ptr<TMySQLServer> srv = prueba::conectar_mariadb("test");
};

// Every value of every row as FieldGet and Raw give it: the stream must read exactly like
// the stored result of the same statement.
TEST_F(RowStream, ReadsTheRowsAndValuesOfTheStoredResult) {
    const char* selects[] = {
        "select * from prodvtas order by codi_prod, codi_form",
        "select codi_oper, nom_oper, codi_grupo, ope_activo, rut, digito_verif from operario",
        "select numero_bod, nombre_bod, l_vales, curdate() as hoy, null as nada from bodegas",
        "select concat('a', char(0), 'b', char(27), char(241)) as bytes, 1.5 as n",
        "select * from bodegas where 1 = 0",
    };
    for (const char* sql : selects) {
        SCOPED_TRACE(sql);
        auto guardado = srv->Query(sql);
        ASSERT_FALSE(guardado.NetErr()) << srv->Error();
        rt::MySQLRowStream filas(*srv, sql);
        ASSERT_FALSE(filas.NetErr()) << filas.Error();
        ASSERT_EQ(filas.Fields().size(), guardado.Fields().size());
        for (std::size_t i = 0; i < filas.Fields().size(); ++i) {
            EXPECT_EQ(filas.Fields()[i].name, guardado.Fields()[i].name);
            EXPECT_EQ(filas.Fields()[i].type, guardado.Fields()[i].type);
            EXPECT_EQ(filas.Fields()[i].length, guardado.Fields()[i].length);
        }
        long n = 0;
        while (filas.Next()) {
            const auto row = guardado.GetRow(++n);
            ASSERT_TRUE(row && n <= guardado.LastRec());
            for (int c = 1; c <= row->FCount(); ++c) {
                EXPECT_EQ(filas.FieldGet(c), row->FieldGet(c)) << n << ", " << c;
                EXPECT_EQ(filas.Raw(c), row->Raw(c)) << n << ", " << c;
            }
        }
        EXPECT_FALSE(filas.NetErr());
        EXPECT_EQ(n, guardado.LastRec());
        EXPECT_EQ(filas.RowsRead(), n);
        EXPECT_FALSE(filas.Next());  // stays at the end
    }
    rt::MySQLRowStream bytes(*srv, "select concat('a', char(0), 'b') as Valor");
    ASSERT_TRUE(bytes.Next());
    EXPECT_EQ(bytes.FieldPos("VALOR"), 1);
    EXPECT_EQ(bytes.FieldPos("otra"), 0);
    EXPECT_EQ(bytes.Raw(1), std::string_view("a\0b", 3));
    EXPECT_TRUE(bytes.FieldGet(2).is_nil());
    EXPECT_EQ(bytes.Raw(0), "");
}

TEST_F(RowStream, RefusedStatementOrNoConnectionRaiseBothFlags) {
    {
        rt::MySQLRowStream filas(*srv, "select * from no_existe");
        EXPECT_TRUE(filas.NetErr());
        EXPECT_TRUE(srv->NetErr());
        EXPECT_FALSE(filas.Next());
        EXPECT_NE(filas.Error().find("no_existe"), std::string::npos);
        EXPECT_FALSE(filas.NetErr());
        EXPECT_NE(srv->Error().find("no_existe"), std::string::npos);
    }
    // The connection goes on after a refused stream.
    EXPECT_EQ(srv->Query("select * from bodegas").NetErr(), false);
    srv->Destroy();
    rt::MySQLRowStream filas(*srv, "select * from bodegas");
    EXPECT_TRUE(filas.NetErr());
    EXPECT_TRUE(srv->NetErr());
    EXPECT_EQ(filas.Error(), "No connection to server");
}

// A stream let go before its end does not block the connection: the rows not read are
// drained, and the next statement runs.
TEST_F(RowStream, RowsLeftUnreadDoNotBlockTheConnection) {
    const std::string muchas =
        "select a.codi_prod, b.codi_prod from prodvtas a, prodvtas b, prodvtas c";
    {
        rt::MySQLRowStream filas(*srv, muchas);
        ASSERT_TRUE(filas.Next());
    }
    auto q = srv->Query("select count(*) from bodegas");
    EXPECT_FALSE(q.NetErr()) << srv->Error();
    EXPECT_GT(q.FieldGet(1).number(), 0);
}

// A connection cut while the rows are still coming: the reading stops with an error rather
// than passing for the end of the rows.
TEST_F(RowStream, ConnectionCutMidwayIsAnErrorNotTheEnd) {
    auto id = srv->Query("select connection_id()");
    const long conexion = static_cast<long>(id.FieldGet(1).number());
    // About 100 MB: far more than the network buffers hold, so most rows are still to come.
    const std::string enorme =
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 100000) "
        "select i, repeat('x', 1000) from n";
    ASSERT_FALSE(srv->Query("set session max_recursive_iterations = 200000").NetErr());
    rt::MySQLRowStream filas(*srv, enorme);
    ASSERT_TRUE(filas.Next()) << filas.Error();
    auto otra = prueba::conectar_mariadb("test");
    ASSERT_FALSE(otra->Query("kill " + std::to_string(conexion)).NetErr()) << otra->Error();
    while (filas.Next()) {
    }
    EXPECT_TRUE(filas.NetErr());
    EXPECT_TRUE(srv->NetErr());
    EXPECT_LT(filas.RowsRead(), 100000);
    EXPECT_FALSE(filas.Error().empty());
}

// A server that falls silent, before its first row or in the middle of them, is given up
// after the limit of silence on the application's clock, as any statement is: the reading
// ends with an error, and the connection is closed so that late rows are never taken for
// the answer to the next statement.
TEST(RowStreamSilentServer, IsGivenUpBeforeOrAmidTheRows) {
    for (const bool amid_rows : {false, true}) {
        SCOPED_TRACE(amid_rows ? "amid the rows" : "before the first row");
        prueba::OwnServer own;
        ASSERT_TRUE(own.started()) << own.logs();
        auto srv = TMySQLServer::New(own.address(), datos::USUARIO_SERVIDOR, datos::CLAVE_SERVIDOR);
        ASSERT_FALSE(srv->NetErr()) << srv->Error();
        ASSERT_FALSE(srv->Query("set session max_recursive_iterations = 200000").NetErr());
        double now = 0;
        std::vector<bool> ends;
        rt::ServerWait wait;
        wait.clock = [&] { return now; };
        wait.pause = [&](double seconds, double) { now += seconds; };
        wait.done = [&](bool gave_up) { ends.push_back(gave_up); };
        const rt::ServerWait previous = rt::install_server_wait(wait);

        if (!amid_rows) {
            ASSERT_TRUE(own.freeze());
        }
        rt::MySQLRowStream filas(
            *srv,
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < 100000) "
            "select i, repeat('x', 1000) from n");
        if (amid_rows) {
            ASSERT_TRUE(filas.Next()) << filas.Error();
            ASSERT_TRUE(own.freeze());
        }
        while (filas.Next()) {
        }
        own.resume();
        rt::install_server_wait(previous);

        EXPECT_TRUE(filas.NetErr());
        EXPECT_LT(filas.RowsRead(), 100000);
        EXPECT_EQ(ends, std::vector<bool>{true});
        EXPECT_FALSE(srv->connected());
        EXPECT_TRUE(srv->Query("select 1").NetErr());
    }
}

}  // namespace
