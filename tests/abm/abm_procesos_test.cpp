// The process catalogue on the virtual terminal against a company database of its own.
#include <gtest/gtest.h>

#include <functional>

#include "abm/abm_procesos.h"
#include "catalogo_fixture.h"
#include "runtime/common/codepage.h"
#include "runtime/screen/keys.h"

namespace {

using namespace abm;
using namespace rt::key;
using prueba::Mensajes;
using testing_support::picture;

class Procesos : public prueba::CatalogoTest {
  protected:
    // The list's data rows (7-27, columns 27-90) as the user saw them at the n-th last wait.
    std::vector<std::string> lista(std::size_t n = 0) const { return shown_list(7, 27, 27, 64, n); }
};

TEST_F(Procesos, TheWholeTableInCodeOrderWithItsFrameAndHelp) {
    term.keys({kEsc});
    EXPECT_EQ(ABM_PROCESOS(), "");
    EXPECT_EQ(shown_screen(), picture(R"(




                          ╔<Procesos>══════════════════════════════════════════════════════╗
                          ║Cód   Descripción                                               ║
                          ║──────────────────────────────────────────                      ║
                          ║A Prensado en seco                                              ║
                          ║B Colado                                                        ║
                          ║C Extrusión                                                     ║
                          ║                                                                ║
                          ║                                                                ║
                          ║                                                                ║
                          ║                                                                ║
                          ║                                                                ║
                          ║                                                                ║
                          ║                                                                ║
                          ║                                                                ║
                          ║                                                                ║
                          ║                                                                ║
                          ║                                                                ║
                          ║                                                                ║
                          ║                                                                ║
                          ║                                                                ║
                          ║                                                                ║
                          ║                                                                ║
                          ║                                                                ║
                          ║                                                                ║
                          ║────────────────────────────────────────────────────────────────║
                          ║   Buscar:<                                                  >  ║
                          ║                                                                ║
                          ║       [↑][↓]   [Enter] Buscar/Seleccionar   [F8] Filtro        ║
                          ║           [INS] Agregar    [Control+Enter] Modificar           ║
                          ╚════════════════════════════════════════════════════════════════╝
)"));
    EXPECT_EQ(shown_colours({{"+GR/BG", 'f'}, {"W/BG", '.'}, {"+W/R", 'H'}}, 4, 26, 10, 91),
              picture(R"(
ffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff
f................................................................f
f................................................................f
fHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHH......................f
f................................................................f
f................................................................f
f................................................................f
)",
                      7));
    EXPECT_EQ(rt::wt::workspace().open_count(), 0u) << "the work table is closed";
}

TEST_F(Procesos, SearchTextNarrowsTheListAndTheStatusSaysHow) {
    struct Case {
        std::string name;
        std::function<void()> keys;
        std::vector<std::string> rows;
        std::string status;  // row 28, columns 55-87
        std::string text;    // row 29, columns 38-87, without trailing blanks
    };
    const std::string linea8 = "────────";
    const Case cases[] = {
        {"prefix",
         [&] { term.type("pre").keys({kEnter}); },
         {"A Prensado en seco"},
         "(1)──────────────────────" + linea8,
         "PRE"},
        {"typing does not search",
         [&] { term.type("pre"); },
         {"A Prensado en seco", "B Colado", "C Extrusión"},
         "(3)──────────────────────" + linea8,
         "PRE"},
        {"one word anywhere",
         [&] { term.type("co").keys({kF8}); },
         {"A Prensado en seco", "B Colado"},
         "(2)──────────────────────(filtro)",
         "CO"},
        {"two words, both",
         [&] { term.type("se pre").keys({kF8}); },
         {"A Prensado en seco"},
         "(1)──────────────────────(filtro)",
         "SE PRE"},
        {"backspace searches what is left",
         [&] {
             term.type("cox").keys({kEnter, kBackspace});
         },
         {"B Colado"},
         "(1)──────────────────────" + linea8,
         "CO"},
        {"del empties the list",
         [&] {
             term.type("co").keys({kEnter, kDel});
         },
         {},
         "(0)──────────────────────" + linea8,
         ""},
        {"backspace to nothing empties it",
         [&] {
             term.type("c").keys({kEnter, kBackspace});
         },
         {},
         "(0)──────────────────────" + linea8,
         ""},
        {"nothing found",
         [&] { term.type("zz").keys({kEnter}); },
         {},
         "(0)──────────────────────" + linea8,
         "ZZ"},
    };
    for (const auto& c : cases) {
        c.keys();
        term.keys({kEsc});
        ABM_PROCESOS();
        EXPECT_EQ(lista(), c.rows) << c.name;
        EXPECT_EQ(testing_support::grid_row_text(term.snapshots().back().grid, 28, 55, 33),
                  c.status)
            << c.name;
        std::string text = testing_support::grid_row_text(term.snapshots().back().grid, 29, 38, 50);
        text.erase(text.find_last_not_of(' ') + 1);
        EXPECT_EQ(text, c.text) << c.name;
    }
}

TEST_F(Procesos, SelectionReturnsOrTypesTheChosenCode) {
    term.keys({kDown, kEnter});
    EXPECT_EQ(ABM_PROCESOS(true), "B");

    // A typed text that was not searched yet is searched first; Enter again chooses.
    term.type("ext").keys({kEnter, kEnter});
    EXPECT_EQ(ABM_PROCESOS(true), "C");
    EXPECT_EQ(lista(), (std::vector<std::string>{"C Extrusión"}));

    term.keys({kDown, kDown, kEnter});
    EXPECT_EQ(ABM_PROCESOS(true, true), "");
    EXPECT_EQ(typed_keys(), (std::vector<int>{kHome, 'C', kEnter}));

    // Out of selection mode Enter chooses nothing; on an empty list neither.
    term.keys({kEnter, kEsc});
    EXPECT_EQ(ABM_PROCESOS(), "");
    term.type("zz").keys({kEnter, kEnter, kEsc});
    EXPECT_EQ(ABM_PROCESOS(true), "");

    // The extra key runs its action without leaving.
    int corridas = 0;
    term.keys({kF2, kF2, kEsc});
    ABM_PROCESOS(true, false, TeclaExtra{kF2, [&] { ++corridas; }});
    EXPECT_EQ(corridas, 2);
}

using ProcesosEnModo = prueba::CatalogoEnModo<Procesos>;

TEST_P(ProcesosEnModo, AddingNeedsTheCodingTablesPermission) {
    // Disabled for everybody in this company.
    term.keys({kIns}).pause(3).keys({kEsc});
    ABM_PROCESOS();
    EXPECT_EQ(mensajes(), Mensajes{"Acceso desactivado para todos los usuarios"});
    EXPECT_EQ(filas("select count(*) from procesos"), std::vector<std::string>{"3"});

    // Enabled, for a user who has it: code (lower case is taken upper), name, observations
    // with an apostrophe and an eñe, Ctrl+W; stored without a question.
    como_supervisor();
    term.keys({kIns}).type("d").keys({kEnter}).type("Vibrado").keys({kEnter});
    term.type("it's \xA4").keys({kCtrlW, kCtrlPgUp, kEsc});
    ABM_PROCESOS();
    EXPECT_EQ(lista(1), std::vector<std::string>{"D Vibrado"})
        << "the new process is the current row, where the highlight was";
    EXPECT_EQ(mensajes(), Mensajes{});
    EXPECT_EQ(filas("select codi_proceso, rtrim(nombre_proceso), observaciones from procesos "
                    "where codi_proceso='D'"),
              std::vector<std::string>{"D|Vibrado|it\"s ñ"});
    EXPECT_EQ(lista(), (std::vector<std::string>{"A Prensado en seco", "B Colado", "C Extrusión",
                                                 "D Vibrado"}));
}

INSTANTIATE_TEST_SUITE_P(Modos, ProcesosEnModo, testing::ValuesIn(prueba::modos_sql()),
                         prueba::nombre_modo);

TEST_F(Procesos, TheFormRefusesACodeInUseAndAnEmptyName) {
    como_supervisor();
    // "A" is taken: the message, and the cursor stays in the code; an empty name is not
    // accepted either (Enter on it stays), so the name is typed.
    term.keys({kIns}).type("a").keys({kEnter}).pause(3);
    term.keys({kCtrlU}).type("e").keys({kEnter, kEnter});
    term.type("Esmaltado").keys({kEnter, kCtrlW, kEsc});
    ABM_PROCESOS();
    EXPECT_EQ(mensajes(), Mensajes{"Código ya existe"});
    EXPECT_EQ(filas("select codi_proceso, rtrim(nombre_proceso), observaciones from procesos "
                    "order by codi_proceso"),
              (std::vector<std::string>{"A|Prensado en seco|Prensa hidráulica o de fricción.",
                                        "B|Colado|", "C|Extrusión|Sólo para piezas largas.",
                                        "E|Esmaltado|"}));
}

TEST_F(Procesos, ModifyingAProcessAndOnlyViewingIt) {
    // Without the permission the form only shows the process (the disabled code says so);
    // Esc leaves the viewer and nothing is stored.
    term.keys({kCtrlEnter}).pause(3).keys({kDown, kEsc, kEsc});
    ABM_PROCESOS();
    EXPECT_EQ(mensajes(), Mensajes{"Acceso desactivado para todos los usuarios"});
    EXPECT_EQ(shown_screen(1), picture(R"(




                          ╔<Procesos>══════════════════════════════════════════════════════╗
                          ║Cód   Descripción                                               ║
                          ║──────────────────────────────────────────                      ║
                          ║A Prensado en seco                                              ║
                          ║B Col┌<Modificar>────────────────────────────────────────────────┐
                          ║C Ext│Codigo: A                                                  │
                          ║     │Descripción: Prensado en seco                              │
                          ║     ├───────────────────────────────────────────────────────────┤
                          ║     │Observaciones:                                             │
                          ║     │Prensa hidráulica o de fricción.                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║─────│                                                           │
                          ║   Bu│                                                           │
                          ║     └───────────────────────────────────────────────────────────┘
                          ║       [↑][↓]   [Enter] Buscar/Seleccionar   [F8] Filtro        ║
                          ║           [INS] Agregar    [Control+Enter] Modificar           ║
                          ╚════════════════════════════════════════════════════════════════╝
)"));

    como_supervisor();
    term.keys({kCtrlEnter, kCtrlY}).type("Prensado isost\xA0tico").keys({kEnter, kCtrlW, kEsc});
    ABM_PROCESOS();
    EXPECT_EQ(shown_screen(1), picture(R"(




                          ╔<Procesos>══════════════════════════════════════════════════════╗
                          ║Cód   Descripción                                               ║
                          ║──────────────────────────────────────────                      ║
                          ║A Prensado en seco                                              ║
                          ║B Col┌<Modificar>────────────────────────────────────────────────┐
                          ║C Ext│Codigo: A                                                  │
                          ║     │Descripción: Prensado isostático                           │
                          ║     ├───────────────────────────────────────────────────────────┤
                          ║     │Observaciones:                                             │
                          ║     │Prensa hidráulica o de fricción.                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║     │                                                           │
                          ║─────│                                                           │
                          ║   Bu│                                                           │
                          ║     └────────────[Control+W]Grabar    [Esc]Salir────────────────┘
                          ║       [↑][↓]   [Enter] Buscar/Seleccionar   [F8] Filtro        ║
                          ║           [INS] Agregar    [Control+Enter] Modificar           ║
                          ╚════════════════════════════════════════════════════════════════╝
)")) << "observations edited in their place, with the keys to end";
    EXPECT_EQ(filas("select codi_proceso, nombre_proceso from procesos where codi_proceso='A'"),
              std::vector<std::string>{"A|Prensado isostático"})
        << "the name is stored without its trailing blanks";
    EXPECT_EQ(lista()[0], "A Prensado isostático");
}

// A name or observation with characters the console cannot show ("—", curly quotes) goes
// back as stored when only the other one is edited.
TEST_F(Procesos, TextsTheConsoleCannotShowAreKeptUnlessEdited) {
    como_supervisor();
    const auto guardar = [this](const std::string& nombre, const std::string& obs) {
        sql("update procesos set nombre_proceso='" + cp::utf8_to_ansi(nombre) +
            "', observaciones='" + cp::utf8_to_ansi(obs) + "' where codi_proceso='A'");
    };
    const auto proceso = [this] {
        return filas("select nombre_proceso, observaciones from procesos where codi_proceso='A'");
    };
    // Only the observations: a blank typed before them.
    guardar("Prensado — seco", "Prensa “hidráulica”");
    term.keys({kEnter, kIns}).type(" ").keys({kCtrlW});
    EXPECT_TRUE(EDIT_PROCESO("A"));
    EXPECT_EQ(proceso(), std::vector<std::string>{"Prensado — seco| Prensa \"hidráulica\""});
    // Only the name: one more letter at its end.
    guardar("Prensado — seco", "Prensa “hidráulica”");
    term.keys({kEnd}).type("s").keys({kEnter, kCtrlW});
    EXPECT_TRUE(EDIT_PROCESO("A"));
    EXPECT_EQ(proceso(), std::vector<std::string>{"Prensado - secos|Prensa “hidráulica”"});
}

// Another user stores a change while this one edits: the save writes nothing over it, says
// so, and the form comes back as the other user left it.
TEST_F(Procesos, AChangeStoredMeanwhileByAnotherUserIsNeverUndone) {
    como_supervisor();
    const std::string sql_proceso =
        "select nombre_proceso, observaciones from procesos where codi_proceso='A'";
    const std::string nombre = filas(sql_proceso)[0].substr(0, filas(sql_proceso)[0].find('|'));
    term.keys({kEnd}).type("X").then(
        [this] { sql("update procesos set observaciones='de otro' where codi_proceso='A'"); });
    term.keys({kEnter, kCtrlW}).pause(3).keys({kEsc});
    EXPECT_FALSE(EDIT_PROCESO("A"));
    EXPECT_EQ(mensajes(), Mensajes{"El proceso fue modificado por otro usuario: se vuelve a leer"});
    EXPECT_EQ(filas(sql_proceso), std::vector<std::string>{nombre + "|de otro"});
    EXPECT_NE(shown_row(13).find("│de otro  "), std::string::npos) << screen_dump();
}

TEST_F(Procesos, CtrlEnterOnAnEmptyListOpensANewProcess) {
    como_supervisor();
    term.type("zz").keys({kEnter, kCtrlEnter}).type("f").keys({kEnter}).type("Fundido");
    term.keys({kEnter}).type("x").keys({kCtrlW, kEsc});
    ABM_PROCESOS();
    EXPECT_EQ(filas("select codi_proceso, rtrim(nombre_proceso), observaciones from procesos "
                    "where codi_proceso='F'"),
              std::vector<std::string>{"F|Fundido|x"});
}

// A process removed since the list was loaded: the form says so and stores nothing,
// instead of showing it blank and "storing" an update that changes no row.
TEST_F(Procesos, AProcessNoLongerThereIsAnError) {
    como_supervisor();
    term.pause(3);
    EXPECT_FALSE(EDIT_PROCESO("Z"));
    EXPECT_EQ(mensajes(), Mensajes{"Error en base de datos..."});
}

TEST_F(Procesos, ExisteTellsWhetherACodeIsTaken) {
    EXPECT_TRUE(EXISTE("A"));
    EXPECT_FALSE(EXISTE("Z", true));
    EXPECT_EQ(mensajes(), Mensajes{});
    term.pause(3);
    EXPECT_TRUE(EXISTE("B", true));
    EXPECT_EQ(mensajes(), Mensajes{"Código ya existe"});
    EXPECT_FALSE(EXISTE("' or '1'='1"));
}

}  // namespace
