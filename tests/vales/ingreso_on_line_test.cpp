// The on-line entry as a user types it: header, activities, especificaciones, operators,
// a split, the save with every row it writes, and the refusals on the way.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "impresion/comandos.h"
#include "runtime/common/codepage.h"
#include "runtime/server/server_wait.h"
#include "support/modo_sql.h"
#include "vales/espera_servidor.h"
#include "vales/ingreso_on_line_fixture.h"

namespace {

using namespace rt::key;
using testing_support::picture;

class IngresoOnLineTest : public prueba::IngresoOnLine {
  protected:
    // The screen at the k-th key wait of the run, counted from the first.
    std::string en_espera(std::size_t k) const {
        return shown_screen(term.snapshots().size() - 1 - k);
    }
};

// Header, Enter on both activities, a split of the second, F8 and "N" to the print offer;
// then Esc on the next header. Waits: 24 in the header, then the list (24), the first
// activity's especificaciones (25), operator (26-29) and times (30-39); Down (40); the
// second activity (41-56); F2 (57) and its form (58); F8 (59); the print offer (60); the
// next header (61).
TEST_F(IngresoOnLineTest, ACompleteVoucherTypedAsAUserWouldWritesEveryRow) {
    const long antes = contador();
    cabecera("001", "100", "2");
    editar(0, "801", "0800", "1200");
    term.keys({kDown});
    editar(0, "802", "1300", "1530");
    term.keys({kF2, kEnter});
    term.keys({kF8, 'N', kEsc});
    vales::VALES_INGRESO_ON_LINE();
    ASSERT_EQ(term.snapshots().size(), 62u);
    EXPECT_TRUE(term.script_empty());

    EXPECT_EQ(en_espera(0), picture(R"(



 ┌──────────────────────────────────────────────< Ingreso de Vales ON-LINE >┐
 │Fecha: 06/12/2026   Bodega:   0                                           │
 │Producto:                                                                 │
 │Fórmula :                                                                 │
 │Cantidad:           0,00   Malas:           0,00                          │
 └──────────────────────────────────────────────────────────────────────────┘
)"));
    // The field being edited e, the other fields and the title u, labels l on the box b.
    const std::map<std::string, char> legend = {
        {"+R/W", 'e'}, {"+W/G", 'u'}, {"+GR/G", 'b'}, {"W/G", 'l'}, {"N/N", '.'}};
    EXPECT_EQ(shown_colours(legend, 3, 0, 8, 77, term.snapshots().size() - 1), picture(R"(
.bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbuuuuuuuuuuuuuuuuuuuuuuuuuuuub.
.bllllllbeeeeeeeeeebbblllllllbuuubbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb.
.blllllllllbuuuuuuuuubbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb.
.blllllllllbuuubbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb.
.blllllllllbuuuuuuuuuuuuuubbbllllllbuuuuuuuuuuuuuubbbbbbbbbbbbbbbbbbbbbbbbbbb.
.bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb.
)",
                                                                                       6));
    EXPECT_EQ(en_espera(24), picture(R"(



 ┌──────────────────────────────────────────────< Ingreso de Vales ON-LINE >┐
 │Fecha: 06/12/2026   Bodega:  78                                           │
 │Producto: YPRUEBA01 Pieza de ingreso                                      │
 │Fórmula : 001       Con actividades                                       │
 │Cantidad:         100,00   Malas:           2,00                          │
 └──────────────────────────────────────────────────────────────────────────┘

 ┌────────────────────────────────────────────────────────────────────────────────────────────────┐
 │Actividad                           Operario             Especificación                 Cantidad│
 ├────────────────────────────────────────────────────────────────────────────────────────────────┤
 │Moldeo manual de piezas especiales                                                        100,00│
 │Cocción en horno                                                                          100,00│
 │                                                                                                │
 │                                                                                                │
 │                                                                                                │
 │                                                                                                │
 │                                                                                                │
 │                                                                                                │
 │                                                                                                │
 │                                                                                                │
 └────────────────────────────────────────────────────────────────────────────────────────────────┘











                    [Enter]Edición  [F2]Duplicar item  [F8]Actualizar  [Escape]
)"));
    EXPECT_EQ(en_espera(30), picture(R"(



 ┌──────────────────────────────────────────────< Ingreso de Vales ON-LINE >┐
 │Fecha: 06/12/2026   Bodega:  78                                           │
 │Producto: YPRUEBA01 Pieza de ingreso                                      │
 │Fórmula : 001       Con actividades                                       │
 │Cantidad:         100,00   Malas:           2,00                          │
 └──────────────────────────────────────────────────────────────────────────┘

 ┌────────────────────────────────────────────────────────────────────────────────────────────────┐
 │Actividad                           Operario             Especificación                 Cantidad│
 ├──────────────────────────────────────┌──────────────────────────────────────────────────────┐──┤
 │Moldeo manual de piezas especiales    │Especificación:  Compleja                             │00│
 │Cocción en horno                      │                 Normal                               │00│
 │                                      │                                                      │  │
 │                                      │                                                      │  │
 │                                      │                                                      │  │
 │                                      │                                                      │  │
 │                                      │                                                      │  │
 │                                      │                                                      │  │
 │                                      │                                                      │  │
 │                                      │                                                      │  │
 └──────────────────────────────────────│                                                      │──┘
                                        │                                                      │
                                        │                                                      │
                                        │                                                      │
                                        │                                                      │
                                        ├──────────────────────────────────────────────────────┤
                                        │Nº de Operario : 801 PERALTA SOTO JUAN                │
                                        │Hora de Inicio :   :                                  │
                                        │Hora de Termino:   :                                  │
                                        └──────────────────────────────────────────────────────┘


                    [Enter]Edición  [F2]Duplicar item  [F8]Actualizar  [Escape]
)"));
    // After the save the next voucher keeps the date and the warehouse.
    EXPECT_EQ(en_espera(61), picture(R"(



 ┌──────────────────────────────────────────────< Ingreso de Vales ON-LINE >┐
 │Fecha: 06/12/2026   Bodega:  78                                           │
 │Producto:                                                                 │
 │Fórmula :                                                                 │
 │Cantidad:           0,00   Malas:           0,00                          │
 └──────────────────────────────────────────────────────────────────────────┘
)"));

    const long numero = contador();
    EXPECT_EQ(numero, antes + 1);
    EXPECT_EQ(
        vales(numero),
        (std::vector<std::string>{
            // Activities: operator, especificación and the points of the operator's
            // group; the split activity gives two rows with their own quantities.
            "2026-12-06|YPRUEBA01|001|100.0000000|2.0000000|78|9Y0000001||I|1.00000|801|Y02|3.0000|"
            "1",
            "2026-12-06|YPRUEBA01|001|50.0000000|2.0000000|78|9Y0000002||I|1.00000|802|Y03|0.5000|"
            "1",
            "2026-12-06|YPRUEBA01|001|50.0000000|2.0000000|78|9Y0000002||I|1.00000|802|Y03|0.5000|"
            "1",
            // Ingredients: controlled, uncontrolled, sub-product with its formula.
            "2026-12-06|YPRUEBA01|001|100.0000000|2.0000000|78|YCOMP0001||I|2.50000|0||0.0000|1",
            "2026-12-06|YPRUEBA01|001|100.0000000|2.0000000|78|YCOMP0002||I|0.50000|0||0.0000|1",
            "2026-12-06|YPRUEBA01|001|100.0000000|2.0000000|78|YSUBPR001|001|P|0.25000|0||0.0000|1",
        }));
    EXPECT_EQ(movimientos(numero), (std::vector<std::string>{
                                       "7|2026-12-06|P|YPRUEBA01|001|100.0000000|78|0|juan",
                                       "8|2026-12-06|I|YCOMP0001||-250.0000000|78|0|juan",
                                       "8|2026-12-06|I|YCOMP0002||-50.0000000|78|0|juan",
                                       "8|2026-12-06|P|YSUBPR001|001|-25.0000000|78|0|juan",
                                   }));
    EXPECT_EQ(stock(), (std::vector<std::string>{
                           "I|YCOMP0001||750.0000000",
                           "I|YCOMP0002||-50.0000000",
                           "P|YPRUEBA01|001|100.0000000",
                           "P|YSUBPR001|001|175.0000000",
                       }));
}

// 500 units need 1250 of YCOMP0001 (1000 held) and 125 of YSUBPR001 (200 held): the
// window lists the first only; nothing is written, and the list is back as it was, so the
// user can change the voucher or leave it. Waits as above, one more for the Down in the
// first list of especificaciones, up to F8 (58), the window (59), the list again (60),
// "Desea salir" (61) and the next header (62).
TEST_F(IngresoOnLineTest, AShortageWritesNothingAndLeavesTheListAsItWas) {
    const long antes = contador();
    const auto stock_antes = stock();
    cabecera("001", "500", "0");
    editar(1, "801", "0800", "1200");
    term.keys({kDown});
    editar(0, "802", "1300", "1530");
    term.keys({kF8, kEsc, kEsc, 'S', kEsc});
    vales::VALES_INGRESO_ON_LINE();
    ASSERT_EQ(term.snapshots().size(), 63u);
    EXPECT_EQ(en_espera(59), picture(R"(



 ┌──────────────────────────────────────────────< Ingreso de Vales ON-LINE >┐
 │Fecha: 06/12/2026   Bodega:  78                                           │
 │Producto: YPRUEBA01 Pieza de ingreso                                      │
 │Fórmula : 001       Con actividades                                       │
 │Cantidad:         500,00   Malas:           0,00                          │
 └──────────────────────────────────────────────────────────────────────────┘

┌< Error - Stock Insuficiente >────────────────────────────────────────────────────────────────────┐
│T Producto  Frm Descripción                                Requerido          Stock       Faltante│
├──────────────────────────────────────────────────────────────────────────────────────────────────┤
│I YCOMP0001     Arena de prueba                             1.250,00       1.000,00         250,00│
│                                                                                                  │
│                                                                                                  │
│                                                                                                  │
│                                                                                                  │
│                                                                                                  │
│                                                                                                  │
│                                                                                                  │
│                                                                                                  │
│                                                                                                  │
└──────────────────────────────────────────────────────────────────────────────────────────────────┘











                                       [↑] [↓]    [Esc]Salir
)"));
    EXPECT_EQ(en_espera(60), en_espera(58));
    EXPECT_EQ(contador(), antes);
    EXPECT_EQ(filas_propias("vales"), 0);
    EXPECT_EQ(filas_propias("mov_stock"), 0);
    EXPECT_EQ(stock(), stock_antes);
}

using IngresoOnLineEnModo = prueba::EnModoSql<IngresoOnLineTest>;

// The header's checks, each run ending with Esc, with the server in each SQL mode. `espera` is the
// key wait (from the first; a message box is one too) where the cursor stands at (fila, columna)
// and the screen's row `fila_texto` begins with `texto`.
TEST_P(IngresoOnLineEnModo, TheHeaderRefusesWhatItMustAndTakesTheRest) {
    // A product code made of a quote, a backslash, LIKE's wildcards and an 8-bit letter
    // (Y'\%_Ñ) is data like any other: the lookups and the activity query find it.
    const std::string raro = sesion.OSERVER->escape("Y'\\%_\xD1");
    sql("insert into prodvtas (codi_prod, codi_form, desc_prod, desc_form, unid_med, "
        "l_ctrl_stk, codi_form_rel) values ('" +
        raro +
        "', '001', 'Pieza de c\xF3"
        "digo raro', 'Rara', 'UN', 0, '---')");
    sql("insert into formulas (prd_sale, prd_buy, tipo_prd, codi_form, consumo) values ('" + raro +
        "   001', '9Y0000002', 'I', '', 1)");
    struct Case {
        const char* what;
        std::function<void()> keys;
        bool lista;  // the keys reach the item list
        prueba::Mensajes mensajes;
        std::size_t espera;
        int fila, columna;
        int fila_texto;
        std::string texto;
    };
    const std::vector<Case> cases = {
        {"rejected equal to the quantity is taken: the list follows",
         [&] { cabecera("001", "100", "100"); },
         true,
         {},
         26,
         13,
         2,
         7,
         " │Cantidad:         100,00   Malas:         100,00"},
        {"one hundredth more is refused in its field",
         [&] { cabecera("001", "100", "100,01"); },
         false,
         {},
         29,
         7,
         36,
         7,
         " │Cantidad:         100,00   Malas:         100,01"},
        {"a formula without activities starts the header again, date and warehouse kept",
         [&] {
             cabecera("002", "100", "0");
             esperar_mensaje();
         },
         false,
         {"Fórmula de producción no contiene actividades"},
         25,
         4,
         9,
         4,
         " │Fecha: 06/12/2026   Bodega:  78"},
        {"an inactive warehouse",
         [&] {
             term.keys({kEnter}).type("79").keys({kEnter});
             esperar_mensaje();
         },
         false,
         {"Bodega no activa"},
         5,
         4,
         30,
         4,
         " │Fecha: 06/12/2026   Bodega:  79"},
        {"an unknown warehouse",
         [&] {
             term.keys({kEnter}).type("55").keys({kEnter});
             esperar_mensaje();
         },
         false,
         {"Código no existe"},
         5,
         4,
         30,
         4,
         " │Fecha: 06/12/2026   Bodega:  55"},
        {"PgDn on the date goes on at the warehouse never given",
         [&] { term.keys({kPgDn}); },
         false,
         {},
         1,
         4,
         30,
         4,
         " │Fecha: 06/12/2026   Bodega:   0"},
        {"an unknown code with quotes is only unknown",
         [&] {
             term.keys({kEnter}).type("78").keys({kEnter}).type("X'--\\\"").keys({kEnter});
             esperar_mensaje();
         },
         false,
         {"Código no existe"},
         12,
         5,
         12,
         5,
         " │Producto: X'--\\\"    "},
        {"a code with quotes, wildcards and Ñ is found",
         [&] {
             term.keys({kEnter}).type("78").keys({kEnter}).type("y'\\%_\xA4").keys({kEnter});
             term.type("001").keys({kEnter}).type("5").keys({kEnter, kEnter});
         },
         true,
         {},
         18,
         13,
         2,
         5,
         " │Producto: Y'\\%_Ñ    Pieza de código raro"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t primera = term.snapshots().size();
        mensajes();
        c.keys();
        term.keys({kEsc});
        if (c.lista) term.keys({'S', kEsc});  // leave the voucher, then the header
        vales::VALES_INGRESO_ON_LINE();
        EXPECT_TRUE(term.script_empty());
        EXPECT_EQ(mensajes(), c.mensajes);
        ASSERT_GT(term.snapshots().size(), primera + c.espera);
        const auto& shot = term.snapshots()[primera + c.espera];
        EXPECT_EQ(shot.cursor.row, c.fila);
        EXPECT_EQ(shot.cursor.col, c.columna);
        const std::string row = testing_support::grid_row_text(shot.grid, c.fila_texto);
        EXPECT_EQ(row.substr(0, c.texto.size()), c.texto);
    }
    EXPECT_EQ(filas_propias("vales"), 0);
}

INSTANTIATE_TEST_SUITE_P(Modos, IngresoOnLineEnModo, testing::ValuesIn(prueba::modos_sql()),
                         prueba::nombre_modo);

// The item list's commands and their refusals. After the header (22 waits with a quantity
// of one digit) each case types its keys, then leaves the voucher and the entry. `filas` are
// screen rows expected at a key wait (from the first, message boxes included).
TEST_F(IngresoOnLineTest, TheItemListEditsSplitsAndRefuses) {
    struct Fila {
        std::size_t espera;
        int fila;
        std::string texto;
        int cursor = -1;  // the cursor's row at that wait, when given
    };
    struct Case {
        const char* what;
        const char* cantidad;
        std::function<void()> keys;
        prueba::Mensajes mensajes;
        std::vector<Fila> filas;
        std::size_t igual_a = 0, igual_b = 0;  // two waits showing the same screen
    };
    const std::string moldeo = " │Moldeo manual de piezas especiales  ";
    const std::string horno = " │Cocción en horno                    ";
    const std::string sin_operario = std::string(48, ' ') + "        ";
    const std::string formulario(40, ' ');
    const std::vector<Case> cases = {
        {"Esc then N leaves the list exactly as it was",
         "7",
         [&] {
             term.keys({kEsc, 'N'});
         },
         {},
         {{23, 11, " │Actividad                           Opera│Desea salir │"}},
         22,
         24},
        {"leaving the especificaciones without choosing changes nothing",
         "7",
         [&] {
             term.keys({kEnter, kEsc});
         },
         {},
         {{23, 13, moldeo + "  │Especificación:  Compleja"}},
         22,
         24},
        {"a split of 7 proposes 3: the copy above gets 3, the item below keeps 4, and the "
         "first item is highlighted",
         "7",
         [&] {
             term.keys({kDown, kF2, kEnter});
         },
         {},
         {{24, 14, " │Cocción en horno            │Cocción en horno      "},
          {24, 15,
           " │                            │Traspasar a nuevo item cantidad realizada:      "
           "     3,00  │"},
          {25, 13, moldeo + sin_operario + "7,00│", 13},
          {25, 14, horno + sin_operario + "3,00│"},
          {25, 15, horno + sin_operario + "4,00│"}}},
        {"a split of 1 proposes 0, which is refused; 0,50 leaves 0,50",
         "1",
         [&] {
             term.keys({kF2, kEnter}).type("0,5").keys({kEnter});
         },
         {},
         {{23, 15,
           " │                            │Traspasar a nuevo item cantidad realizada:      "
           "     0,00  │"},
          {24, 15,
           " │                            │Traspasar a nuevo item cantidad realizada:      "
           "     0,00  │",
           15},
          {28, 13, moldeo + sin_operario + "0,50│"},
          {28, 14, moldeo + sin_operario + "0,50│"},
          {28, 15, horno + sin_operario + "1,00│"}}},
        {"F8 with an item without operator saves nothing",
         "7",
         [&] {
             editar(0, "801", "0800", "1200");
             term.keys({kF8});
             esperar_mensaje();
         },
         {"ERROR: Datos incompletos"},
         {{40, 13, moldeo + "PERALTA SOTO JUAN    Compleja                           7,00│"},
          {40, 14, horno + sin_operario + "7,00│"}}},
        {"PgDn on the operator goes on at the start time never given",
         "7",
         [&] {
             term.keys({kEnter, kEnter}).type("801").keys({kPgDn});
             term.type("0700").keys({kEnter}).type("0900").keys({kEnter});
         },
         {},
         {{28, 30, formulario + "│Hora de Inicio :   :", 30},
          {38, 13, moldeo + "PERALTA SOTO JUAN    Compleja                           7,00│"}}},
        {"unknown and inactive operators, and impossible times, keep the cursor in place",
         "7",
         [&] {
             term.keys({kEnter, kEnter}).type("999").keys({kEnter});
             esperar_mensaje();
             term.type("803").keys({kEnter});
             esperar_mensaje();
             term.type("802").keys({kEnter}).type("2400").keys({kEnter}).type("1260");
             term.keys({kEnter}).type("0000").keys({kEnter}).type("2359").keys({kEnter});
         },
         {"Operario no existe", "Usuario no activo"},
         {{29, 29, formulario + "│Nº de Operario : 999", 29},
          {34, 29, formulario + "│Nº de Operario : 803 PEREZ LUIS", 29},
          {38, 29, formulario + "│Nº de Operario : 802 PEREIRA ANA", 30},
          {43, 30, formulario + "│Hora de Inicio : 24:00", 30},
          {48, 30, formulario + "│Hora de Inicio : 12:60", 30},
          {58, 13, moldeo + "PEREIRA ANA          Compleja                           7,00│"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t primera = term.snapshots().size();
        mensajes();
        cabecera("001", c.cantidad, "0");
        c.keys();
        term.keys({kEsc, 'S', kEsc});
        vales::VALES_INGRESO_ON_LINE();
        EXPECT_TRUE(term.script_empty());
        EXPECT_EQ(mensajes(), c.mensajes);
        const auto espera = [&](std::size_t k) {  // k counted from the test's first wait
            return shown_screen(term.snapshots().size() - 1 - k);
        };
        for (const Fila& f : c.filas) {
            ASSERT_GT(term.snapshots().size(), primera + f.espera);
            const std::string row =
                testing_support::grid_row_text(term.snapshots()[primera + f.espera].grid, f.fila);
            EXPECT_EQ(row.substr(0, f.texto.size()), f.texto) << "wait " << f.espera;
            if (f.cursor >= 0) {
                EXPECT_EQ(term.snapshots()[primera + f.espera].cursor.row, f.cursor)
                    << "wait " << f.espera;
            }
        }
        if (c.igual_b) {
            EXPECT_EQ(espera(primera + c.igual_a), espera(primera + c.igual_b));
        }
    }
    EXPECT_EQ(filas_propias("vales"), 0);
    EXPECT_EQ(filas_propias("mov_stock"), 0);
}

// Without connection, or without the permission, nothing but the message: the screen the
// menu had is given back.
TEST_F(IngresoOnLineTest, WithoutConnectionOrPermissionOnlyTheMessage) {
    sql("insert into usuarios (usuario, nombre, clave, l_activo, acc_sistema_vales_off_line, "
        "l_full_accesos, acc_ingreso) values ('ysinvales', 'Sin vales', password('x1234'), 1, "
        "1, 0, 0)");
    struct Case {
        const char* what;
        bool conectado;
        const char* usuario;
        prueba::Mensajes mensajes;
    } cases[] = {
        {"not connected", false, "juan", {"No existe conexión con el servidor"}},
        {"without acc_ingreso", true, "ysinvales", {"- Acceso no permitido -"}},
    };
    console.write_at(0, 0, "Pantalla del menú"_oem);
    const std::string antes = screen_text();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sesion.LCONECTADO = c.conectado;
        sesion.COD_USUARIO = c.usuario;
        mensajes();
        vales::VALES_INGRESO_ON_LINE();
        EXPECT_EQ(mensajes(), c.mensajes);
        EXPECT_EQ(screen_text(), antes);
        EXPECT_EQ(console.key_handler(kF1), nullptr);
    }
}

// The server drops the connection while a complete voucher is on the screen (here an
// administrator kills the session; F12 stands for that moment): F8 says the connection was
// lost, a second F8 that there is none, and the voucher stays on the screen unsaved.
TEST_F(IngresoOnLineTest, AConnectionLostBeforeF8KeepsTheVoucherOnTheScreen) {
    const rt::ServerWait previo = rt::server_wait();
    vales::instalar_espera_servidor();
    console.set_key_handler(kF12, [this](const std::string&, int, const std::string&) {
        const std::string id = sesion.OSERVER->Query("select connection_id()").GetRow(1)->Raw(1);
        prueba::conectar_mariadb("test")->Query("kill connection " + id);
    });
    const long antes = contador();
    cabecera("001", "7", "0");
    editar(0, "801", "0800", "1200");
    term.keys({kDown});
    editar(0, "802", "1200", "1300");
    term.keys({kF12, kF8});
    esperar_mensaje();
    term.keys({kF8});
    esperar_mensaje();
    term.keys({kEsc, 'S', kEsc});
    vales::VALES_INGRESO_ON_LINE();
    console.set_key_handler(kF12);
    rt::install_server_wait(previo);
    EXPECT_TRUE(term.script_empty());
    EXPECT_EQ(mensajes(),
              (prueba::Mensajes{vales::kConexionPerdida, "No existe conexión con el servidor"}));
    EXPECT_NE(shown_row(14, 3).find("PEREIRA ANA"), std::string::npos) << screen_dump();
    EXPECT_FALSE(sesion.LCONECTADO);
    sesion.OSERVER = prueba::conectar_mariadb("test");
    EXPECT_EQ(contador(), antes);
    EXPECT_EQ(filas_propias("vales"), 0);
}

// "S" at the print offer prints the voucher just saved: here into a PDF in temp/.
TEST_F(IngresoOnLineTest, YesToThePrintOfferPrintsTheVoucherJustSaved) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    const auto documentos = [] {
        std::set<std::string> out;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator("temp", ec))
            out.insert(e.path().string());
        return out;
    };
    const auto antes = documentos();
    cabecera("001", "10", "0");
    editar(0, "801", "0800", "1200");
    term.keys({kDown});
    editar(0, "802", "1300", "1530");
    term.keys({kF8, 'S', kDown, kEnter, kEnter, kEsc});  // yes; PDF, Print; the alert
    vales::VALES_INGRESO_ON_LINE();
    EXPECT_TRUE(term.script_empty());
    std::vector<std::string> nuevos;
    for (const auto& d : documentos())
        if (!antes.count(d)) nuevos.push_back(d);
    ASSERT_EQ(nuevos.size(), 1u) << "one document, no work file left";
    const auto texto = impresion::ejecutar_comando({"pdftotext", "-layout", nuevos[0], "-"}, 20);
    std::filesystem::remove(nuevos[0]);
    ASSERT_TRUE(texto.ok()) << texto.salida;
    for (const std::string& s : {std::to_string(contador()), std::string("PERALTA SOTO JUAN"),
                                 std::string("PEREIRA ANA"), std::string("Pieza de ingreso")})
        EXPECT_NE(texto.salida.find(s), std::string::npos) << s << "\n" << texto.salida;
}

}  // namespace
