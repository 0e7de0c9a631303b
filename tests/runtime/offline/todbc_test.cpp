// TODBC against the real driver manager, SQLite ODBC driver and our extension.
#include "runtime/offline/todbc.h"

#include <gtest/gtest.h>

#include "support/offline_store.h"

namespace testing_support {
using namespace rt;
namespace {

using TodbcTest = StoreTest;

TEST_F(TodbcTest, SelectThatFindsNothingHoldsNoRowAndBlankValues) {
    TODBC db(connection());
    ASSERT_TRUE(db.Connected()) << db.SQLErrorMessage();
    db.SetSQL("select * from bodegas where numero_bod=7");
    EXPECT_TRUE(db.Open()) << db.SQLErrorMessage();
    EXPECT_EQ(db.LastRec(), 0);
    EXPECT_EQ(db.RecCount(), 0);
    EXPECT_TRUE(db.Eof());
    db.First();
    EXPECT_TRUE(db.Eof());
    ASSERT_NE(db.FieldByName("NOMBRE_BOD"), nullptr);
    EXPECT_EQ(db.FieldByName("nombre_bod")->Value, std::string(128, ' '));
}

TEST_F(TodbcTest, InsertRunsThroughOpenAndHoldsNoRow) {
    TODBC db(connection());
    db.SetSQL("insert into bodegas (numero_bod,nombre_bod) Values(1, 'CENTRAL' )");
    EXPECT_TRUE(db.Open()) << db.SQLErrorMessage();
    EXPECT_EQ(db.LastRec(), 0);
    EXPECT_TRUE(db.Eof());
    EXPECT_TRUE(db.Fields().empty());
}

TEST_F(TodbcTest, WalksRowsAndStaysAtEndAfterTheLast) {
    TODBC db(connection());
    for (int n = 1; n <= 3; ++n) {
        run(db, "insert into bodegas (numero_bod,nombre_bod) Values(" + std::to_string(n) + ", 'B" +
                    std::to_string(n) + "' )");
    }
    db.SetSQL("select numero_bod, nombre_bod from bodegas order by numero_bod");
    ASSERT_TRUE(db.Open());
    ASSERT_EQ(db.LastRec(), 3);
    // Row 1 is loaded straight after Open, without First.
    EXPECT_EQ(db.FieldValue("NUMERO_BOD"), "1");
    EXPECT_EQ(db.Skip(), 0);
    EXPECT_EQ(db.FieldValue("nombre_bod"), "B2");
    db.Skip();
    EXPECT_EQ(db.FieldValue("nombre_bod"), "B3");
    EXPECT_FALSE(db.Eof());
    EXPECT_EQ(db.Skip(), 100);
    EXPECT_TRUE(db.Eof());
    EXPECT_EQ(db.FieldValue("nombre_bod"), "");
    db.Skip();
    EXPECT_TRUE(db.Eof());
    EXPECT_EQ(db.RecNo(), 4);
    db.First();
    EXPECT_FALSE(db.Eof());
    EXPECT_EQ(db.FieldValue("nombre_bod"), "B1");
}

TEST_F(TodbcTest, FindsFieldsByNameInAnyCase) {
    TODBC db(connection());
    db.SetSQL("select count(*) as cantidad from bodegas");
    ASSERT_TRUE(db.Open());
    EXPECT_EQ(db.FieldByName("CANTIDAD"), db.FieldByName("cantidad"));
    ASSERT_NE(db.FieldByName("Cantidad"), nullptr);
    EXPECT_EQ(db.FieldByName("cantidad")->Value, "0");
    EXPECT_EQ(db.FieldByName("cantidad")->FieldID, 1);
    EXPECT_EQ(db.FieldByName("otra"), nullptr);
    EXPECT_EQ(db.FieldValue("otra"), "");
}

TEST_F(TodbcTest, OpenRunsOnlyOnceAndSetSqlClosesTheResult) {
    TODBC db(connection());
    db.SetSQL("");
    EXPECT_FALSE(db.Open());
    db.SetSQL("select count(*) as cantidad from bodegas");
    ASSERT_TRUE(db.Open());
    EXPECT_TRUE(db.Active());
    EXPECT_FALSE(db.Open());  // still active: nothing runs
    db.SetSQL("select count(*) as otra from bodegas");
    EXPECT_FALSE(db.Active());
    EXPECT_TRUE(db.Open());
    EXPECT_EQ(db.FieldValue("otra"), "0");
    db.Close();
    EXPECT_FALSE(db.Active());
    EXPECT_EQ(db.LastRec(), 0);
    EXPECT_EQ(db.RecNo(), 0);
}

TEST_F(TodbcTest, FailuresGiveFalseWithoutRowsAndSayNothingOnTheTerminal) {
    StderrCapture err;
    TODBC db(connection());
    db.SetSQL("select nombre from no_existe");
    EXPECT_FALSE(db.Open());
    EXPECT_EQ(db.LastRec(), 0);
    EXPECT_TRUE(db.Eof());
    EXPECT_EQ(db.FieldByName("nombre"), nullptr);
    EXPECT_EQ(db.SQLErrorMessage().rfind("Error HY000 - ", 0), 0u) << db.SQLErrorMessage();
    // A code wider than its column is refused, not cut.
    db.SetSQL(
        "insert into prodcmp (codi_prod, desc_prod, unid_med) Values('9000000001', 'X', 'KG ' )");
    EXPECT_FALSE(db.Open());
    // A delete or update that matches nothing ran cleanly.
    db.SetSQL("delete from  vales_cab where n_interno=99");
    EXPECT_TRUE(db.Open());
    db.SetSQL("update vales_cab set c_estado='2' where n_interno=99");
    EXPECT_TRUE(db.Open());
    db.SetSQL("select mid('abc',0,1) as x");  // an error raised by our own functions
    EXPECT_FALSE(db.Open());
    EXPECT_EQ(err.text(), "");
}

TEST_F(TodbcTest, EveryWindows1252ByteAndTrailingBlanksRoundTrip) {
    std::string all;
    for (int b = 1; b <= 255; ++b) all += static_cast<char>(b);
    const std::string values[] = {all,
                                  "\xD1"
                                  "and\xFA"
                                  " O'Higgins   ",
                                  "A00010001",
                                  "  ",
                                  "'",
                                  std::string(127, 'x'),
                                  std::string(128, 'y') + "z"};
    TODBC db(connection());
    for (const auto& v : values) {
        run(db, "delete from bodegas");
        run(db, "insert into bodegas (numero_bod,nombre_bod) Values(1, '" + mdb_quote(v) + "' )");
        db.SetSQL("select nombre_bod from bodegas where nombre_bod='" + mdb_quote(v) + "'");
        ASSERT_TRUE(db.Open());
        ASSERT_EQ(db.LastRec(), 1);
        EXPECT_EQ(db.FieldValue("nombre_bod"), v);
    }
}

TEST_F(TodbcTest, YesNoAndDateColumnsReadAsTheirTextForms) {
    TODBC db(connection());
    run(db,
        "insert into prodvtas (codi_prod, desc_prod, codi_form, desc_form, l_vigente, "
        "l_activo) Values('A00010001', 'LADRILLO', '001', 'ESTANDAR', true, False)");
    run(db,
        "insert into vales_cab (codi_prod, codi_form, num_bodega, fecha, cantidad, malas, "
        "c_estado) values('A00010001', '001', 1, '06/12/2026', 150.00, 0.50, '1')");
    db.SetSQL("select * from prodvtas, vales_cab");
    ASSERT_TRUE(db.Open());
    EXPECT_EQ(db.FieldValue("l_vigente"), "1");
    EXPECT_EQ(db.FieldValue("l_activo"), "0");
    EXPECT_EQ(db.FieldValue("fecha"), "2026-12-06 00:00:00");
    EXPECT_EQ(db.FieldValue("cantidad"), "150");
    EXPECT_EQ(db.FieldValue("malas"), "0.5");
}

TEST_F(TodbcTest, ImpossibleDateIsRefusedNotStored) {
    TODBC db(connection());
    for (const char* fecha : {"31/02/2026", "00/12/2026", "  /  /    ", "6/12/2026", "hoy"}) {
        db.SetSQL(std::string("insert into vales_cab (codi_prod, codi_form, num_bodega, fecha, "
                              "cantidad, malas, c_estado) values('A00010001', '001', 1, '") +
                  fecha + "', 1, 0, '1')");
        EXPECT_FALSE(db.Open()) << fecha;
    }
    run(db, "update vales_cab set fecha='29/02/2024'");
    db.SetSQL("select count(*) as cantidad from vales_cab");
    ASSERT_TRUE(db.Open());
    EXPECT_EQ(db.FieldValue("cantidad"), "0");
}

TEST_F(TodbcTest, SecondConnectionReadsWhileTheFirstHoldsAResult) {
    TODBC rs(connection());
    run(rs,
        "insert into prodvtas (codi_prod, desc_prod, codi_form, desc_form, l_vigente, "
        "l_activo) Values('A00010001', 'LADRILLO', '001', 'ESTANDAR', true, true)");
    rs.SetSQL("select * from prodvtas");
    ASSERT_TRUE(rs.Open());
    {
        TODBC rsaux(rs.ConnectionString());
        rsaux.SetSQL("select desc_prod from prodvtas where codi_prod='A00010001'");
        ASSERT_TRUE(rsaux.Open()) << rsaux.SQLErrorMessage();
        EXPECT_EQ(rsaux.FieldValue("DESC_PROD"), "LADRILLO");
        rsaux.Close();
    }
    EXPECT_EQ(rs.FieldValue("codi_form"), "001");
    run(rs,
        "insert into vales_cab (codi_prod, codi_form, num_bodega, fecha, cantidad, malas, "
        "c_estado) values('A00010001', '001', 1, '06/12/2026', 1, 0, '1')");
}

TEST_F(TodbcTest, TransactionKeepsAllOrNothing) {
    TODBC db(connection());
    ASSERT_TRUE(db.BeginTransaction());
    run(db, "insert into bodegas (numero_bod,nombre_bod) Values(1, 'UNA' )");
    EXPECT_TRUE(db.RollbackTransaction());
    ASSERT_TRUE(db.BeginTransaction());
    run(db, "insert into bodegas (numero_bod,nombre_bod) Values(2, 'DOS' )");
    EXPECT_TRUE(db.CommitTransaction());
    run(db, "insert into bodegas (numero_bod,nombre_bod) Values(3, 'TRES' )");  // autocommit again
    TODBC other(connection());
    other.SetSQL("select numero_bod from bodegas order by numero_bod");
    ASSERT_TRUE(other.Open());
    ASSERT_EQ(other.LastRec(), 2);
    EXPECT_EQ(other.Rows()[0][0], "2");
    EXPECT_EQ(other.Rows()[1][0], "3");
}

// A writer that finds the store locked by another connection gives up after a bounded wait
// instead of hanging the program, and succeeds once the lock is gone.
TEST_F(TodbcTest, LockedStoreRefusesAWriteAfterABoundedWait) {
    TODBC first(connection());
    TODBC second(connection());
    ASSERT_TRUE(first.BeginTransaction());
    run(first, "insert into bodegas (numero_bod,nombre_bod) Values(1, 'UNA' )");
    second.SetSQL("insert into bodegas (numero_bod,nombre_bod) Values(2, 'DOS' )");
    EXPECT_FALSE(second.Open());
    EXPECT_NE(second.SQLErrorMessage().find("locked"), std::string::npos)
        << second.SQLErrorMessage();
    // Reading is not blocked by the other connection's unfinished write.
    second.SetSQL("select count(*) as cantidad from bodegas");
    ASSERT_TRUE(second.Open());
    EXPECT_EQ(second.FieldValue("cantidad"), "0");
    EXPECT_TRUE(first.CommitTransaction());
    run(second, "insert into bodegas (numero_bod,nombre_bod) Values(2, 'DOS' )");
}

TEST(StoreValues, NumbersAndQuotesForStatements) {
    EXPECT_EQ(mdb_quote("O'Higgins ''"), "O''Higgins ''''");
    EXPECT_EQ(mdb_number(12), "12");
    EXPECT_EQ(mdb_number(12.5), "12.5");
    EXPECT_EQ(mdb_number(-0.0), "0");
    EXPECT_EQ(mdb_number(150, 2), "150.00");
    EXPECT_EQ(mdb_number(0.1 + 0.2, 2), "0.30");
    EXPECT_EQ(mdb_number(1e9), "1000000000");
    const std::pair<const char*, double> reads[] = {
        {"", 0},           {"  12", 12},         {"12.5", 12.5}, {"9 ", 9},
        {"9 5", 9},        {"-3", -3},           {"+4", 4},      {"150.0", 150},
        {"0.5x", 0.5},     {"abc", 0},           {"-", 0},       {".", 0},
        {" .5", 0.5},      {"1,5", 1},           {"  :  ", 0},   {"5.0e-05", 0.00005},
        {"1.0e+15", 1e15}, {"-2.5E-7", -2.5e-7}, {"5e", 5},      {"7e+x", 7},
    };
    for (const auto& [text, value] : reads) EXPECT_DOUBLE_EQ(store_number(text), value) << text;
    for (const char* text : {"", " ", "abc", "12x", "1,5", "-", "5e", "1e999", "0x10"})
        EXPECT_FALSE(store_number_exact(text).has_value()) << text;
    EXPECT_EQ(store_number_exact(" 150.0 "), 150);
}

// Every number a voucher may hold goes into a NUMERIC column as the program writes it and
// comes back, through the driver's own text (which has an exponent below 1e-4 and from
// 1e15 up), as the same number.
TEST_F(TodbcTest, NumbersComeBackAsWrittenWhateverTextTheDriverGives) {
    const double values[] = {0.00005, 0.00001, 0.12345, -0.0001, 150,   150.5,       2.5,
                             -250,    1e15,    1.5e15,  -3e16,   1e-10, 999999999.99};
    TODBC db(connection());
    std::string texts;
    for (const double v : values) {
        run(db, "delete from formulas");
        run(db, "insert into formulas (prd_sale, prd_buy, consumo) values ('X', 'Y', " +
                    mdb_number(v) + ")");
        db.SetSQL("select consumo from formulas");
        ASSERT_TRUE(db.Open());
        const std::string text = db.FieldValue("consumo");
        texts += text + " ";
        EXPECT_EQ(store_number_exact(text), v) << text;
        EXPECT_EQ(store_number(text), v) << text;
    }
    EXPECT_NE(texts.find("e-05"), std::string::npos) << "the driver's forms: " << texts;
}

}  // namespace
}  // namespace testing_support
