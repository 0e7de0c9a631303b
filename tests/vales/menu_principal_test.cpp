#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>

#include "runtime/common/codepage.h"
#include "vales/vales.h"
#include "vales/vales_fixture.h"

namespace {

using rt::key::kDown;
using rt::key::kEnter;
using rt::key::kEsc;
using rt::key::kUp;

class MenuPrincipalTest : public testing_support::ValesTest {
  protected:
    MenuPrincipalTest() {
        ops.CONECTARSERVIDOR = [this] {
            ran.push_back(1);
            return true;
        };
        ops.DESCONECTARSERVIDOR = [this] { ran.push_back(2); };
        ops.VALES_INGRESO_ON_LINE = [this] { ran.push_back(3); };
        ops.VALES_INGRESO_OFF_LINE = [this] { ran.push_back(4); };
        ops.LISTA_INGRESOS = [this] { ran.push_back(5); };
        ops.DATOSDESDE_SERVIDOR = [this] { ran.push_back(6); };
        ops.DATOSHACIA_SERVIDOR = [this] { ran.push_back(7); };
        ops.IMPRIMIRVALES = [this] { ran.push_back(8); };
        ops.cerrar_tablas = [this] { ran.push_back(-1); };
    }
    // The start-up window waits 2 seconds: a pause lets it go by itself.
    void run_main() { vales::MAIN(ops); }
    vales::Operaciones ops;
    std::vector<int> ran;
};

TEST_F(MenuPrincipalTest, LayoutAndColoursOfTheMainMenu) {
    term.pause(2);
    term.keys({kEsc, 's'});
    run_main();
    // The snapshot of the first menu wait (after the 2-second start-up wait).
    const std::size_t first_menu = term.snapshots().size() - 2;
    EXPECT_EQ(shown_screen(first_menu), testing_support::picture(R"(
Refractarios Velmo Ltda.                                                                  06/12/2026
Vales de producción                                                                     Desconectado

 ┌──────────────────────────────────────┐
 │ Conectar con Servidor                │
 │ Desconectarse del Servidor           │
 ├──────────────────────────────────────┤
 │ Ingreso de Vales ON-LINE             │
 │ Ingreso de Vales OFF-LINE            │
 ├──────────────────────────────────────┤
 │ Lista de ingresos OFF-LINE           │
 │ Obtener base de datos de servidor    │
 │ Enviar datos ingresados al Servidor  │
 ├──────────────────────────────────────┤
 │ Imprimir vales de producción         │
 ├──────────────────────────────────────┤
 │ Salir del Sistema                    │
 └──────────────────────────────────────┘

















                         Seleccione opción   -   [Escape] Salir del sistema
)"));
    // Title lines t, blue background ., frame f, prompts p with the first highlighted h,
    // the message line's [Escape] group m.
    const std::map<std::string, char> legend = {{"+W/RB", 't'}, {"B/B", 'b'},  {"W/B", '.'},
                                                {"G/N", 'f'},   {"+G/N", 'p'}, {"+W/G", 'h'},
                                                {"N/W", 'm'}};
    EXPECT_EQ(shown_colours(legend, 0, 0, 18, 59, first_menu), testing_support::picture(R"(
tttttttttttttttttttttttttttttttttttttttttttttttttttttttttttt
tttttttttttttttttttttttttttttttttttttttttttttttttttttttttttt
bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb
.ffffffffffffffffffffffffffffffffffffffff...................
.fhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhf...................
.fppppppppppppppppppppppppppppppppppppppf...................
.ffffffffffffffffffffffffffffffffffffffff...................
.fppppppppppppppppppppppppppppppppppppppf...................
.fppppppppppppppppppppppppppppppppppppppf...................
.ffffffffffffffffffffffffffffffffffffffff...................
.fppppppppppppppppppppppppppppppppppppppf...................
.fppppppppppppppppppppppppppppppppppppppf...................
.fppppppppppppppppppppppppppppppppppppppf...................
.ffffffffffffffffffffffffffffffffffffffff...................
.fppppppppppppppppppppppppppppppppppppppf...................
.ffffffffffffffffffffffffffffffffffffffff...................
.fppppppppppppppppppppppppppppppppppppppf...................
.ffffffffffffffffffffffffffffffffffffffff...................
............................................................
)",
                                                                                        19));
    EXPECT_EQ(shown_colours(legend, 35, 40, 35, 59, first_menu), ".........mmmmmmmm...\n");
    EXPECT_EQ(ran, std::vector<int>{-1});
}

TEST_F(MenuPrincipalTest, StartupWindowShowsForTwoSecondsOrUntilAKey) {
    term.keys({'x', kEsc, 's'});
    run_main();
    const rt::Grid& g = term.snapshots()[0].grid;
    EXPECT_NE(testing_support::grid_row_text(g, 15, 20, 60).find("Dudivur Odezad"),
              std::string::npos);
    EXPECT_NE(testing_support::grid_row_text(g, 17, 20, 60).find("Iniciando sistema..."),
              std::string::npos);
    EXPECT_EQ(term.title(), "Zadarer Udive du Ruruzurazo");
}

TEST_F(MenuPrincipalTest, LettersAndArrowsChooseEntries) {
    struct Case {
        std::vector<int> keys;
        std::vector<int> ran;
    } cases[] = {
        {{'I'}, {3}},
        {{'c'}, {1}},
        {{'d'}, {2}},
        {{'L'}, {5}},
        {{'o'}, {6}},
        {{'E'}, {7}},
        {{kDown, kDown, kDown, kEnter}, {4}},
        {{kUp, kUp, kEnter}, {8}},
        {{'z', kDown, kEnter}, {2}},
    };
    for (const auto& c : cases) {
        ran.clear();
        term.pause(2);
        for (int k : c.keys) term.keys({k});
        term.keys({kEsc, 's'});
        run_main();
        std::vector<int> expected = c.ran;
        expected.push_back(-1);
        EXPECT_EQ(ran, expected);
    }
}

TEST_F(MenuPrincipalTest, ExitNeedsConfirmationAndKeepsTheHighlight) {
    term.pause(2);
    // Esc answered N: back on entry 1; S answered N: back on entry 9; Enter there asks again.
    term.keys({kEsc, 'n', 's', 'n', kEnter, 'S'});
    run_main();
    EXPECT_EQ(ran, std::vector<int>{-1});
    const auto& shots = term.snapshots();
    // The wait before the final Enter: the highlight stood on "Salir del Sistema".
    const rt::Grid& g = shots[shots.size() - 2].grid;
    EXPECT_EQ(testing_support::attr_text(g[16][2].attr), "+W/G");
    EXPECT_EQ(console.cursor_shape(), 1);
}

TEST_F(MenuPrincipalTest, TitleLinesAfterALogin) {
    ops.CONECTARSERVIDOR = [this] {
        sesion.LCONECTADO = true;
        sesion.COD_USUARIO = "operador1";
        sesion.NOM_EMPRESA = "Refractarios Velmo Ltda.";
        return true;
    };
    term.pause(2);
    term.keys({'c', kEsc, 's'});
    run_main();
    const auto& shots = term.snapshots();
    const rt::Grid& g = shots[shots.size() - 2].grid;
    EXPECT_EQ(testing_support::grid_row_text(g, 1, 78, 22), "Conectado => operador1");
    EXPECT_EQ(testing_support::grid_row_text(g, 0, 0, 24), "Refractarios Velmo Ltda.");
}

TEST(Versionexe, DayMonthYearHourMinuteOfTheProgramFile) {
    const auto path = std::filesystem::temp_directory_path() / "versionexe_probe";
    std::ofstream(path) << "x";
    std::tm t{};
    t.tm_year = 110;
    t.tm_mon = 11;
    t.tm_mday = 31;
    t.tm_hour = 23;
    t.tm_min = 59;
    t.tm_sec = 30;
    t.tm_isdst = -1;
    utimbuf times{std::mktime(&t), std::mktime(&t)};
    ASSERT_EQ(utime(path.c_str(), &times), 0);
    EXPECT_EQ(vales::VERSIONEXE(path), "311210_2359");
    std::filesystem::remove(path);
    EXPECT_EQ(vales::VERSIONEXE("/no/such/program"), "");
    EXPECT_EQ(vales::VERSIONEXE().size(), 11u);
}

}  // namespace
