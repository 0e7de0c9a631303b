// Text pasted on the terminal, decoded by the real key decoder from the bytes a terminal
// sends: it types into form fields, the password and the memo editor, and does nothing at
// all anywhere else (menus, pick lists, alerts, questions, message boxes).
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "runtime/browse/memo_viewer.h"
#include "runtime/common/codepage.h"
#include "runtime/forms/form.h"
#include "runtime/lists/alert.h"
#include "runtime/lists/pick_list.h"
#include "runtime/screen/key_decoder.h"
#include "support/screen_test.h"
#include "ui/rutinas2.h"
#include "vales/vales.h"
#include "vales/vales_fixture.h"

namespace {

using namespace rt::key;

std::string bracketed(std::string_view utf8) {
    return "\x1b[200~" + std::string(utf8) + "\x1b[201~";
}

class PasteTest : public testing_support::ValesTest {
  protected:
    // The keys a terminal's bytes decode to, in the script of the virtual terminal.
    void terminal(const std::string& bytes) {
        rt::KeyDecoder d;
        d.feed(bytes);
        while (auto k = d.next(true)) term.keys({*k});
    }
};

TEST_F(PasteTest, APasteOfSsAtTheMainMenuDoesNothing) {
    std::vector<int> ran;
    vales::Operaciones ops;
    ops.CONECTARSERVIDOR = [&] {
        ran.push_back(1);
        return false;
    };
    ops.cerrar_tablas = [&] { ran.push_back(-1); };
    term.pause(2);
    terminal(bracketed("ss"));
    terminal(bracketed("c\r"));  // would choose "Conectar con Servidor"
    terminal("\x1b");
    terminal("s");
    vales::MAIN(ops);
    EXPECT_EQ(ran, std::vector<int>{-1});  // nothing ran; the typed Esc and S left
    EXPECT_TRUE(term.script_empty());
    int asked = 0;  // waits at the exit question: only the one after the typed Esc
    for (const auto& shot : term.snapshots())
        if (testing_support::grid_row_text(shot.grid, 11, 0, 100).find("Desea salir") !=
            std::string::npos)
            ++asked;
    EXPECT_EQ(asked, 1);
}

// Each case: the terminal's bytes, what runs on them, what it gave.
struct Case {
    const char* where;
    std::string bytes;
    std::function<std::string()> run;
    std::string expected;
};

TEST_F(PasteTest, PastedTextTypesOnlyWhereTextIsTyped) {
    const Case cases[] = {
        {"form fields: the pasted Enter does not leave the field",
         bracketed("ab\r\ncd") + "\r" + bracketed("7") + "\r",
         [] {
             cp::Oem usuario(15, ' ');
             double bodega = 0;
             rt::Form form;
             form.field(5, 10, usuario, "cUser").field(6, 10, bodega, "nxBodega", "999");
             form.read("PRUEBA");
             return usuario.str() + "|" + std::to_string(static_cast<int>(bodega));
         },
         "abcd           |7"},
        {"form field: accented letters arrive in the console's code page", bracketed("Año") + "\r",
         [] {
             cp::Oem nombre(5, ' ');
             rt::Form form;
             form.field(5, 10, nombre, "cxNombre");
             form.read("PRUEBA");
             return cp::oem_to_utf8(nombre);
         },
         "Año  "},
        {"password", bracketed("vales123") + "\r", [] { return ui::GETPASS(20, 20).str(); },
         "vales123"},
        {"memo editor (overstrike)", bracketed("hola") + "\x17",  // Ctrl+W keeps the changes
         [] {
             return rt::memo_edit("xxxx mundo", {10, 10, 20, 60}, true).str();
         },
         "hola mundo"},
        {"memo viewer", bracketed("hola") + "\x17",
         [] {
             return rt::memo_edit("mundo", {10, 10, 20, 60}, false).str();
         },
         "mundo"},
        {"alert: a pasted letter chooses no button", bracketed("No") + "\r",
         [] {
             return std::to_string(rt::alert("Pregunta", {"Si", "No"}));
         },
         "1"},
        {"pick list", bracketed("gamma\r") + "\r",
         [] {
             return std::to_string(
                 rt::pick_list(5, 5, 10, 30, cp::oem_list({"alfa", "beta", "gamma"})));
         },
         "1"},
        {"confirmation: only a typed answer counts", bracketed("s") + "n",
         [] { return std::string(ui::CONFIRMA("Desea salir del sistema") ? "si" : "no"); }, "no"},
        {"message box: the paste does not cut the wait short", bracketed("x"),
         [this] {
             const double start = term.monotonic_seconds();
             ui::MSGBOX("Aviso");
             return std::to_string(term.monotonic_seconds() - start);
         },
         std::to_string(3.0)},
    };
    for (const Case& c : cases) {
        terminal(c.bytes);
        EXPECT_EQ(c.run(), c.expected) << c.where;
        ASSERT_TRUE(term.script_empty()) << c.where;
    }
}

}  // namespace
