// Text values placed in statements through the quoting helper reach the server and come
// back byte for byte, whatever they hold; numbers and addresses as statement text.
#include <gtest/gtest.h>

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
