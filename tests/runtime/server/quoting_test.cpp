// Text values placed in statements through the quoting helper reach the server and come
// back byte for byte, whatever they hold; numbers and addresses as statement text.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "runtime/server/tmysql.h"
#include "support/modo_sql.h"
#include "support/servidor_prueba.h"

namespace {

std::string all_bytes_but_nul() {
    std::string s;
    for (int b = 1; b < 256; ++b) s += static_cast<char>(b);
    return s;
}

const std::vector<std::string>& hostile_texts() {
    static const std::vector<std::string> texts = {
        "O'Higgins",
        "''",
        "\\",
        "a\\'b",
        "\\' or 1=1 -- ",
        "x'; drop table hostil; -- ",
        "/* comentario */ #almohadilla",
        "\"comillas\" `acento grave`",
        "punto;y;coma;",
        "\xD1u\xF1oa \xF1"
        "and\xFA"
        " 100%_",
        "l\xED"
        "nea\r\nnueva\tTab\x1A"
        "Fin",
        "trailing blanks   ",
        all_bytes_but_nul(),
    };
    return texts;
}

// With the server in each SQL mode a plant may use: the connection is opened after the
// mode is set.
class Quoting : public ::testing::TestWithParam<std::string> {
  protected:
    prueba::ModoSql modo{GetParam()};
    void SetUp() override {
        srv = prueba::conectar_mariadb("test");
        ASSERT_FALSE(srv->Query("create temporary table hostil (id int, v varchar(255), "
                                "t text, b blob)")
                         .NetErr());
    }
    std::unique_ptr<TMySQLServer> srv;
};

TEST_P(Quoting, HostileTextsAreStoredAndComparedExactly) {
    const auto& texts = hostile_texts();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string q = srv->escape(texts[i]);
        auto ins = srv->Query("insert into hostil set id=" + std::to_string(i) + ", v='" + q +
                              "', t='" + q + "', b='" + q + "'");
        ASSERT_FALSE(ins.NetErr()) << i << ": " << ins.Error();
    }
    EXPECT_EQ(srv->Query("select * from hostil").LastRec(), static_cast<long>(texts.size()))
        << "no text ended its statement early or added one";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string q = srv->escape(texts[i]);
        auto sel = srv->Query("select id, v, t, b from hostil where binary t='" + q +
                              "' and binary b='" + q + "'");
        ASSERT_FALSE(sel.NetErr()) << i << ": " << sel.Error();
        ASSERT_EQ(sel.LastRec(), 1) << "text " << i << " found by itself";
        EXPECT_EQ(sel.FieldGet("id").number(), static_cast<double>(i));
        EXPECT_EQ(sel.FieldGet("t").text(), texts[i]) << i;
        EXPECT_EQ(sel.FieldGet("b").text(), texts[i]) << i;
        auto row = sel.GetRow();
        EXPECT_EQ(row->Raw(2), texts[i]) << "VARCHAR keeps the bytes, trailing blanks too";
        auto echo = srv->Query("select '" + q + "' as eco");
        EXPECT_EQ(echo.GetRow()->Raw(1), texts[i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Modos, Quoting, testing::ValuesIn(prueba::modos_sql()),
                         prueba::nombre_modo);

// The escapes follow the server's mode as the connection found it.
TEST(QuotingHelper, EscapesOnlyWhatTheServerReads) {
    for (const auto& modo : prueba::modos_sql()) {
        SCOPED_TRACE(modo);
        prueba::ModoSql activo(modo);
        auto srv = prueba::conectar_mariadb("");
        const bool literal_backslash = modo == "NO_BACKSLASH_ESCAPES";
        EXPECT_EQ(srv->escape("abc \xF1"), "abc \xF1");
        EXPECT_EQ(srv->escape("O'Brien"), literal_backslash ? "O''Brien" : "O\\'Brien");
        EXPECT_EQ(srv->escape("a\\b"), literal_backslash ? "a\\b" : "a\\\\b");
        if (!literal_backslash) {
            EXPECT_EQ(srv->escape(std::string("a\0b", 3)), "a\\0b");
            EXPECT_EQ(srv->escape("\r\n\x1A\""), "\\r\\n\\Z\\\"");
        } else {
            EXPECT_EQ(srv->escape("\r\n\x1A\""), "\r\n\x1A\"");
        }
    }
    // No connection, no statement: the default mode's escapes.
    EXPECT_EQ(rt::mysql_escape(nullptr, "O'Brien"), "O\\'Brien");
    auto cerrada = TMySQLServer::New("127.0.0.1:1", "x", "y");
    EXPECT_EQ(cerrada->escape("a\\'"), "a\\\\\\'");
}

// Whatever mode the server runs in, each connection's own is strict (a value out of its
// column's range is an error, not a clipped write) and keeps only the modes the program's
// statements are known to work under.
TEST(SessionMode, StrictWhateverTheServersMode) {
    struct Case {
        const char* server;
        const char* session;
    };
    const Case cases[] = {
        {"", "STRICT_TRANS_TABLES"},
        {"STRICT_TRANS_TABLES,ERROR_FOR_DIVISION_BY_ZERO,NO_AUTO_CREATE_USER,"
         "NO_ENGINE_SUBSTITUTION",
         "STRICT_TRANS_TABLES,ERROR_FOR_DIVISION_BY_ZERO,NO_AUTO_CREATE_USER,"
         "NO_ENGINE_SUBSTITUTION"},
        {"PIPES_AS_CONCAT,NO_BACKSLASH_ESCAPES,EMPTY_STRING_IS_NULL,ANSI_QUOTES",
         "STRICT_TRANS_TABLES,NO_BACKSLASH_ESCAPES,ANSI_QUOTES"},
        {"REAL_AS_FLOAT,PIPES_AS_CONCAT,ANSI_QUOTES,IGNORE_SPACE,ONLY_FULL_GROUP_BY,ANSI",
         "STRICT_TRANS_TABLES,ANSI_QUOTES,IGNORE_SPACE"},
    };
    // The server lists a mode in its own order.
    auto modos = [](const std::string& lista) {
        std::set<std::string> out;
        std::stringstream in(lista);
        for (std::string m; std::getline(in, m, ',');) out.insert(m);
        return out;
    };
    auto admin = prueba::conectar_mariadb("");
    const std::string previo = admin->Query("select @@global.sql_mode").GetRow(1)->Raw(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.server);
        EXPECT_EQ(rt::strict_sql_mode(c.server), c.session);
        ASSERT_FALSE(admin->Query(std::string("set global sql_mode='") + c.server + "'").NetErr());
        auto srv = prueba::conectar_mariadb("test");
        EXPECT_EQ(modos(srv->Query("select @@session.sql_mode").GetRow(1)->Raw(1)),
                  modos(c.session));
        ASSERT_FALSE(srv->Query("create temporary table cifra (x decimal(5,2))").NetErr());
        auto fuera = srv->Query("insert into cifra values (123456)");
        EXPECT_TRUE(fuera.NetErr()) << "out of range";
        auto redondeo = srv->Query("insert into cifra values (1.005)");
        EXPECT_FALSE(redondeo.NetErr()) << "extra decimals are rounded as the server does";
        EXPECT_EQ(prueba::filas(*srv, "select x from cifra"), std::vector<std::string>{"1.01"});
    }
    admin->Query("set global sql_mode='" + previo + "'");
}

TEST(NumberText, DecimalDigitsWithoutBlanksOrExponent) {
    struct Case {
        double n;
        const char* text;
    };
    for (auto [n, text] :
         {Case{0, "0"}, Case{-0.0, "0"}, Case{7, "7"}, Case{-2.5, "-2.5"}, Case{1234.56, "1234.56"},
          Case{0.1, "0.1"}, Case{1e20, "100000000000000000000"}, Case{1e-7, "0.0000001"},
          Case{150, "150"}})
        EXPECT_EQ(rt::mysql_number(n), text) << n;
}

TEST(Address, HostAndOptionalPort) {
    struct Case {
        const char* text;
        const char* host;  // nullptr: not an address
        unsigned port;
    };
    const Case cases[] = {
        {"192.168.1.10", "192.168.1.10", 3306},
        {"127.0.0.1:33061", "127.0.0.1", 33061},
        {" srv.planta:3307 ", "srv.planta", 3307},
        {"[::1]:4000", "::1", 4000},
        {"::1", "::1", 3306},
        {"[::1]", "::1", 3306},
        {"", nullptr, 0},
        {"host:", nullptr, 0},
        {":3306", nullptr, 0},
        {"host:0", nullptr, 0},
        {"host:65536", nullptr, 0},
        {"host:12x", nullptr, 0},
        {"[::1", nullptr, 0},
        {"[::1]x", nullptr, 0},
    };
    for (const auto& c : cases) {
        auto a = rt::parse_mysql_address(c.text);
        if (!c.host) {
            EXPECT_FALSE(a) << c.text;
            continue;
        }
        ASSERT_TRUE(a) << c.text;
        EXPECT_EQ(a->host, c.host) << c.text;
        EXPECT_EQ(a->port, c.port) << c.text;
    }
}

}  // namespace
