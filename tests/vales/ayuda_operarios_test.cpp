// F1 in the on-line entry: the operator list (load, searches, choice typed into the form)
// and the fields where F1 opens nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/common/codepage.h"
#include "runtime/worktables/workspace.h"
#include "support/modo_sql.h"
#include "vales/en_linea/mysql_operarios.h"
#include "vales/ingreso_on_line_fixture.h"

namespace {

using namespace rt::key;
using testing_support::picture;

class AyudaOperariosTest : public prueba::IngresoOnLine {
  protected:
    // The rows the list shows at the last key wait, without trailing blanks.
    std::vector<std::string> filas_mostradas() const { return shown_list(7, 25, 29, 60); }
};

// "PER" and Enter: the operators whose names begin with PER, inactive ones included; Enter
// again (text unchanged) types Home, the highlighted operator's number and Enter.
TEST_F(AyudaOperariosTest, PrefixSearchThenEnterTypesTheNumber) {
    term.type("per").keys({kEnter, kEnter});
    vales::MYSQL_OPERARIOS(true);
    EXPECT_TRUE(term.script_empty());
    EXPECT_EQ(typed_keys(), (std::vector<int>{kHome, '8', '0', '1', kEnter}));
    EXPECT_EQ(shown_screen(), picture(R"(




                            ╔════════════════════════════════════════════════════════════╗
                            ║RUT        Nombre                                           ║
                            ║───────────────────────────────────────────────────         ║
                            ║11111111-1 PERALTA SOTO JUAN                                ║
                            ║22222222-2 PEREIRA ANA                                      ║
                            ║33333333-3 PEREZ LUIS                                       ║
                            ║                                                            ║
                            ║                                                            ║
                            ║                                                            ║
                            ║                                                            ║
                            ║                                                            ║
                            ║                                                            ║
                            ║                                                            ║
                            ║                                                            ║
                            ║                                                            ║
                            ║                                                            ║
                            ║                                                            ║
                            ║                                                            ║
                            ║                                                            ║
                            ║                                                            ║
                            ║                                                            ║
                            ║                                                            ║
                            ║────────────────────────────────────────────────────────────║
                            ║                                                            ║
                            ║──────────────────────────(3)───────────────────────────────║
                            ║ Buscar:<PER                                               >║
                            ║                                                            ║
                            ║                    [↑][↓]   [F8] Filtro                    ║
                            ║                 [Enter] Buscar / Opciones                  ║
                            ╚════════════════════════════════════════════════════════════╝
)"));
    EXPECT_EQ(screen_text(), picture("")) << "the screen is put back";
    EXPECT_EQ(rt::wt::workspace().open_count(), 0u);
}

using AyudaOperariosEnModo = prueba::EnModoSql<AyudaOperariosTest>;

// Searches as typed, each in a fresh list ended with Esc: the rows shown and the count,
// with the server in each SQL mode.
// Typed text is data: quotes, a backslash, '%' and '_' find those characters, never more.
TEST_P(AyudaOperariosEnModo, SearchesFindWhatTheTextSays) {
    struct Case {
        const char* what;
        std::string teclas;  // console text; \x0d Enter, \xf9 F8 (below), \x07 Del, \x08 BS
        std::vector<std::string> filas;
        const char* cuenta;  // the status row from column 55, or "" before any search
    };
    const std::vector<Case> cases = {
        {"two words with F8: both anywhere in the name",
         "ana per\xf9",
         {"44444444-4 ANA MARIA PERALTA", "22222222-2 PEREIRA ANA"},
         "(2)"},
        {"one word with F8 also looks in the tax number",
         "3333\xf9",
         {"33333333-3 PEREZ LUIS"},
         "(1)"},
        {"a quote is a quote", "o'h\r", {"55555555-5 O'HIGGINS ÑUÑEZ"}, "(1)"},
        {"8-bit letters at the start", "\xa4u\r", {"11222333-9 Ñuble Cárcamo"}, "(1)"},
        {"8-bit letters inside", "\xa4u\xa4\xf9", {"55555555-5 O'HIGGINS ÑUÑEZ"}, "(1)"},
        {"'%' is no wildcard", "%\r", {}, "(0)"},
        {"'%' found where it stands", "100%\xf9", {"66666666-6 TASA 100% FIJA"}, "(1)"},
        {"'_' is no wildcard", "0_\xf9", {}, "(0)"},
        {"a backslash", "\\\r", {}, "(0)"},
        {"Del after a search empties the list", "pere\r\x07", {}, "(0)"},
        {"Backspace searches again with the shorter text",
         "perez\r\x08",
         {"22222222-2 PEREIRA ANA", "33333333-3 PEREZ LUIS"},
         "(2)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (char ch : c.teclas) {
            const int k = static_cast<unsigned char>(ch);
            term.keys({k == 0xf9 ? kF8 : k});
        }
        term.keys({kEsc});
        mensajes();
        vales::MYSQL_OPERARIOS(true);
        EXPECT_TRUE(term.script_empty());
        EXPECT_EQ(mensajes(), prueba::Mensajes{}) << "no server error";
        EXPECT_EQ(filas_mostradas(), c.filas);
        const std::string estado =
            testing_support::grid_row_text(term.snapshots().back().grid, 28, 55, 8);
        EXPECT_EQ(estado.substr(0, std::string(c.cuenta).size()), c.cuenta);
        EXPECT_EQ(typed_keys(), std::vector<int>{}) << "Esc types nothing";
    }
    EXPECT_EQ(rt::wt::workspace().open_count(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Modos, AyudaOperariosEnModo, testing::ValuesIn(prueba::modos_sql()),
                         prueba::nombre_modo);

// F1 through the entry. In the date, warehouse, formula and quantity fields, in the item
// list, in the especificaciones and in a time field it opens nothing: the screen after it
// is the screen before. In the product field it opens the catalogue (left here with Esc,
// which gives the screen back). In the operator field it opens the list, whose choice the
// form then checks: PERA finds 801, taken; PER and two rows down finds 803, refused as
// inactive.
TEST_F(AyudaOperariosTest, F1OpensTheOperatorListOnlyInTheOperatorField) {
    term.keys({kF1, kEnter, kF1}).type("78").keys({kEnter});                    // waits 0-5
    term.keys({kF1, kEsc}).type("YPRUEBA01").keys({kEnter});                    // 6-17
    term.keys({kF1}).type("001").keys({kEnter, kF1}).type("5").keys({kEnter});  // 18-25
    term.keys({kF1, kEnter});                                                   // 26-27
    term.keys({kF1, kEnter, kF1, kEnter});  // the list 28-29, the especificaciones 30-31
    term.keys({kF1}).type("pera").keys({kEnter, kEnter});  // operator 32, its list 33-38
    term.keys({kF1}).type("0800").keys({kEnter}).type("1200").keys({kEnter});  // 39-49
    term.keys({kDown, kEnter, kEnter});  // the list 50-51, the especificaciones 52
    term.keys({kF1}).type("per").keys({kEnter, kDown, kDown, kEnter});  // 53, its list 54-60
    esperar_mensaje();                                                  // 61
    term.keys({kEsc, kEsc, 'S', kEsc});  // operator 62, the list 63, "Desea salir", header
    vales::VALES_INGRESO_ON_LINE();
    EXPECT_TRUE(term.script_empty());
    ASSERT_EQ(term.snapshots().size(), 66u);
    EXPECT_EQ(mensajes(), prueba::Mensajes{"Usuario no activo"});
    const auto en = [&](std::size_t k) { return shown_screen(term.snapshots().size() - 1 - k); };
    for (auto [antes, despues] : std::vector<std::pair<int, int>>{
             {0, 1}, {2, 3}, {6, 8}, {18, 19}, {23, 24}, {26, 27}, {28, 29}, {30, 31}, {39, 40}})
        EXPECT_EQ(en(antes), en(despues)) << "F1 at wait " << antes;
    EXPECT_NE(en(6), en(7)) << "the catalogue";
    EXPECT_NE(en(32), en(33));
    const auto empieza = [&](std::size_t k, int r, const std::string& texto) {
        const std::string row = testing_support::grid_row_text(term.snapshots().at(k).grid, r);
        EXPECT_EQ(row.substr(0, texto.size()), texto) << "wait " << k;
    };
    const std::string formulario(40, ' ');
    empieza(39, 29, formulario + "│Nº de Operario : 801 PERALTA SOTO JUAN");
    empieza(50, 13, " │Moldeo manual de piezas especiales  PERALTA SOTO JUAN    Comp");
    empieza(62, 29, formulario + "│Nº de Operario : 803 PEREZ LUIS");
    EXPECT_EQ(term.snapshots().at(62).cursor.row, 29) << "the inactive operator is refused";
    EXPECT_EQ(rt::wt::workspace().open_count(), 0u);
}

}  // namespace
