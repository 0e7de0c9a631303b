// Random keys through the whole program on the fuzz terminal: the main menu, the login
// (against an address where no server answers), the download menu (connected to a server
// that fails every statement, over a scratch off-line store), the print dialog, and the
// widgets (a form with help lists, a pick list with an item handler, alerts, a table
// browser, the memo editor). After every key: no crash, the cursor on the 36 x 100 grid;
// every few hundred keys: Esc brings the main menu back, intact and disconnected.
//
// VALES_FUZZ_KEYS sets how many keys (30,000 by default), VALES_FUZZ_SEED the seed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>

#include "datos/sesion.h"
#include "keys/fuzz_terminal.h"
#include "runtime/browse/browse_loop.h"
#include "runtime/browse/browser.h"
#include "runtime/browse/memo_viewer.h"
#include "runtime/common/codepage.h"
#include "runtime/forms/form.h"
#include "runtime/lists/alert.h"
#include "runtime/lists/pick_list.h"
#include "runtime/screen/console.h"
#include "runtime/screen/virtual_backend.h"
#include "runtime/server/tmysql.h"
#include "runtime/worktables/key_expression.h"
#include "runtime/worktables/temp_table.h"
#include "support/offline_store.h"
#include "support/screen_test.h"
#include "ui/rutinas2.h"
#include "vales/fuera_de_linea/DatosDesde_Servidor.h"
#include "vales/imprimir/print_vales.h"
#include "vales/operaciones.h"
#include "vales/vales.h"

namespace {

using namespace rt::key;

long from_environment(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::atol(text) : fallback;
}

// The operations behind the main menu, each counting its visits.
class Program {
  public:
    explicit Program(const std::string& store) : store_(store) {
        const auto folder = std::filesystem::current_path();
        const bool made = table_.open((folder / "f.dbf").string(),
                                      {{"ID", rt::wt::FieldType::kNumeric, 6, 0},
                                       {"NOMBRE", rt::wt::FieldType::kCharacter, 20, 0}},
                                      "FUZZ") &&
                          table_.index((folder / "1.ntx").string(), "Upper(NOMBRE)");
        if (!made) throw std::runtime_error("the browser's work table cannot be made");
        for (int i = 1; i <= 60; ++i) {
            table_->append();
            table_->set_number("ID", i);
            table_->set_text("NOMBRE", "registro " + std::to_string(i * 37 % 101));
        }
    }

    vales::Operaciones operations() {
        vales::Operaciones op = vales::operaciones_del_programa();
        auto counted = [this](const char* name, std::function<void()> f) {
            return [this, name, f] {
                ++visits[name];
                f();
            };
        };
        auto login = op.CONECTARSERVIDOR;
        op.CONECTARSERVIDOR = [this, login] {
            ++visits["login"];
            return login();
        };
        op.DESCONECTARSERVIDOR = counted("logout", op.DESCONECTARSERVIDOR);
        op.VALES_INGRESO_ON_LINE = counted("form", [this] { form(); });
        op.VALES_INGRESO_OFF_LINE = counted("pick list", [this] { pick_list(); });
        op.LISTA_INGRESOS = counted("browser", [this] { browser(); });
        op.DATOSDESDE_SERVIDOR = counted("download", [this] { download(); });
        op.DATOSHACIA_SERVIDOR = counted("memo", [this] { memo(); });
        op.IMPRIMIRVALES = counted("print", [this] { print(); });
        return op;
    }

    std::map<std::string, long> visits;

  private:
    // A form with the masks the program uses; F1 opens a help list whose choice is typed
    // into the field, as the entry forms' help does.
    void form() {
        rt::Console& c = rt::con();
        const rt::SavedScreen screen = c.save_screen();
        cp::Oem producto(9, ' '), hora("  :  "), usuario(15, ' ');
        double cantidad = 0, desde = 0;
        int bodega = 1;
        rt::Fecha fecha = *rt::Fecha::from_ymd(2026, 12, 6);
        const rt::KeyHandler previous = c.set_key_handler(kF1, [](auto&&...) {
            static const std::vector<cp::Oem> kCodes =
                cp::oem_list({"A00010001", "B00020002", "12", "C0003", "9"});
            rt::Console& k = rt::con();
            const rt::SavedScreen under = k.save_screen();
            const int chosen = rt::pick_list(10, 60, 16, 80, kCodes);
            k.restore_screen(under);
            if (chosen > 0) k.put_keys(kCodes[static_cast<std::size_t>(chosen - 1)]);
        });
        ui::BOX(4, 2, 12, 50);
        rt::Form f;
        f.field(5, 5, producto, "cxProducto", "@!")
            .field(6, 5, fecha, "dxFecha", "", [&] { return !fecha.empty(); })
            .field(7, 5, hora, "cxHoraIni", "99:99")
            .field(8, 5, cantidad, "nxCantidad", "@E 999,999.99", [&] { return cantidad >= 0; })
            .field(9, 5, bodega, "nxBodega", "999")
            .field(10, 5, desde, "nxDesde", "99999999")
            .field(11, 5, usuario, "cUser");
        c.set_cursor_shape(1);
        f.read("FORMULARIO");
        c.set_cursor_shape(0);
        c.set_key_handler(kF1, previous);
        c.restore_screen(screen);
    }

    // A pick list as an item editor: Enter asks in an alert, F2 shows the item in the memo
    // viewer, letters search, Esc leaves.
    void pick_list() {
        rt::Console& c = rt::con();
        const rt::SavedScreen screen = c.save_screen();
        std::vector<cp::Oem> items;
        for (int i = 1; i <= 30; ++i) items.push_back(cp::Oem("Actividad " + std::to_string(i)));
        rt::pick_list(
            5, 10, 20, 60, items,
            {.handler =
                 [&](int mode, int current, int) {
                     if (mode == rt::pick::kNothing) return rt::pick::kAbort;
                     if (mode != rt::pick::kException) return rt::pick::kContinue;
                     const int k = rt::con().last_key();
                     if (k == kEsc) return rt::pick::kAbort;
                     if (k == kEnter) {
                         const int answer =
                             rt::alert("Borrar?;" + items[current - 1], {"Si", "No", "Cancelar"});
                         if (answer == 1) items[current - 1] += " (borrada)";
                         return rt::pick::kContinue;
                     }
                     if (k == kF2) {
                         rt::memo_edit(items[current - 1], {6, 62, 14, 95}, false);
                         return rt::pick::kContinue;
                     }
                     return is_printable(k) ? rt::pick::kLetterSearch : rt::pick::kContinue;
                 },
             .proc = "LISTA"});
        c.restore_screen(screen);
    }

    void browser() {
        rt::Console& c = rt::con();
        const rt::SavedScreen screen = c.save_screen();
        rt::Browser b(*table_, 5, 28, 25, 97);
        b.add_column("Id     Nombre", [this] {
            return cp::Oem(rt::wt::str_number(table_->number("ID"), 6, 0) + " " +
                           table_->text("NOMBRE"));
        });
        b.set_colour("w/bg,+w/r");
        b.set_heading_separator("─┬─"_oem);
        b.go_top();
        rt::browse_keys(b, [&](int k) {
            if (k == kEnter) {
                rt::memo_edit(cp::Oem(table_->text("NOMBRE")), {8, 10, 14, 40}, false);
                return rt::BrowseKey::kHandled;
            }
            if (k == kF8) {
                rt::alert("Registro;" + cp::Oem(table_->text("NOMBRE")));
                return rt::BrowseKey::kHandled;
            }
            return rt::BrowseKey::kShared;
        });
        c.restore_screen(screen);
    }

    // Connected, as far as the session knows, to a server that fails every statement.
    void download() {
        datos::Sesion& s = datos::ses();
        s.LCONECTADO = true;
        s.OSERVER = rt::TMySQLServer::New("", "root", "");
        vales::DATOSDESDE_SERVIDOR(store_);
        s.LCONECTADO = false;
        s.OSERVER.reset();
    }

    void memo() {
        rt::Console& c = rt::con();
        const rt::SavedScreen screen = c.save_screen();
        cp::Oem text;
        for (int i = 0; i < 40; ++i)
            text += "select codi_prod, desc_prod from prodvtas where l_activo=true;\r\n";
        const cp::Oem edited = rt::memo_edit(text, {3, 5, 30, 94}, true);
        if (edited != text) ui::MSGBOX("Texto modificado");
        c.restore_screen(screen);
    }

    // The real menu entry (not connected: it says so), or the destination dialog with a
    // print routine that only counts.
    void print() {
        if (++prints_ % 2) {
            vales::IMPRIMIRVALES();
            return;
        }
        vales::PRINT_VALE([this](const std::string&, long, long) { ++visits["printed"]; }, 1, 3);
    }

    std::string store_;
    rt::wt::Workspace workspace_;
    rt::wt::TempTable table_{workspace_};
    long prints_ = 0;
};

// What the main menu must show whenever Esc has brought it back.
void check_main_menu(const rt::Grid& g, fuzz::FuzzTerminal& term) {
    using testing_support::grid_row_text;
    const std::string title = grid_row_text(g, 0, 0, 24) + "|" + grid_row_text(g, 1, 88, 12);
    const std::string frame_top = grid_row_text(g, 3, 1, 40);
    const std::string last = grid_row_text(g, 16, 1, 40);
    if (title != "Refractarios Velmo Ltda.|Desconectado" ||
        frame_top != "┌──────────────────────────────────────┐" ||
        last != "│ Salir del Sistema                    │")
        throw fuzz::FuzzFailure("the main menu is not as it should be\n" + term.report());
}

class KeyFuzz : public ::testing::Test {
  protected:
    KeyFuzz() {
        previous_dir_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_.path());
        // No server answers there: a login fails at once.
        for (const char* name : {"VALES_SERVIDOR_LOCAL", "VALES_SERVIDOR_REMOTO"}) {
            if (const char* value = std::getenv(name)) saved_environment_[name] = value;
            setenv(name, "127.0.0.1:1", 1);
        }
        previous_sesion_ = datos::install_sesion(&sesion_);
    }
    ~KeyFuzz() override {
        datos::install_sesion(previous_sesion_);
        std::filesystem::current_path(previous_dir_);
        for (const char* name : {"VALES_SERVIDOR_LOCAL", "VALES_SERVIDOR_REMOTO"}) {
            auto saved = saved_environment_.find(name);
            if (saved == saved_environment_.end())
                unsetenv(name);
            else
                setenv(name, saved->second.c_str(), 1);
        }
    }

    testing_support::TempFolder folder_;
    testing_support::ScratchStore store_;
    datos::Sesion sesion_;

  private:
    std::filesystem::path previous_dir_;
    std::map<std::string, std::string> saved_environment_;
    datos::Sesion* previous_sesion_;
};

TEST_F(KeyFuzz, RandomKeysThroughTheWholeProgram) {
    const long keys = from_environment("VALES_FUZZ_KEYS", 30'000);
    const auto seed = static_cast<std::uint32_t>(from_environment("VALES_FUZZ_SEED", 20261208));
    fuzz::FuzzTerminal term(seed, keys);
    rt::Console console(term);
    rt::Console* previous_console = rt::install_console(&console);
    Program program(store_.connection());
    const vales::Operaciones ops = program.operations();
    console.set_key_handler(fuzz::kProbe, [&](const std::string& proc, int, const std::string&) {
        if (proc != "MAIN") return;
        check_main_menu(console.grid(), term);
        term.at_home();
    });

    const auto started = std::chrono::steady_clock::now();
    long runs = 0;
    std::string failure;
    try {
        for (;;) {
            ++runs;
            vales::MAIN(ops);  // left through the exit question: start again
        }
    } catch (const rt::ScriptExhausted&) {
    } catch (const fuzz::FuzzFailure& e) {
        failure = e.what();
    }
    rt::install_console(previous_console);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    ASSERT_EQ(failure, "") << "seed " << seed << ", after " << term.figures().keys << " keys";
    const fuzz::Figures& f = term.figures();
    std::printf(
        "keys %ld (decoded %ld, pasted %ld; %ld raw bytes), timed waits run out %ld, "
        "program starts %ld, homings %ld (longest %ld keys), %.1f s\n",
        f.keys, f.decoded, f.pasted, f.bytes, f.timeouts, runs, f.homings, f.longest_homing,
        seconds);
    for (const auto& [name, count] : program.visits)
        std::printf("  %s: %ld\n", name.c_str(), count);
    EXPECT_GE(f.keys, keys);
    EXPECT_GT(f.homings, keys / 2000);
    if (keys >= 20'000) {  // long enough to reach every part
        for (const char* name : {"login", "logout", "form", "pick list", "browser", "download",
                                 "memo", "print", "printed"})
            EXPECT_GT(program.visits[name], 0) << name;
        EXPECT_GT(runs, 1);
        EXPECT_GT(f.pasted, 0);
    }
}

}  // namespace
