// F1 in the off-line entry: the product and operator lists over the off-line store, and
// the choices they type back into the entry's forms.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "runtime/worktables/workspace.h"
#include "vales/fuera_de_linea/mdb_operarios.h"
#include "vales/fuera_de_linea/vales_productos.h"
#include "vales/ingreso_off_line_fixture.h"

namespace {

using namespace rt::key;
using testing_support::grid_row_text;
using testing_support::picture;
using Filas = std::vector<std::string>;

class AyudaOffLineTest : public prueba::IngresoOffLine {
  protected:
    // Keys as a text: \r Enter, \x08 Backspace, \x07 Del, \xf8 F8, \xf5 F5, \xfa F10.
    void teclas(const std::string& texto) {
        for (char ch : texto) {
            const int k = static_cast<unsigned char>(ch);
            term.keys({k == 0xf8 ? kF8 : k == 0xf5 ? kF5 : k == 0xfa ? kF10 : k});
        }
    }
    void productos() {
        rt::TODBC RS(store.connection());
        vales::VALES_PRODUCTOS(RS, true);
    }
    void operarios() {
        rt::TODBC RS(store.connection());
        vales::MDB_OPERARIOS(RS, true);
    }
    // The rows a list shows at the entry's k-th key wait, without trailing blanks.
    Filas filas_mostradas(std::size_t k, int left, int width) const {
        return shown_list(7, 25, left, width, desde_el_final(k));
    }
    std::string texto_en(std::size_t k, int row, int col, int width) const {
        return grid_row_text(term.snapshots().at(primera_espera_ + k).grid, row, col, width);
    }
};

// L, A, D typed show LAD without a search; Enter lists the active products whose name
// begins with it, in name order, with the highlighted one's formula under the list; Enter
// again does nothing; Left arrow types the product's code and formula back.
TEST_F(AyudaOffLineTest, ProductListSearchesByNameAndTypesTheChoice) {
    teclas("lad\r\r");
    term.keys({kLeft});
    productos();
    EXPECT_TRUE(term.script_empty());
    ASSERT_EQ(esperas(), 6u);
    EXPECT_EQ(texto_en(3, 29, 35, 59), "Buscar:<LAD" + std::string(47, ' ') + ">");
    EXPECT_EQ(filas_mostradas(3, 28, 70), Filas{}) << "no search before Enter";
    EXPECT_EQ(en_espera(4), picture(R"(




                           ╔<Productos>═══════════════════════════════════════════════════════════╗
                           ║Código    Frm Descripción                                        Std  ║
                           ║─────────────────↓↓───────────────────────────────────────────────────║
                           ║A05DD0510 001 Ladrillo aislante de alta temperatura para bóvedas  ◄   ║
                           ║L01AA0110 001 Ladrillo refractario 'Súper' 230x114x65             ◄   ║
                           ║L01AA0110 002 Ladrillo refractario 'Súper' 230x114x65             ◄   ║
                           ║L01AA0110 003 Ladrillo refractario 'Súper' 230x114x65             ◄   ║
                           ║L01AA0110 004 Ladrillo refractario 'Súper' 230x114x65                 ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║──────────────────────────────────────────────────────────────────────║
                           ║    Estándar                                                          ║
                           ║────────────────────────────────(5)───────────────────────────────────║
                           ║       Buscar:<LAD                                               >    ║
                           ║                                                                      ║
                           ║[F2]Stock [F5]Orden [F6]Fórmula [F8]Filtro [F10]Re-Buscar [F12]Activos║
                           ║[←]Seleccionar  [Enter]Buscar  [INS]Agregar  [Control+Enter]Modificar ║
                           ╚[↑][↓]════════════════════════════════════════════════════════════════╝
)"));
    EXPECT_EQ(en_espera(5), en_espera(4));
    std::vector<int> eleccion{kHome};
    for (char ch : std::string("A05DD0510\r001\r")) eleccion.push_back(ch);
    EXPECT_EQ(typed_keys(), eleccion);
    EXPECT_EQ(screen_text(), picture("")) << "the screen is put back";
    EXPECT_EQ(rt::wt::workspace().open_count(), 0u);
}

// Searches as typed, each in a fresh list ended with Esc: the rows shown and the count.
TEST_F(AyudaOffLineTest, ProductSearchesFiltersAndOrders) {
    store.run(
        "insert into prodvtas (codi_prod, codi_form, desc_prod, desc_form, l_vigente, "
        "l_activo) values ('ZZZZZ0000', '001', 'Zeta base', 'F', true, true), "
        "('ZZZZZ0001', '001', 'Zeta activa', 'F', false, true), "
        "('ZZZZZ0002', '001', 'Zeta inactiva', 'F', true, false)");
    const std::string ladrillo = " Ladrillo refractario 'Súper' 230x114x65             ◄";
    const std::string vigente = std::string(36, ' ') + "◄";
    struct Case {
        const char* what;
        std::string teclas;
        Filas filas;
        const char* estado;  // row 28 from the count's column
    };
    const std::vector<Case> cases = {
        {"F8 with two words: both in the name",
         "ladrillo aislante\xf8",
         {"A05DD0510 001 Ladrillo aislante de alta temperatura para bóvedas  ◄"},
         "(1)"},
        {"F8 with one word also looks in the code",
         "l01aa\xf8",
         {"L01AA0110 001" + ladrillo, "L01AA0110 002" + ladrillo, "L01AA0110 003" + ladrillo,
          "L01AA0110 004 Ladrillo refractario 'Súper' 230x114x65"},
         "(4)"},
        {"a quote is a quote",
         "'s\xf8",
         {"L01AA0110 001" + ladrillo, "L01AA0110 002" + ladrillo, "L01AA0110 003" + ladrillo,
          "L01AA0110 004 Ladrillo refractario 'Súper' 230x114x65"},
         "(4)"},
        {"F10 searches again as the last search did (a filter)",
         "l01aa\xf8\xfa",
         {"L01AA0110 001" + ladrillo, "L01AA0110 002" + ladrillo, "L01AA0110 003" + ladrillo,
          "L01AA0110 004 Ladrillo refractario 'Súper' 230x114x65"},
         "(4)"},
        {"name order",
         "pie\r",
         {"YPRUEBA01 001 Pieza de ingreso" + vigente, "YPRUEBA01 002 Pieza de ingreso" + vigente,
          "P03CC0330 001 Pieza especial con mortero                          ◄"},
         "(3)"},
        {"F5: code order (from the first row)",
         "pie\r\xf5\x1f",
         {"P03CC0330 001 Pieza especial con mortero                          ◄",
          "YPRUEBA01 001 Pieza de ingreso" + vigente, "YPRUEBA01 002 Pieza de ingreso" + vigente},
         "(3)"},
        {"codes ending in 0000 and inactive products are left out",
         "zeta\r",
         {"ZZZZZ0001 001 Zeta activa"},
         "(1)"},
        {"Backspace down to an empty text empties the list", "lad\r\x08\x08\x08", {}, "(0)"},
        {"Del empties text and list", "lad\r\x07", {}, "(0)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t desde = esperas();
        teclas(c.teclas);
        term.keys({kEsc});
        productos();
        EXPECT_TRUE(term.script_empty());
        EXPECT_EQ(mensajes(), prueba::Mensajes{});
        const std::size_t ultima = esperas() - 1;
        ASSERT_GT(ultima, desde);
        EXPECT_EQ(filas_mostradas(ultima, 28, 70), c.filas);
        const std::string estado = texto_en(ultima, 28, 60, 8);
        EXPECT_EQ(estado.substr(0, std::string(c.estado).size()), c.estado);
        EXPECT_EQ(typed_keys(), std::vector<int>{}) << "Esc types nothing";
    }
}

// In the off-line lists a word search lasts only until the text is typed on: the status
// drops "(filtro)" at once, and F10 then searches the new text by prefix (no product name
// begins with REFRA, several hold it).
TEST_F(AyudaOffLineTest, TypingAfterAWordSearchGoesBackToPrefix) {
    const std::string linea = "──────────────────────";  // from the count to the mark
    const auto estado = [&](std::size_t k, int col) { return texto_en(k, 28, col, 33); };
    teclas("refr\xf8");  // the screen after F8: wait 5
    teclas("a\xfa");     // after "a" 6, after F10 7
    term.keys({kEsc});
    productos();
    ASSERT_EQ(esperas(), 8u);
    EXPECT_EQ(estado(5, 60), "(5)" + linea + "(filtro)");
    EXPECT_EQ(estado(6, 60), "(5)" + linea + "────────") << "typed on";
    EXPECT_EQ(estado(7, 60), "(0)" + linea + "────────") << "F10 searched REFRA%";
    EXPECT_EQ(filas_mostradas(7, 28, 70), Filas{});

    teclas("ana per\xf8x");  // after F8: wait 16, after "x" 17
    term.keys({kEsc});
    operarios();
    ASSERT_EQ(esperas(), 18u);
    EXPECT_EQ(estado(16, 55), "(2)" + linea + "(filtro)");
    EXPECT_EQ(estado(17, 55), "(2)" + linea + "────────");
}

// The active operators of the store at once, by name; Left only moves; Enter (nothing
// searched) types the highlighted operator's number; a search finds only active ones.
TEST_F(AyudaOffLineTest, OperatorListShowsTheActiveOperatorsAtOnce) {
    term.keys({kDown, kLeft, kEnter});
    operarios();
    EXPECT_TRUE(term.script_empty());
    EXPECT_EQ(en_espera(0), picture(R"(




                            ╔════════════════════════════════════════════════════════════╗
                            ║RUT        Nombre                                           ║
                            ║───────────────────────────────────────────────────         ║
                            ║44444444-4 ANA MARIA PERALTA                                ║
                            ║15111222-K Ana María Peña                                   ║
                            ║9876543 -3 José O'Ryan Díaz                                 ║
                            ║10444555-7 Juan Francisco de la Barra Errázuriz             ║
                            ║55555555-5 O'HIGGINS ÑUÑEZ                                  ║
                            ║12345678-5 Pedro Muñoz Soto                                 ║
                            ║11111111-1 PERALTA SOTO JUAN                                ║
                            ║22222222-2 PEREIRA ANA                                      ║
                            ║66666666-6 TASA 100% FIJA                                   ║
                            ║11222333-9 Ñuble Cárcamo                                    ║
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
                            ║────────────────────────────────────────────────────────────║
                            ║ Buscar:<                                                  >║
                            ║                                                            ║
                            ║                    [↑][↓]   [F8] Filtro                    ║
                            ║                 [Enter] Buscar / Opciones                  ║
                            ╚════════════════════════════════════════════════════════════╝
)"));
    EXPECT_EQ(typed_keys(), (std::vector<int>{kHome, '3', kEnter}));

    const std::size_t desde = esperas();
    teclas("per\r");
    term.keys({kEsc});
    operarios();
    EXPECT_EQ(filas_mostradas(esperas() - 1, 29, 60),
              (Filas{"11111111-1 PERALTA SOTO JUAN", "22222222-2 PEREIRA ANA"}))
        << "803 PEREZ LUIS is inactive";
    EXPECT_GT(esperas(), desde);
    EXPECT_EQ(rt::wt::workspace().open_count(), 0u);
}

// F1 through the entry: in the product field the product list, whose choice fills product
// and formula; in the operator field the operator list; in the date, warehouse, formula,
// quantity and time fields, and in the item list, nothing (the screen after F1 is the
// screen before).
TEST_F(AyudaOffLineTest, F1OpensTheListsOfTheProductAndOperatorFields) {
    term.keys({kF1, kEnter, kF1}).type("78").keys({kEnter});  // waits 0-5
    term.keys({kF1}).type("pie").keys({kEnter, kLeft});       // 6, its list 7-11
    term.keys({kF1}).type("5").keys({kEnter, kEnter});        // quantity 12-14, rejected 15
    term.keys({kF1, kEnter, kEnter});  // the item list 16-17, especificaciones 18
    term.keys({kF1, kEnter});          // operator 19, its list 20
    term.keys({kF1}).type("0800").keys({kEnter}).type("0900").keys({kEnter});  // 21-31
    term.keys({kEsc, 'S', kEsc});
    correr();
    EXPECT_TRUE(term.script_empty());
    EXPECT_EQ(mensajes(), prueba::Mensajes{});
    for (auto [antes, despues] :
         std::vector<std::pair<int, int>>{{0, 1}, {2, 3}, {12, 13}, {16, 17}, {21, 22}})
        EXPECT_EQ(en_espera(antes), en_espera(despues)) << "F1 at wait " << antes;
    EXPECT_EQ(texto_en(12, 5, 1, 40), "│Producto: YPRUEBA01 Pieza de ingreso   ");
    EXPECT_EQ(texto_en(12, 6, 1, 40), "│Fórmula : 001       Con actividades    ");
    EXPECT_EQ(texto_en(21, 29, 40, 40), "│Nº de Operario : 804 ANA MARIA PERALTA ");
    EXPECT_EQ(rt::wt::workspace().open_count(), 0u);

    // The formula field: nothing either.
    const std::size_t desde = esperas();
    term.keys({kEnter}).type("78").keys({kEnter}).type("YPRUEBA01").keys({kEnter, kF1, kEsc});
    correr();
    EXPECT_TRUE(term.script_empty());
    ASSERT_EQ(esperas(), desde + 16);
    EXPECT_EQ(en_espera(desde + 14), en_espera(desde + 15));
    EXPECT_EQ(term.snapshots().back().cursor.row, 6) << "in the formula field";
}

}  // namespace
