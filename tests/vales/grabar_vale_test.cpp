// Saving vouchers to the test company: rows, stock, numbering, shortages and failures.
// The products, components and warehouse 77 used here are this file's own (codes
// beginning with "Z"); the counter and every row written are put back after each test.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "abm/servidor_abm.h"
#include "datos/identidad.h"
#include "datos/puntos_de_falla.h"
#include "datos/servidores.h"
#include "runtime/common/codepage.h"
#include "runtime/screen/keys.h"
#include "runtime/server/server_wait.h"
#include "support/pasarela.h"
#include "support/procesos.h"
#include "vales/en_linea/vales_ingreso_on_line.h"
#include "vales/espera_servidor.h"
#include "vales/filas_servidor.h"

namespace {

using namespace vales;

class GrabarVale : public prueba::ServidorAbm {
  protected:
    GrabarVale() {
        borrar_datos_propios();
        contador_ = contador();
        sql("insert into bodegas (numero_bod, nombre_bod, l_activo, l_vales) values "
            "(77, 'Bodega de pruebas', 1, 1)");
        sql("insert into prodcmp (codi_prod, desc_prod, unid_med, l_ctrl_stk) values "
            "('ZCOMP0001', 'Arena s\xEDlice ''fina''', 'KG', 1), "
            "('ZCOMP0002', 'Agua de prueba', 'LT', 0)");
        sql("insert into prodvtas (codi_prod, codi_form, desc_prod, desc_form, unid_med, "
            "l_ctrl_stk, codi_form_rel) values "
            "('ZPRUEBA01', '001', 'Pieza de prueba', 'Propia', 'UN', 1, '---'), "
            "('ZPRUEBA01', '002', 'Pieza de prueba', 'Comparte 001', 'UN', 1, '001'), "
            "('ZSUBPR001', '001', 'Mezcla de prueba', 'Propia', 'KG', 1, '---'), "
            "('ZSUBPR001', '002', 'Mezcla de prueba', 'Comparte 001', 'KG', 1, '001')");
        sql("insert into formulas (prd_sale, prd_buy, tipo_prd, codi_form, consumo) values "
            "('ZPRUEBA01001', '900000001', 'I', '', 1), "
            "('ZPRUEBA01001', '900000003', 'I', '', 1), "
            "('ZPRUEBA01001', 'ZCOMP0001', 'I', '', 2.5), "
            "('ZPRUEBA01001', 'ZCOMP0002', 'I', '', 0.5), "
            "('ZPRUEBA01001', 'ZSUBPR001', 'P', '002', 0.25), "
            "('ZPRUEBA01002', '900000001', 'I', '', 1), "
            "('ZPRUEBA01002', 'ZCOMP0001', 'I', '', 1)");
        sql("insert into stock_bodegas (numero_bod, tipo_prd, codi_prod, codi_form, stock) "
            "values (77, 'I', 'ZCOMP0001', '', 1000), (77, 'P', 'ZSUBPR001', '001', 200), "
            "(77, 'P', 'ZPRUEBA01', '001', 10)");
        sesion.COD_USUARIO = "o'brien";
    }
    ~GrabarVale() override {
        if (!sesion.OSERVER || !sesion.OSERVER->SelectDB("test")) return;
        borrar_datos_propios();
        sesion.OSERVER->Query("update paramet set num_vales=" + std::to_string(contador_));
        sesion.OSERVER->Query("drop trigger if exists zfalla");
    }
    void borrar_datos_propios() {
        for (const char* s :
             {"drop trigger if exists zfalla", "delete from bodegas where numero_bod=77",
              "delete from prodcmp where codi_prod like 'Z%'",
              "delete from prodvtas where codi_prod like 'Z%'",
              "delete from formulas where prd_sale like 'Z%'",
              "delete from stock_bodegas where numero_bod=77",
              "delete from vales where numero_bod=77", "delete from mov_stock where numero_bod=77"})
            sesion.OSERVER->Query(s);
    }

    long contador() { return prueba::contador_vales(*sesion.OSERVER); }
    double stock(const std::string& kind, const std::string& code, const std::string& formula) {
        auto q = sesion.OSERVER->Query(
            "select stock from stock_bodegas where numero_bod=77 and "
            "tipo_prd='" +
            kind + "' and codi_prod='" + code + "' and codi_form='" + formula + "'");
        EXPECT_EQ(q.LastRec(), 1) << kind << " " << code << " " << formula;
        return q.FieldGet(1).number();
    }
    std::vector<std::string> vales_de(long numero) {
        return prueba::vales_de(*sesion.OSERVER, numero, 77);
    }
    std::vector<std::string> movimientos_de(long numero) {
        return prueba::movimientos_de(*sesion.OSERVER, numero, 77);
    }
    long filas_propias(const std::string& table) {
        return sesion.OSERVER->Query("select * from " + table + " where numero_bod=77").LastRec();
    }

    static DatosCab cabecera(std::string formula, double cantidad) {
        DatosCab cab;
        cab.producto = "ZPRUEBA01";
        cab.formula = std::move(formula);
        cab.bodega = 77;
        cab.fecha = *rt::Fecha::from_ymd(2026, 12, 7);
        cab.cantidad = cantidad;
        cab.malas = 3;
        return cab;
    }
    static DatosItm item(std::string act, double oper, std::string spec, double cantidad) {
        DatosItm it = item_nuevo(act, 1, cantidad);
        it.operario = oper;
        it.especificacion = std::move(spec);
        return it;
    }
    // The screen as it was shown at each key wait, row by row (UTF-8).
    std::vector<std::string> pantalla_en_espera(std::size_t n) {
        std::vector<std::string> rows;
        for (int r = 0; r < rt::kRows; ++r) rows.push_back(en_espera(n, r));
        return rows;
    }
    std::string en_espera(std::size_t n, int row, int col = 0, int width = rt::kCols) {
        return testing_support::grid_row_text(term.snapshots().at(n).grid, row, col, width);
    }

    long contador_ = 0;
};

TEST_F(GrabarVale, WritesActivitiesIngredientsMovementsAndStock) {
    const long antes = contador();
    // The second activity was split in two: two rows with their own quantities.
    const std::vector<DatosItm> items = {item("900000001", 1, "A01", 60),
                                         item("900000001", 3, "A02", 40),
                                         item("900000003", 6, "C01", 100)};
    const long numero = GRABARVALE_SERVIDOR(cabecera("001", 100), items);
    EXPECT_EQ(numero, antes + 1);
    EXPECT_EQ(contador(), antes + 1);
    EXPECT_EQ(
        vales_de(numero),
        (std::vector<std::string>{
            "2026-12-07|ZPRUEBA01|001|60.0000000|3.0000000|77|900000001||I|1.00000|1|A01|1.5000|1",
            "2026-12-07|ZPRUEBA01|001|40.0000000|3.0000000|77|900000001||I|1.00000|3|A02|2.5000|1",
            "2026-12-07|ZPRUEBA01|001|100.0000000|3.0000000|77|900000003||I|1.00000|6|C01|0.5000|1",
            "2026-12-07|ZPRUEBA01|001|100.0000000|3.0000000|77|ZCOMP0001||I|2.50000|0||0.0000|1",
            "2026-12-07|ZPRUEBA01|001|100.0000000|3.0000000|77|ZCOMP0002||I|0.50000|0||0.0000|1",
            "2026-12-07|ZPRUEBA01|001|100.0000000|3.0000000|77|ZSUBPR001|001|P|0.25000|0||0.0000|1",
        }));
    EXPECT_EQ(movimientos_de(numero), (std::vector<std::string>{
                                          "7|2026-12-07|P|ZPRUEBA01|001|100.0000000|77|0|o'brien",
                                          "8|2026-12-07|I|ZCOMP0001||-250.0000000|77|0|o'brien",
                                          "8|2026-12-07|I|ZCOMP0002||-50.0000000|77|0|o'brien",
                                          "8|2026-12-07|P|ZSUBPR001|001|-25.0000000|77|0|o'brien",
                                      }));
    EXPECT_EQ(stock("P", "ZPRUEBA01", "001"), 110) << "the rejected quantity moves no stock";
    EXPECT_EQ(stock("I", "ZCOMP0001", ""), 750);
    EXPECT_EQ(stock("I", "ZCOMP0002", ""), -50) << "not controlled: still consumed";
    EXPECT_EQ(stock("P", "ZSUBPR001", "001"), 175) << "formula 002 draws on the stock of 001";
    EXPECT_EQ(mensajes(), prueba::Mensajes{});
    EXPECT_TRUE(term.snapshots().empty()) << "a good save waits for no key";
}

TEST_F(GrabarVale, ProductFormulaSharingStockRecordsEverythingUnderTheRelatedFormula) {
    const long numero = GRABARVALE_SERVIDOR(cabecera("002", 5), {item("900000001", 1, "A01", 5)});
    ASSERT_GT(numero, 0);
    EXPECT_EQ(
        vales_de(numero),
        (std::vector<std::string>{
            "2026-12-07|ZPRUEBA01|001|5.0000000|3.0000000|77|900000001||I|1.00000|1|A01|1.5000|1",
            "2026-12-07|ZPRUEBA01|001|5.0000000|3.0000000|77|ZCOMP0001||I|1.00000|0||0.0000|1",
        }));
    EXPECT_EQ(movimientos_de(numero)[0], "7|2026-12-07|P|ZPRUEBA01|001|5.0000000|77|0|o'brien");
    EXPECT_EQ(stock("P", "ZPRUEBA01", "001"), 15);
    EXPECT_EQ(sesion.OSERVER
                  ->Query("select * from stock_bodegas where codi_prod='ZPRUEBA01' and "
                          "codi_form='002'")
                  .LastRec(),
              0);
}

// Stock of ZCOMP0001 1000 (2.5 per unit) and of ZSUBPR001 001 200 (0.25 per unit): 400
// units take the first exactly, one hundredth more is short of it alone, 900 of both.
TEST_F(GrabarVale, ShortageRefusesWithoutWritingAndShowsTheWindowWhenAsked) {
    struct Case {
        double cantidad;
        bool show;
        std::vector<std::string> lines;  // the start of each shortage line shown
    };
    const std::vector<Case> cases = {
        {400.01,
         true,
         // The server's Windows-1252 name shows with its own letters.
         {"I ZCOMP0001     Arena sílice 'fina'                         1.000,03       "
          "1.000,00           0,03"}},
        {900,
         true,
         {"I ZCOMP0001", "P ZSUBPR001 001 Mezcla de prueba" + std::string(30, ' ') +
                             "225,00         200,00          25,00"}},
        {900, false, {}},
    };
    const long antes = contador();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cantidad);
        const std::size_t shots = term.snapshots().size();
        const auto tones = term.tones().size();
        if (c.show) term.keys({rt::key::kEsc});
        EXPECT_EQ(GRABARVALE_SERVIDOR(cabecera("001", c.cantidad),
                                      {item("900000001", 1, "A01", c.cantidad)}, c.show),
                  0);
        EXPECT_EQ(contador(), antes);
        EXPECT_EQ(filas_propias("vales"), 0);
        EXPECT_EQ(filas_propias("mov_stock"), 0);
        EXPECT_EQ(stock("I", "ZCOMP0001", ""), 1000);
        EXPECT_EQ(row_text(10).find("Stock Insuficiente"), std::string::npos) << "screen restored";
        if (!c.show) {
            EXPECT_EQ(term.snapshots().size(), shots) << "a batch is never stopped";
            EXPECT_EQ(term.tones().size(), tones);
            continue;
        }
        ASSERT_EQ(term.snapshots().size(), shots + 1);
        EXPECT_EQ(term.tones().size(), tones + 1);
        EXPECT_EQ(en_espera(shots, 10, 1, 30), "< Error - Stock Insuficiente >");
        const std::string heading = en_espera(shots, 11, 1, 98);
        EXPECT_EQ(heading.substr(0, 28), "T Producto  Frm Descripción");
        for (int i = 0; i < 3; ++i) {
            const std::string shown = en_espera(shots, 13 + i, 1, 98);
            const std::string want = i < int(c.lines.size()) ? c.lines[i] : "";
            EXPECT_EQ(shown.substr(0, want.size()), want);
            if (want.empty()) {
                EXPECT_EQ(shown, std::string(98, ' '));
            }
        }
        if (c.lines.size() != 1) continue;
        // The three numbers end under "Requerido", "Stock" and "Faltante" (ASCII from
        // column 20 on in both texts).
        const std::string line = en_espera(shots, 13, 20, 79);
        const std::string head = en_espera(shots, 11, 20, 79);
        EXPECT_EQ(line.back(), '3');
        EXPECT_EQ(head.substr(head.size() - 8), "Faltante");
        EXPECT_EQ(head.find("Requerido") + 9, line.find(",03") + 3);
        EXPECT_EQ(head.find("Stock") + 5, line.find(",00") + 3);
        EXPECT_NE(en_espera(shots, 35).find("[Esc]Salir"), std::string::npos);
    }
}

// An off-line voucher may name a product removed from the catalogue since: it is saved
// under its own formula, never under an empty one.
TEST_F(GrabarVale, ProductNoLongerInTheCatalogueKeepsItsFormula) {
    sql("delete from prodvtas where codi_prod='ZPRUEBA01'");
    const long numero = GRABARVALE_SERVIDOR(cabecera("002", 5), {item("900000001", 1, "A01", 5)});
    ASSERT_GT(numero, 0);
    EXPECT_EQ(movimientos_de(numero)[0], "7|2026-12-07|P|ZPRUEBA01|002|5.0000000|77|0|o'brien");
    EXPECT_EQ(vales_de(numero)[0].substr(0, 24), "2026-12-07|ZPRUEBA01|002");
    EXPECT_EQ(stock("P", "ZPRUEBA01", "002"), 5);
}

TEST_F(GrabarVale, ExactStockIsEnough) {
    EXPECT_GT(GRABARVALE_SERVIDOR(cabecera("001", 400), {item("900000001", 1, "A01", 400)}), 0);
    EXPECT_EQ(stock("I", "ZCOMP0001", ""), 0);
    EXPECT_EQ(stock("P", "ZSUBPR001", "001"), 100);
}

TEST_F(GrabarVale, PointsOfTheOperatorsGroupForActivityAndSpecification) {
    struct Case {
        double oper;
        const char* act;
        const char* spec;
        double points;
    } cases[] = {
        {1, "900000001", "A01", 1.5},   // G01
        {3, "900000001", "A02", 2.5},   // G02
        {5, "900000002", "B02", 1.25},  // G03
        {5, "900000001", "A01", 0},     // G03 has no points for A01
        {1, "900000001", "ZZZ", 0},     // no such especificación
        {99, "900000001", "A01", 0},    // no such operator
        {1, "900000001", "", 0},        // no especificación given yet
    };
    for (const auto& c : cases)
        EXPECT_EQ(PUNTAJE(c.oper, c.act, c.spec), c.points) << c.oper << " " << c.spec;
}

// A write that fails half way leaves nothing of the voucher: no rows, no movements, no
// stock change, no number used; the user is shown the server's error. The server refuses
// an activity code too long for its column, and (through triggers of this test) a
// consumption movement or a new stock record of ZCOMP0002.
TEST_F(GrabarVale, FailingWriteUndoesTheWholeVoucher) {
    struct Case {
        const char* what;
        const char* trigger;  // made to fail the statement, or empty
        const char* activity;
        std::vector<int> keys;  // answers to every window shown
        std::vector<const char*> shown;
    };
    using rt::key::kEsc;
    const std::vector<Case> cases = {
        {"activity row", "", "900000003XX", {kEsc}, {"Data too long", "900000003XX"}},
        {"consumption movement",
         "before insert on mov_stock for each row if new.codi_prod='ZCOMP0002' then signal "
         "sqlstate '45000' set message_text='Movimiento rechazado'; end if",
         "900000003",
         {kEsc},
         {"Movimiento rechazado", "insert into mov_stock set tipo_doc='8'"}},
        // Nothing waits for the user inside the transaction: the server's refusal of the
        // stock change is shown once it is over, as any other.
        {"stock change",
         "before insert on stock_bodegas for each row if new.codi_prod='ZCOMP0002' then "
         "signal sqlstate '45000' set message_text='Stock rechazado'; end if",
         "900000003",
         {kEsc},
         {"Stock rechazado", "insert into stock_bodegas set stock=-50"}},
    };
    const long antes = contador();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sql("drop trigger if exists zfalla");
        if (*c.trigger) sql(std::string("create trigger zfalla ") + c.trigger);
        for (int k : c.keys) term.keys({k});
        const std::vector<DatosItm> items = {item("900000001", 1, "A01", 100),
                                             item(c.activity, 6, "C01", 100)};
        EXPECT_EQ(GRABARVALE_SERVIDOR(cabecera("001", 100), items), 0);
        sql("drop trigger if exists zfalla");
        EXPECT_EQ(contador(), antes);
        EXPECT_EQ(filas_propias("vales"), 0);
        EXPECT_EQ(filas_propias("mov_stock"), 0);
        EXPECT_EQ(stock("P", "ZPRUEBA01", "001"), 10);
        EXPECT_EQ(stock("I", "ZCOMP0001", ""), 1000);
        EXPECT_EQ(filas_propias("stock_bodegas"), 3) << "no record created for ZCOMP0002";
        ASSERT_FALSE(term.snapshots().empty());
        std::string viewer;
        for (const auto& row : pantalla_en_espera(term.snapshots().size() - 1))
            viewer += row + "\n";
        EXPECT_NE(viewer.find("El vale no se grabó en el servidor"), std::string::npos) << viewer;
        for (const char* text : c.shown) EXPECT_NE(viewer.find(text), std::string::npos) << text;
        EXPECT_EQ(term.keys_left(), 0u) << "every window answered";
    }

    // The same voucher, mended, is saved under the next number.
    const long numero = GRABARVALE_SERVIDOR(
        cabecera("001", 100), {item("900000001", 1, "A01", 100), item("900000003", 6, "C01", 100)});
    EXPECT_EQ(numero, antes + 1);
    EXPECT_EQ(vales_de(numero).size(), 5u);
}

// Another workstation keeps the counter locked (its save is slow to end): the server
// gives up waiting, the user is told, nothing is written, and the next save goes through.
TEST_F(GrabarVale, LockedCounterIsReportedAndTheNextSaveSucceeds) {
    const long antes = contador();
    sql("set session innodb_lock_wait_timeout=1");
    auto otra = prueba::conectar_mariadb("test");
    ASSERT_FALSE(otra->Query("start transaction").NetErr());
    ASSERT_FALSE(otra->Query("update paramet set num_vales = num_vales").NetErr());
    term.keys({'x'});
    const std::vector<DatosItm> items = {item("900000001", 1, "A01", 10)};
    EXPECT_EQ(GRABARVALE_SERVIDOR(cabecera("001", 10), items), 0);
    EXPECT_EQ(mensajes(), prueba::Mensajes{"Servidor ocupado: el vale no se grabó, reintente"});
    otra->Query("rollback");
    EXPECT_EQ(contador(), antes);
    EXPECT_EQ(filas_propias("vales"), 0);
    EXPECT_EQ(filas_propias("mov_stock"), 0);
    EXPECT_EQ(stock("P", "ZPRUEBA01", "001"), 10);
    EXPECT_EQ(stock("I", "ZCOMP0001", ""), 1000);

    EXPECT_EQ(GRABARVALE_SERVIDOR(cabecera("001", 10), items), antes + 1);
    EXPECT_EQ(mensajes(), prueba::Mensajes{});
}

// A company database without its counter row: F8 says why nothing was saved (it did
// nothing visible), a batch upload stays quiet, and nothing is written either way.
TEST_F(GrabarVale, CounterRowMissingIsSaidToTheUserAndWritesNothing) {
    const long antes = contador();
    // An empty table of the same name hides the shared one from this session alone.
    sql("create temporary table paramet (id int, num_vales int, fech_cst date)");
    const std::vector<DatosItm> items = {item("900000001", 1, "A01", 10)};
    term.keys({'x'});
    EXPECT_EQ(GRABARVALE_SERVIDOR(cabecera("001", 10), items), 0);
    EXPECT_EQ(mensajes(), prueba::Mensajes{vales::kSinNumeroDeVale});
    EXPECT_EQ(GRABARVALE_SERVIDOR(cabecera("001", 10), items, false), 0);
    EXPECT_EQ(mensajes(), prueba::Mensajes{});
    sql("drop temporary table paramet");
    EXPECT_EQ(contador(), antes);
    EXPECT_EQ(filas_propias("vales"), 0);
    EXPECT_EQ(filas_propias("mov_stock"), 0);
    EXPECT_EQ(stock("P", "ZPRUEBA01", "001"), 10);
}

// A consumption of 5 decimals times a quantity of 2 is stored exactly, in the movement,
// in the voucher row and in the stock, and sums exactly over several vouchers.
TEST_F(GrabarVale, QuantitiesKeepEveryDecimalOfTheConsumption) {
    sql("insert into prodvtas (codi_prod, codi_form, desc_prod, desc_form, unid_med, "
        "l_ctrl_stk, codi_form_rel) values "
        "('ZPRUEBA01', '003', 'Pieza de prueba', 'Fina', 'UN', 1, '---')");
    sql("insert into formulas (prd_sale, prd_buy, tipo_prd, codi_form, consumo) values "
        "('ZPRUEBA01003', 'ZCOMP0001', 'I', '', 0.12345)");
    const long primero =
        GRABARVALE_SERVIDOR(cabecera("003", 1.5), {item("900000001", 1, "A01", 1.5)});
    ASSERT_GT(primero, 0);
    EXPECT_EQ(movimientos_de(primero),
              (std::vector<std::string>{"7|2026-12-07|P|ZPRUEBA01|003|1.5000000|77|0|o'brien",
                                        "8|2026-12-07|I|ZCOMP0001||-0.1851750|77|0|o'brien"}));
    EXPECT_EQ(prueba::filas(*sesion.OSERVER, "cantidad * consumo", "vales",
                            "nume_folio=" + std::to_string(primero) + " and codi_insu='ZCOMP0001'"),
              std::vector<std::string>{"0.185175000000"});
    const long segundo =
        GRABARVALE_SERVIDOR(cabecera("003", 1.5), {item("900000001", 1, "A01", 1.5)});
    ASSERT_GT(segundo, 0);
    auto texto = [&](const std::string& select) {
        auto q = sesion.OSERVER->Query(select);
        return q.LastRec() == 1 ? q.GetRow(1)->Raw(1) : "(" + q.Error() + ")";
    };
    EXPECT_EQ(texto("select stock from stock_bodegas where numero_bod=77 and tipo_prd='I' and "
                    "codi_prod='ZCOMP0001'"),
              "999.6296500");
    EXPECT_EQ(texto("select sum(cantidad) from mov_stock where numero_bod=77 and "
                    "codi_prod='ZCOMP0001'"),
              "-0.3703500");
    EXPECT_EQ(texto("select stock from stock_bodegas where numero_bod=77 and tipo_prd='P' and "
                    "codi_prod='ZPRUEBA01' and codi_form='003'"),
              "3.0000000");
}

// The answer to the commit of a voucher never comes back. When the server fell silent the
// outcome cannot be known: the user is asked to check that voucher before saving it again.
// When only the connection was cut, another connection finds the voucher's identity on the
// server: the voucher is saved, under its number.
TEST_F(GrabarVale, LostAnswerToTheCommitIsLookedUpByTheVouchersIdentity) {
    struct Case {
        const char* what;
        bool cortar;
        prueba::Mensajes mensajes;  // each waits for a key
        bool grabado;
    };
    const long antes = contador();
    const Case cases[] = {
        {"silent server", false,
         prueba::Mensajes{vales::kServidorNoResponde,
                          "El servidor no confirmó el vale " + std::to_string(antes + 1) +
                              ": revise si quedó grabado antes de reintentar"},
         false},
        {"connection cut", true, prueba::Mensajes{vales::kConexionPerdida}, true},
    };
    const auto directa = sesion.OSERVER;
    const rt::ServerWait previo = rt::server_wait();
    vales::instalar_espera_servidor();
    long numero_esperado = antes;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        prueba::Pasarela pasarela(prueba::direccion_mariadb());
        sesion.OSERVER =
            TMySQLServer::New(pasarela.direccion(), datos::USUARIO_SERVIDOR, datos::CLAVE_SERVIDOR);
        ASSERT_TRUE(sesion.OSERVER->SelectDB("test")) << sesion.OSERVER->Error();
        sesion.LCONECTADO = true;
        if (c.cortar) {
            pasarela.cortar_tras("COMMIT");
        } else {
            pasarela.callar_tras("COMMIT");
        }
        for (std::size_t i = 0; i < c.mensajes.size(); ++i) term.keys({'x'});
        const long numero =
            GRABARVALE_SERVIDOR(cabecera("001", 10), {item("900000001", 1, "A01", 10)});
        ++numero_esperado;
        EXPECT_EQ(numero, c.grabado ? numero_esperado : 0);
        EXPECT_EQ(mensajes(), c.mensajes);
        EXPECT_FALSE(sesion.LCONECTADO);
        EXPECT_TRUE(term.script_empty());
        sesion.OSERVER = directa;
        EXPECT_EQ(contador(), numero_esperado) << "the server did carry the commit out";
        EXPECT_EQ(vales_de(numero_esperado).size(), 4u);
    }
    rt::install_server_wait(previo);
}

// Another connection keeps a stock record that the save needs and waits for the counter
// the save holds: the server ends the save's transaction as the victim of the deadlock. The
// save starts again and goes through, under a number of its own, with nothing of the first
// try left behind.
TEST_F(GrabarVale, DeadlockVictimIsSavedAgainFromTheStart) {
    const long antes = contador();
    auto otra = prueba::conectar_mariadb("test");
    auto vigia = prueba::conectar_mariadb("test");
    std::thread bloqueo;
    bool hecho = false;
    datos::falla::instalar([&](std::string_view punto) {
        if (punto != datos::falla::kNumeroTomado || std::exchange(hecho, true)) return;
        bloqueo = std::thread([&] {
            // Heavier than the save, so that the server picks the save as the victim.
            otra->Query("start transaction");
            otra->Query(
                "insert into mov_stock (tipo_doc, numero_bod) select '9', 77 from "
                "information_schema.columns limit 300");
            otra->Query(
                "update stock_bodegas set stock=stock where numero_bod=77 and "
                "codi_prod='ZCOMP0001'");
            otra->Query("update paramet set num_vales=num_vales");  // waits for the save
            otra->Query("rollback");
        });
        // The server refreshes its list of transactions only when it was not read for a
        // tenth of a second: it is looked at no more often than that.
        while (vigia
                   ->Query("select 1 from information_schema.innodb_trx where "
                           "trx_state='LOCK WAIT'")
                   .LastRec() == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
    });
    datos::Vale vale{cabecera("001", 10), {item("900000001", 1, "A01", 10)}, {}};
    vale.identidad.id = datos::nueva_identidad();
    const datos::Grabacion g = datos::grabar_vale(*sesion.OSERVER, vale, "o'brien");
    datos::falla::instalar({});
    bloqueo.join();
    EXPECT_EQ(g.estado, datos::Grabacion::grabado) << g.fallo.texto;
    EXPECT_EQ(g.intentos, 2);
    EXPECT_EQ(g.numero, antes + 1);
    EXPECT_EQ(contador(), antes + 1);
    EXPECT_EQ(vales_de(g.numero).size(), 4u);
    EXPECT_EQ(movimientos_de(g.numero).size(), 4u);
    EXPECT_EQ(filas_propias("mov_stock"), 4) << "nothing of the first try, nor of the other";
    EXPECT_EQ(stock("I", "ZCOMP0001", ""), 975);
    EXPECT_EQ(stock("P", "ZPRUEBA01", "001"), 20);
}

// Every try of a save is refused as a deadlock, and meanwhile another copy of the program
// saves the same voucher under its identity: the save does not end as "busy" but finds the
// voucher on the server. A lock waited for in full is waited for once more, not ten times.
TEST_F(GrabarVale, SaveThatOthersKeptBusyEndsByLookingItsIdentityUp) {
    sql("create trigger zfalla before insert on mov_stock for each row if new.usuario='mia' "
        "then signal sqlstate '40001' set mysql_errno=1213, message_text='Deadlock'; end if");
    datos::Vale vale{cabecera("001", 10), {item("900000001", 1, "A01", 10)}, {}};
    const datos::Grabacion otra = datos::grabar_vale(*sesion.OSERVER, vale, "otra");
    ASSERT_EQ(otra.estado, datos::Grabacion::grabado);
    vale.identidad.id = datos::nueva_identidad();
    datos::Reintentos reintentos;
    reintentos.pausar = [](double) {};
    int tomados = 0;
    auto otra_copia = prueba::conectar_mariadb("test");
    datos::falla::instalar([&](std::string_view punto) {
        // At the last try, after its look at the register: the other copy registers it.
        if (punto == datos::falla::kNumeroTomado && ++tomados == reintentos.maximo)
            otra_copia->Query("insert into vales_identidad (id_vale, nume_folio) values ('" +
                              vale.identidad.id + "', " + std::to_string(otra.numero) + ")");
    });
    const datos::Grabacion g = datos::grabar_vale(*sesion.OSERVER, vale, "mia", reintentos);
    datos::falla::instalar({});
    EXPECT_EQ(g.estado, datos::Grabacion::ya_estaba);
    EXPECT_EQ(g.numero, otra.numero);
    EXPECT_EQ(g.intentos, 10);
    EXPECT_EQ(contador(), otra.numero);

    // The counter kept by another workstation: two full waits, then "busy".
    sql("drop trigger zfalla");
    auto bloqueo = prueba::conectar_mariadb("test");
    bloqueo->Query("start transaction");
    bloqueo->Query("update paramet set num_vales=num_vales");
    sql("set session innodb_lock_wait_timeout=1");
    vale.identidad.id = datos::nueva_identidad();
    const datos::Grabacion ocupado = datos::grabar_vale(*sesion.OSERVER, vale, "mia", reintentos);
    bloqueo->Query("rollback");
    EXPECT_EQ(ocupado.estado, datos::Grabacion::ocupado);
    EXPECT_EQ(ocupado.intentos, 2);
}

// A quantity whose consumption cannot be stored exactly (999,999,999.99 units at 500 each
// is beyond the columns of movements and stock) is refused and nothing is written: with the
// server in a lax mode the session is strict all the same, and were it lax too, the
// server's warning that it cut the value stops the save.
TEST_F(GrabarVale, ValueTheServerWouldCutIsRefusedNotClipped) {
    sql("insert into prodvtas (codi_prod, codi_form, desc_prod, desc_form, unid_med, "
        "l_ctrl_stk, codi_form_rel) values "
        "('ZPRUEBA01', '004', 'Pieza de prueba', 'Gruesa', 'UN', 1, '---')");
    sql("insert into formulas (prd_sale, prd_buy, tipo_prd, codi_form, consumo) values "
        "('ZPRUEBA01004', 'ZCOMP0002', 'I', '', 500)");
    auto admin = prueba::conectar_mariadb("");
    const std::string global = admin->Query("select @@global.sql_mode").GetRow(1)->Raw(1);
    ASSERT_FALSE(admin->Query("set global sql_mode=''").NetErr());
    const auto directa = sesion.OSERVER;
    const long antes = contador();
    for (const bool sesion_laxa : {false, true}) {
        SCOPED_TRACE(sesion_laxa ? "lax session" : "lax server");
        sesion.OSERVER = prueba::conectar_mariadb("test");
        if (sesion_laxa) sql("set session sql_mode=''");
        term.keys({rt::key::kEsc});
        EXPECT_EQ(GRABARVALE_SERVIDOR(cabecera("004", 999999999.99),
                                      {item("900000001", 1, "A01", 999999999.99)}),
                  0);
        std::string memo;
        for (const auto& row : pantalla_en_espera(term.snapshots().size() - 1)) memo += row;
        EXPECT_NE(memo.find("Out of range"), std::string::npos) << memo;
        EXPECT_EQ(contador(), antes);
        EXPECT_EQ(filas_propias("vales"), 0);
        EXPECT_EQ(filas_propias("mov_stock"), 0);
        EXPECT_EQ(filas_propias("stock_bodegas"), 3);
    }
    admin->Query("set global sql_mode='" + global + "'");
    sesion.OSERVER = directa;
}

TEST_F(GrabarVale, UnreadableFormulaWritesNothing) {
    const long antes = contador();
    auto conectado = sesion.OSERVER;
    sin_base_de_datos();
    EXPECT_EQ(GRABARVALE_SERVIDOR(cabecera("001", 1), {item("900000001", 1, "A01", 1)}), 0);
    EXPECT_EQ(mensajes(), prueba::Mensajes{"No se puede leer fórmula de producto"});
    sesion.OSERVER = conectado;
    EXPECT_EQ(contador(), antes);
}

// Runs `saves` vouchers in each of `processes` child processes, each on a connection of
// its own, all starting together; returns every result in the order each child saved.
template <class Save>
std::vector<long> en_paralelo(datos::Sesion& sesion, int processes, int saves, Save save) {
    auto r = prueba::en_procesos<long>(processes, [&](int, const auto& informar) {
        // The parent's connection belongs to the parent: leave it untouched (no close).
        new std::shared_ptr<rt::TMySQLServer>(std::move(sesion.OSERVER));
        sesion.OSERVER = prueba::conectar_mariadb("test");
        for (int v = 0; v < saves; ++v) informar(save());
    });
    EXPECT_TRUE(r) << "a workstation did not end normally";
    return r.value_or(std::vector<long>{});
}

// Workstations saving at the same time, each on its own connection, never share a number.
TEST_F(GrabarVale, ConcurrentSavesNeverShareANumber) {
    constexpr int kProcesses = 4, kVouchers = 15;
    const long antes = contador();
    std::vector<long> numbers = en_paralelo(sesion, kProcesses, kVouchers, [] {
        return GRABARVALE_SERVIDOR(cabecera("002", 1), {item("900000001", 1, "A01", 1)}, false);
    });
    ASSERT_EQ(numbers.size(), std::size_t(kProcesses * kVouchers));
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(std::set<long>(numbers.begin(), numbers.end()).size(), numbers.size())
        << "a number was given twice";
    EXPECT_EQ(numbers.front(), antes + 1);
    EXPECT_EQ(numbers.back(), antes + kProcesses * kVouchers);
    EXPECT_EQ(contador(), antes + kProcesses * kVouchers);
    for (long n : numbers) EXPECT_EQ(vales_de(n).size(), 2u) << n;
    EXPECT_EQ(stock("I", "ZCOMP0001", ""), 1000 - kProcesses * kVouchers);
}

// Stock enough for ten vouchers and twenty asked for at the same time: the stock check
// and the consumption of one voucher are not split by another's, so exactly ten pass and
// the stock never goes below zero.
TEST_F(GrabarVale, ConcurrentSavesNeverOverdrawTheStock) {
    constexpr int kProcesses = 4, kVouchers = 5;  // 100 units of ZCOMP0001 each, 1000 held
    const std::vector<long> results = en_paralelo(sesion, kProcesses, kVouchers, [] {
        return GRABARVALE_SERVIDOR(cabecera("002", 100), {item("900000001", 1, "A01", 100)}, false);
    });
    ASSERT_EQ(results.size(), std::size_t(kProcesses * kVouchers));
    EXPECT_EQ(std::count_if(results.begin(), results.end(), [](long n) { return n > 0; }), 10);
    EXPECT_EQ(stock("I", "ZCOMP0001", ""), 0);
    EXPECT_EQ(filas_propias("vales"), 20) << "two rows for each voucher saved";
}

}  // namespace
