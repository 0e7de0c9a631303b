// Prepared statements, batches of rows and transactions on a full store, against the real
// driver manager, SQLite ODBC driver and our extension.
#include "runtime/offline/todbc_statement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/offline/extension/bound_rows.h"
#include "support/offline_store.h"
#include "support/store_rows.h"

namespace testing_support {
using namespace rt;
namespace {

using TodbcStatementTest = StoreTest;

std::vector<std::string> rows(TODBC& db, const std::string& sql) {
    return store_rows(db, sql);
}

// Names no statement text could carry: a quote, a NUL, an escape, 8-bit and control bytes.
const std::string kNombres[] = {
    "Patio O'Higgins", std::string("A\0B", 3), "\x1b[2J\xf1\xd1\xff\x80 ", std::string("\0", 1), "",
    "  blancos  ",     "\r\n\t\x1a\\\"'%_",    std::string(300, '\xe9'),
};

TEST_F(TodbcStatementTest, BoundValuesReachTheStoreByteForByte) {
    TODBC db(connection());
    TODBCStatement ins(db, "insert into bodegas (numero_bod,nombre_bod) Values(?, ? )");
    ASSERT_TRUE(ins.Prepared()) << db.SQLErrorMessage();
    std::vector<std::string> esperadas;
    for (std::size_t i = 0; i < std::size(kNombres); ++i) {
        const std::string numero = std::to_string(i + 1);
        EXPECT_TRUE(ins.Execute({numero, kNombres[i]})) << i << ": " << db.SQLErrorMessage();
        esperadas.push_back(numero + "|" + hex(kNombres[i]) + "|text|integer");
    }
    EXPECT_EQ(rows(db,
                   "select numero_bod, hex(nombre_bod), typeof(nombre_bod), typeof(numero_bod) "
                   "from bodegas order by numero_bod"),
              esperadas);
    // A refused value is reported with the store's own text, and the statement goes on.
    TODBCStatement act(db, "insert into prodcmp (codi_prod, desc_prod, unid_med) Values(?, ?, ? )");
    EXPECT_FALSE(act.Execute({"9000000001", "X", "KG "}));  // wider than its column
    EXPECT_NE(db.SQLErrorMessage().find("CHECK constraint failed"), std::string::npos)
        << db.SQLErrorMessage();
    EXPECT_TRUE(act.Execute({"900000001", "X", "KG "})) << db.SQLErrorMessage();
    // A statement on a table that does not exist fails (the driver may only find out when it
    // runs) and says why.
    TODBCStatement mala(db, "insert into no_existe (a) Values(? )");
    EXPECT_FALSE(mala.Execute({"1"}));
    EXPECT_NE(db.SQLErrorMessage().find("no_existe"), std::string::npos) << db.SQLErrorMessage();
}

// Enough rows for several batches; every value goes in as it was given, in the order given,
// and the table's column types apply as to a bound text ("12" into a number column is 12).
TEST_F(TodbcStatementTest, BulkInsertWritesEveryRowInOrderAcrossBatches) {
    constexpr int kFilas = 12'000;
    TODBC db(connection());
    ASSERT_TRUE(db.BeginTransaction());
    TODBCBulkInsert ins(db,
                        "insert into operario (codi_oper, nom_oper, codi_grupo, ope_activo, rut, "
                        "digito_verif)",
                        6);
    ASSERT_TRUE(ins.Prepared()) << db.SQLErrorMessage();
    std::vector<std::string> esperadas;
    for (int i = 1; i <= kFilas; ++i) {
        const std::string numero = std::to_string(i);
        const std::string nombre = kNombres[i % std::size(kNombres)] + std::string(40, '.');
        const std::string activo = i % 3 ? "1" : "0";
        const std::string_view fila[] = {numero, nombre, "G01", activo, "12345678", "K"};
        ASSERT_TRUE(ins.Add(fila)) << i << ": " << db.SQLErrorMessage();
        if (i % 997 == 1) {
            esperadas.push_back(numero + "|" + hex(nombre) + "|" + activo + "|integer|integer");
        }
    }
    EXPECT_LT(ins.RowsWritten(), kFilas);  // the last batch waits for Flush
    ASSERT_TRUE(ins.Flush()) << db.SQLErrorMessage();
    EXPECT_EQ(ins.RowsWritten(), kFilas);
    ASSERT_TRUE(db.CommitTransaction());
    EXPECT_EQ(rows(db,
                   "select codi_oper, hex(nom_oper), ope_activo, typeof(codi_oper), "
                   "typeof(ope_activo) from operario where codi_oper % 997 = 1 order by rowid"),
              esperadas);
    EXPECT_EQ(rows(db, "select count(*), min(rowid = codi_oper) from operario"),
              std::vector<std::string>{std::to_string(kFilas) + "|1"});
}

// The batch function refuses what it cannot read whole instead of writing part of it.
TEST_F(TodbcStatementTest, MalformedBatchesAreRefused) {
    TODBC db(connection());
    std::string una_fila;
    bound_rows::append_value(una_fila, "7");
    bound_rows::append_value(una_fila, "Siete");
    const struct {
        std::string lote;
        const char* columnas;
        const char* error;
    } casos[] = {
        {una_fila.substr(0, una_fila.size() - 1), "2", "lote de filas incompleto"},
        {una_fila + una_fila.substr(0, 3), "2", "lote de filas incompleto"},
        {una_fila, "0", "cantidad de columnas no valida"},
        {una_fila, "17", "cantidad de columnas no valida"},
    };
    for (const auto& c : casos) {
        TODBCStatement ins(db, std::string("insert into bodegas (numero_bod,nombre_bod) select "
                                           "c1, c2 from bound_rows(?, ") +
                                   c.columnas + ")");
        ASSERT_TRUE(ins.Prepared()) << db.SQLErrorMessage();
        EXPECT_FALSE(ins.Execute({TODBCValue::Blob(c.lote)})) << c.columnas;
        EXPECT_NE(db.SQLErrorMessage().find(c.error), std::string::npos) << db.SQLErrorMessage();
    }
    EXPECT_TRUE(rows(db, "select * from bodegas").empty());
}

// Fills the formulas table until the store is full; false when it could not write them all.
bool llenar(TODBC& db, bool en_lotes) {
    constexpr const char* kCabeza =
        "insert into formulas (prd_sale,prd_buy,tipo_prd,consumo,codi_form)";
    TODBCBulkInsert lotes(db, kCabeza, 5);
    TODBCStatement fila(db, std::string(kCabeza) + " Values(?, ?, ?, ?, ? )");
    for (int i = 0; i < 50'000; ++i) {
        const std::string codigo = std::string("N").append(std::to_string(100000 + i));
        const std::string_view valores[] = {codigo, "900000002", "I", "1.5", "002"};
        if (!(en_lotes ? lotes.Add(valores)
                       : fila.Execute({codigo, "900000002", "I", "1.5", "002"}))) {
            return false;
        }
    }
    return !en_lotes || lotes.Flush();
}

// A store that runs out of space may undo the open transaction by itself (it does when a
// single-row insert fails; a many-row insert undoes only itself). Either way the rollback
// must report the old rows back, and the next transaction must be one: its delete and
// inserts undone together again, never committed one by one.
TEST_F(TodbcStatementTest, FullStoreLeavesTheOldRowsAttemptAfterAttempt) {
    for (const bool en_lotes : {false, true}) {
        ScratchStore store;
        TODBC db(store.connection());
        for (int i = 1; i <= 12; ++i) {
            StoreTest::run(db,
                           "insert into formulas (prd_sale,prd_buy,tipo_prd,consumo,codi_form) "
                           "Values('VIEJA" +
                               std::to_string(i) + "', '900000001', 'I', 1, '001' )");
        }
        const std::vector<std::string> viejas =
            rows(db, "select prd_sale from formulas order by rowid");
        const std::string paginas = rows(db, "pragma page_count").at(0);
        rows(db, "pragma max_page_count=" + std::to_string(std::stoi(paginas) + 2));
        for (int intento = 1; intento <= 3; ++intento) {
            SCOPED_TRACE(std::string(en_lotes ? "lotes" : "filas") + ", intento " +
                         std::to_string(intento));
            ASSERT_TRUE(db.BeginTransaction()) << db.SQLErrorMessage();
            StoreTest::run(db, "delete from formulas");
            EXPECT_FALSE(llenar(db, en_lotes));
            EXPECT_NE(db.SQLErrorMessage().find("full"), std::string::npos) << db.SQLErrorMessage();
            EXPECT_TRUE(db.RollbackTransaction()) << db.SQLErrorMessage();
            EXPECT_FALSE(db.InTransaction());
            EXPECT_EQ(rows(db, "select prd_sale from formulas order by rowid"), viejas);
        }
        // A transaction that fails on nothing is undone just as well.
        ASSERT_TRUE(db.BeginTransaction());
        StoreTest::run(db, "delete from formulas");
        EXPECT_TRUE(db.RollbackTransaction());
        EXPECT_EQ(rows(db, "select prd_sale from formulas order by rowid"), viejas);
        EXPECT_FALSE(db.RollbackTransaction());  // none open
    }
}

}  // namespace
}  // namespace testing_support
