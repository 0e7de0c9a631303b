// The product catalogue on the virtual terminal against a company database of its own.
#include <gtest/gtest.h>

#include <functional>

#include "abm/abm_productos.h"
#include "abm/abm_rutinas2.h"
#include "abm/consulta_sesion.h"
#include "abm/gencodigo.h"
#include "catalogo_fixture.h"
#include "runtime/screen/keys.h"

namespace {

using namespace abm;
using namespace rt::key;
using prueba::Mensajes;
using testing_support::picture;

class Catalogo : public prueba::CatalogoTest {
  protected:
    // The list's data rows (7-25, columns 28-97) at the n-th last key wait, without their
    // trailing blanks; the highlighted one marked with ">".
    std::vector<std::string> lista(std::size_t n = 0) const {
        return shown_list(7, 25, 28, 70, n, "+W/R");
    }
    std::string fila(int row, int col, int width, std::size_t n = 0) const {
        std::string t = testing_support::grid_row_text(
            term.snapshots()[term.snapshots().size() - 1 - n].grid, row, col, width);
        t.erase(t.find_last_not_of(' ') + 1);
        return t;
    }
    // Row 28 from the count to "(filtro)", and the search text on row 29.
    std::string estado(std::size_t n = 0) const { return fila(28, 60, 33, n); }
    std::string texto(std::size_t n = 0) const { return fila(29, 43, 50, n); }
};

// A row of the list as it reads: code, formula, description (50), "◄" for the formula in
// force and "*" for an inactive product.
std::string fila_de(const std::string& codigo, const std::string& formula,
                    const std::string& descripcion, bool vigente = true, bool activo = true) {
    std::string d = descripcion;
    std::size_t letras = 0, i = 0;  // cut to 50 characters (UTF-8)
    for (; i < d.size() && letras < 50; ++i)
        if ((static_cast<unsigned char>(d[i]) & 0xC0) != 0x80) ++letras;
    while (i < d.size() && (static_cast<unsigned char>(d[i]) & 0xC0) == 0x80) ++i;
    d = d.substr(0, i) + std::string(50 - letras, ' ');
    std::string row = codigo + " " + formula + " " + d + "  " + (vigente ? "◄" : " ") + "  " +
                      (activo ? " " : "*");
    row.erase(row.find_last_not_of(' ') + 1);
    return row;
}

const std::string kLadrillo = "Ladrillo refractario 'Súper' 230x114x65";
const std::string kL1 = fila_de("L01AA0110", "001", kLadrillo);
const std::string kL2 = fila_de("L01AA0110", "002", kLadrillo);
const std::string kL3 = fila_de("L01AA0110", "003", kLadrillo);
const std::string kL4 = fila_de("L01AA0110", "004", kLadrillo, false);
const std::string kA5 =
    fila_de("A05DD0510", "001", "Ladrillo aislante de alta temperatura para bóvedas y hornos");
const std::string kM2 = fila_de("M02BB0220", "001", "Mortero refractario fraguado al aire");
const std::string kX9 = fila_de("X99ZZ9990", "001", "Producto descontinuado", false, false);

TEST_F(Catalogo, ThePrefixSearchAsTheUserSeesIt) {
    term.type("lad").keys({kEnter, kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(shown_screen(), picture(R"(




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
    EXPECT_EQ(shown_colours(
                  {{"+GR/BG", 'f'}, {"W/BG", '.'}, {"+W/R", 'H'}, {"+BG/BG", 'b'}, {"+W/BG", 't'}},
                  4, 27, 10, 98),
              picture(R"(
ffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff
f......................................................................f
f.................bb...................................................f
fHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHf
f......................................................................f
f......................................................................f
f......................................................................f
)",
                      7));
    EXPECT_EQ(rt::wt::workspace().open_count(), 0u) << "the work table is closed";
}

TEST_F(Catalogo, SearchesAndTheirStatus) {
    struct Case {
        std::string name;
        std::function<void()> keys;
        std::vector<std::string> rows;
        std::string estado, texto;
    };
    const std::string l8 = "────────";
    const std::string linea = "─────────────────";  // from the count's end to "(filtro)"
    const Case cases[] = {
        {"nothing before the first search", [] {}, {}, l8 + linea + l8, ""},
        {"typing does not search",
         [this] { term.type("lad"); },
         {},
         "(0)─────" + linea + l8,
         "LAD"},
        {"prefix, description order",
         [this] { term.type("lad").keys({kEnter}); },
         {">" + kA5, kL1, kL2, kL3, kL4},
         "(5)─────" + linea + l8,
         "LAD"},
        {"one word also matches codes",
         [this] { term.type("0220").keys({kF8}); },
         {">" + kM2},
         "(1)─────" + linea + "(filtro)",
         "0220"},
        {"F10 after typing on repeats the word search, with the new text",
         [this] { term.type("refr").keys({kF8}).type("a").keys({kF10}); },
         {">" + kL1, kL2, kL3, kL4, kM2},
         "(5)─────" + linea + "(filtro)",
         "REFRA"},
        {"two words, both in the description",
         [this] { term.type("230 lad").keys({kF8}); },
         {">" + kL1, kL2, kL3, kL4},
         "(4)─────" + linea + "(filtro)",
         "230 LAD"},
        {"two words do not look at codes",
         [this] { term.type("0220 mortero").keys({kF8}); },
         {},
         "(0)─────" + linea + "(filtro)",
         "0220 MORTERO"},
        {"inactive products are left out",
         [this] { term.type("pro").keys({kEnter}); },
         {},
         "(0)─────" + linea + l8,
         "PRO"},
        {"del empties the list",
         [this] {
             term.type("lad").keys({kEnter, kDel});
         },
         {},
         "(0)─────" + linea + l8,
         ""},
        {"backspace searches what is left",
         [this] {
             term.type("mox").keys({kEnter, kBackspace});
         },
         {">" + kM2},
         "(1)─────" + linea + l8,
         "MO"},
        {"backspace to nothing empties the list",
         [this] {
             term.type("m").keys({kEnter, kBackspace});
         },
         {},
         "(0)─────" + linea + l8,
         ""},
        {"a blank does not start the text",
         [this] { term.type(" lad").keys({kEnter}); },
         {">" + kA5, kL1, kL2, kL3, kL4},
         "(5)─────" + linea + l8,
         "LAD"},
        {"eñe typed in upper case",
         [this] { term.type("\xA4").keys({kEnter}); },
         {},
         "(0)─────" + linea + l8,
         "Ñ"},
    };
    for (const auto& c : cases) {
        c.keys();
        term.keys({kEsc});
        ABM_PRODUCTOS();
        EXPECT_EQ(lista(), c.rows) << c.name;
        EXPECT_EQ(estado(), c.estado) << c.name;
        EXPECT_EQ(texto(), c.texto) << c.name;
    }
}

using CatalogoEnModo = prueba::CatalogoEnModo<Catalogo>;

// Quotes, backslashes and wildcards typed into the search text are searched for as they
// read, never taken as statement text or as patterns.
TEST_P(CatalogoEnModo, QuotesInTheSearchText) {
    sql("insert into prodvtas (codi_prod, codi_form, desc_prod) values ('W00000001', '001', '" +
        sqltexto("Masa 50% fina_x\\y") + "')");
    const std::string kW = fila_de("W00000001", "001", "Masa 50% fina_x\\y");
    struct Case {
        std::string typed;
        int key;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"ladrillo refractario 's", kEnter, {">" + kL1, kL2, kL3, kL4}},
        {"'s", kF8, {">" + kL1, kL2, kL3, kL4}},
        {"r' 230x114", kF8, {">" + kL1, kL2, kL3, kL4}},
        {"x' or '1'='1", kEnter, {}},
        {"x' or '1'='1", kF8, {}},
        {"\"x", kF8, {}},
        // Wildcards and a backslash typed are looked for as characters.
        {"masa 50%", kEnter, {">" + kW}},
        {"%", kF8, {">" + kW}},
        {"_x\\", kF8, {">" + kW}},
        {"50_", kF8, {}},
        {"l_d", kEnter, {}},
    };
    for (const auto& c : cases) {
        term.type(c.typed).keys({c.key, kEsc});
        ABM_PRODUCTOS();
        EXPECT_EQ(lista(), c.rows) << c.typed;
        EXPECT_EQ(mensajes(), Mensajes{}) << c.typed;
    }
}

INSTANTIATE_TEST_SUITE_P(Modos, CatalogoEnModo, testing::ValuesIn(prueba::modos_sql()),
                         prueba::nombre_modo);

TEST_F(Catalogo, TheSearchTextTakesFiftyCharacters) {
    term.type(std::string(51, 'a')).keys({kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(texto(), std::string(50, 'A'));
    EXPECT_EQ(texto(1), std::string(50, 'A')) << "the 51st changed nothing";
}

TEST_F(Catalogo, EnterOnTheSameTextDoesNotSearchAgainF10Does) {
    // After a search the highlight goes to the first row; Enter on the same text leaves it
    // where the user moved it, F10 searches again.
    term.type("lad").keys({kEnter, kDown, kDown, kEnter, kF10, kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(lista(1), (std::vector<std::string>{kA5, kL1, ">" + kL2, kL3, kL4}));
    EXPECT_EQ(lista(), (std::vector<std::string>{">" + kA5, kL1, kL2, kL3, kL4}));
    // F10 repeats a word search as a word search.
    term.type("0220").keys({kF8, kDown, kEnter, kF10, kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(lista(), std::vector<std::string>{">" + kM2});
    EXPECT_EQ(estado(), "(1)──────────────────────(filtro)");
}

TEST_F(Catalogo, F9AndF12ChangeOnlyTheNextSearch) {
    // Only active products at first; F12 lets the inactive in, from the next search on,
    // and shows "*" in the heading.
    term.type("pro").keys({kEnter, kF12, kF10, kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(lista(1), std::vector<std::string>{}) << "F12 does not search";
    EXPECT_EQ(lista(), std::vector<std::string>{">" + kX9});
    EXPECT_EQ(fila(5, 97, 1), "*");
    // Only weight 0: none of the bricks.
    term.type("lad").keys({kEnter, kF9}).pause(3).keys({kF10, kF9}).pause(3).keys({kF10, kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(mensajes(), (Mensajes{"Solo con pesos en cero", "Todos"}));
    EXPECT_EQ(lista(4), (std::vector<std::string>{">" + kA5, kL1, kL2, kL3, kL4}))
        << "F9 does not search";
    EXPECT_EQ(lista(3), std::vector<std::string>{});
    EXPECT_EQ(lista(), (std::vector<std::string>{">" + kA5, kL1, kL2, kL3, kL4}));
}

TEST_F(Catalogo, F5SwitchesTheOrderAndItsMarker) {
    sql("insert into prodvtas (codi_prod, codi_form, desc_prod, l_vigente) values "
        "('C00ZZ0001', '001', 'Ladrillo zeta', 0)");
    const std::string zeta = fila_de("C00ZZ0001", "001", "Ladrillo zeta", false);
    term.type("lad").keys({kEnter, kDown, kF5, kF5, kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(lista(2), (std::vector<std::string>{kA5, ">" + kL1, kL2, kL3, kL4, zeta}));
    EXPECT_EQ(lista(1), (std::vector<std::string>{zeta, ">" + kL1, kL2, kL3, kL4}))
        << "code order; the highlighted product stays where it was, A05 above it";
    EXPECT_EQ(fila(6, 28, 70, 1),
              "──↓↓──────────────────────────────────────────────────────────────────");
    EXPECT_EQ(fila(6, 28, 70),
              "─────────────────↓↓───────────────────────────────────────────────────");
    EXPECT_EQ(lista(), (std::vector<std::string>{kA5, ">" + kL1, kL2, kL3, kL4, zeta}));
}

TEST_F(Catalogo, TheStockPanelFollowsTheHighlightedProduct) {
    term.type("lad").keys({kEnter, kDown, kF2, kDown, kF2, kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(shown_screen(1), picture(R"(



 ┌───────────────────────┐
 │Bodega       Stock(UN) │ ╔<Productos>═══════════════════════════════════════════════════════════╗
 ├───────────────────────┤ ║Código    Frm Descripción                                        Std  ║
 │Bodega Cent       40,00│ ║─────────────────↓↓───────────────────────────────────────────────────║
 │Despacho Ñu        0,00│ ║A05DD0510 001 Ladrillo aislante de alta temperatura para bóvedas  ◄   ║
 │Producción         0,00│ ║L01AA0110 001 Ladrillo refractario 'Súper' 230x114x65             ◄   ║
 │Tránsito           0,00│ ║L01AA0110 002 Ladrillo refractario 'Súper' 230x114x65             ◄   ║
 │Patio O'Hig        0,00│ ║L01AA0110 003 Ladrillo refractario 'Súper' 230x114x65             ◄   ║
 ├───────────────────────┤ ║L01AA0110 004 Ladrillo refractario 'Súper' 230x114x65                 ║
 │ATENCION               │ ║                                                                      ║
 │Existen transferencias │ ║                                                                      ║
 │pendientes de este     │ ║                                                                      ║
 │producto               │ ║                                                                      ║
 ├───────────────────────┤ ║                                                                      ║
 │ATENCION               │ ║                                                                      ║
 │Existen transferencias │ ║                                                                      ║
 │pendientes de este     │ ║                                                                      ║
 │producto con fórmulas  │ ║                                                                      ║
 │diferentes             │ ║                                                                      ║
 │                       │ ║                                                                      ║
 │                       │ ║                                                                      ║
 │                       │ ║                                                                      ║
 │                       │ ║                                                                      ║
 │                       │ ║──────────────────────────────────────────────────────────────────────║
 │                       │ ║    Alta alúmina                                                      ║
 │                       │ ║────────────────────────────────(5)───────────────────────────────────║
 │                       │ ║       Buscar:<LAD                                               >    ║
 │                       │ ║                                                                      ║
 │                       │ ║[F2]Stock [F5]Orden [F6]Fórmula [F8]Filtro [F10]Re-Buscar [F12]Activos║
 │                       │ ║[←]Seleccionar  [Enter]Buscar  [INS]Agregar  [Control+Enter]Modificar ║
 │                       │ ╚[↑][↓]════════════════════════════════════════════════════════════════╝
 └───────────────────────┘
)")) << "L01AA0110 002";
    EXPECT_EQ(fila(6, 2, 23), "") << "the panel's place is given back";
}

TEST_F(Catalogo, F11ShowsTheCostOnlyToWhoMaySeeCosts) {
    term.type("lad").keys({kEnter, kDown, kF11, kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(mensajes(), Mensajes{}) << "without acc_ver_costos nothing is shown";

    sql("update usuarios set acc_ver_costos=1 where usuario='juan'");
    term.type("lad").keys({kEnter, kDown, kF11}).pause(3).keys({kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(mensajes(), Mensajes{"Costo: 0,00"}) << "no currency table in this system";

    const auto anterior = instalar_fuente_monedas([] { return TablaMonedas{{1, 1}, {2, 10}}; });
    term.type("lad").keys({kEnter, kDown, kF11}).pause(3).keys({kEsc});
    ABM_PRODUCTOS();
    instalar_fuente_monedas(anterior);
    EXPECT_EQ(mensajes(), Mensajes{"Costo: 431,47"});
}

TEST_F(Catalogo, AltF12SwitchesStockControlAfterAsking) {
    como_supervisor();
    const std::string ctrl =
        "select l_ctrl_stk from prodvtas where codi_prod='L01AA0110' and codi_form='001'";
    term.type("lad").keys({kEnter, kDown, kAltF12}).type("n");
    term.keys({kAltF12}).type("s").keys({kAltF12}).type("s").keys({kAltF12}).type("s");
    term.keys({kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(shown_screen(7), picture(R"(




                           ╔<Productos>═══════════════════════════════════════════════════════════╗
                           ║Código    Frm Descripción                                        Std  ║
                           ║─────────────────↓↓───────────────────────────────────────────────────║
                           ║A05DD0510 001 Ladrillo aislante de alta temperatura para bóvedas  ◄   ║
                           ║L01AA0110 001 Ladrillo refractario 'Súper' 230x114x65             ◄   ║
                           ║L01AA0110 002 Ladrillo refractario 'Súper' 230x114x65             ◄   ║
                           ║L01AA0110 00┌─────────────────┐rio 'Súper' 230x114x65             ◄   ║
                           ║L01AA0110 00│Desea Desactivar │rio 'Súper' 230x114x65                 ║
                           ║            │                 │                                       ║
                           ║            │    [ S ] SI     │                                       ║
                           ║            │    [ N ] NO     │                                       ║
                           ║            └─────────────────┘                                       ║
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
    // No, yes, yes, yes: the flag goes 1, 0, 1, 0.
    EXPECT_EQ(fila(11, 41, 16, 7), "Desea Desactivar");
    EXPECT_EQ(fila(11, 41, 16, 5), "Desea Desactivar");
    EXPECT_EQ(fila(11, 43, 13, 3), "Desea Activar");
    EXPECT_EQ(fila(11, 41, 16, 1), "Desea Desactivar");
    EXPECT_EQ(filas(ctrl), std::vector<std::string>{"0"});
}

// Switching stock control changes the product: refused to a user who may not change it.
TEST_F(Catalogo, AltF12WithoutTheRightToChangeProductsIsRefused) {
    const auto antes = filas("select codi_prod, codi_form, l_ctrl_stk from prodvtas");
    term.type("lad").keys({kEnter, kDown, kAltF12}).pause(3).keys({kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(mensajes(), Mensajes{"- Acceso no permitido -"});
    EXPECT_EQ(filas("select codi_prod, codi_form, l_ctrl_stk from prodvtas"), antes);
}

// On an empty list there is no product to switch: nothing is asked, nothing changes.
TEST_F(Catalogo, AltF12OnAnEmptyListDoesNothing) {
    const auto antes = filas("select codi_prod, codi_form, l_ctrl_stk from prodvtas");
    term.keys({kAltF12, kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(term.waits(), 2) << "no question";
    EXPECT_EQ(filas("select codi_prod, codi_form, l_ctrl_stk from prodvtas"), antes);
}

TEST_F(Catalogo, SelectionTypesCodeAndFormulaBack) {
    term.keys({kLeft}).type("lad").keys({kEnter, kDown, kDown, kLeft});
    ABM_PRODUCTOS(true);
    std::vector<int> tecleado = typed_keys();
    std::vector<int> esperado{kHome};
    for (char ch : std::string("L01AA0110")) esperado.push_back(ch);
    esperado.push_back(kEnter);
    for (char ch : std::string("002")) esperado.push_back(ch);
    esperado.push_back(kEnter);
    EXPECT_EQ(tecleado, esperado) << "Left on the empty list did nothing";

    term.type("lad").keys({kEnter, kLeft});
    ABM_PRODUCTOS(true, false);
    tecleado = typed_keys();
    esperado = {kHome};
    for (char ch : std::string("A05DD0510001")) esperado.push_back(ch);
    esperado.push_back(kEnter);
    EXPECT_EQ(tecleado, esperado) << "without Enter between code and formula";

    term.type("lad").keys({kEnter, kLeft, kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(console.inkey(), 0) << "out of selection mode Left does nothing";
}

TEST_F(Catalogo, InsShowsTheGeneratorAndAddsNothing) {
    const auto antes = filas("select count(*) from prodvtas");
    term.keys({kIns}).pause(3).keys({kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(mensajes(), Mensajes{"- Acceso no permitido -"});

    como_supervisor();
    // The generator's screen is shown and left at once: its lists choose nothing here.
    instalar_listas_codificacion({});
    term.keys({kIns, kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(filas("select count(*) from prodvtas"), antes);
}

TEST_F(Catalogo, CtrlEnterOpensTheFormModifiableOnlyWithThePermission) {
    term.type("mor").keys({kEnter, kCtrlEnter, kEsc, kEsc});
    ABM_PRODUCTOS();
    EXPECT_NE(fila(4, 22, 12, 1), "") << "the form was shown";
    EXPECT_EQ(mensajes(), Mensajes{}) << "without a refusal message";

    como_supervisor();
    term.type("mor").keys({kEnter, kCtrlEnter, kCtrlY}).type("Mortero gris");
    term.keys({kPgDn, kCtrlW}).type("s").keys({kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(lista(), std::vector<std::string>{">" + fila_de("M02BB0220", "001", "Mortero gris")})
        << "the list shows the change without a new search";
}

TEST_F(Catalogo, WithoutThePermissionTheCatalogueDoesNotOpen) {
    sesion.COD_USUARIO = "sinvales";
    term.pause(3);
    ABM_PRODUCTOS();
    EXPECT_EQ(mensajes(), Mensajes{"- Acceso no permitido -"});
    EXPECT_EQ(term.waits(), 1) << "only the message";
}

}  // namespace
