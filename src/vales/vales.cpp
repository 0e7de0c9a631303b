#include "vales/vales.h"

#include <sys/stat.h>

#include <ctime>

#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/lists/alert.h"
#include "runtime/offline/environment_failure.h"
#include "runtime/screen/console.h"
#include "runtime/worktables/workspace.h"
#include "ui/rutinas2.h"
#include "ui/rutinas_gui.h"

namespace vales {
namespace {

void apply_settings(rt::Console& c) {
    rt::Settings& s = c.settings();
    s.century = true;
    s.epoch = 1960;
    s.deleted_hidden = true;
    rt::wt::workspace().set_hide_deleted(s.deleted_hidden);
    c.set_cursor_shape(0);
    s.confirm = true;
    s.scoreboard = false;
    s.wrap = true;
    s.language = "ES";
    c.set_title("Zadarer Udive du Ruruzurazo");
    // A store connection that finds no working ODBC says so in two alert boxes.
    rt::set_environment_failure_report([](std::string_view error) {
        rt::alert("SQLAllocEnvironment Error");
        rt::alert(cp::ansi_to_oem(error));
    });
}

void draw_title_lines() {
    const datos::Sesion& s = datos::ses();
    if (s.LCONECTADO) {
        ui::PANTALLA(cp::ansi_to_oem(s.NOM_EMPRESA), "Vales de producción"_oem,
                     "Conectado => " + cp::ansi_to_oem(rt::trim(s.COD_USUARIO)));
    } else {
        ui::PANTALLA(cp::ansi_to_oem(s.configuracion.titulo), "Vales de producción"_oem,
                     "Desconectado");
    }
}

struct Entrada {
    const char* utf8;  // empty for a separator line
};

// Rows 4 to 16 of the menu frame: nine prompts and four separators.
const Entrada kEntradas[] = {
    {" Conectar con Servidor"},
    {" Desconectarse del Servidor"},
    {""},
    {" Ingreso de Vales ON-LINE"},
    {" Ingreso de Vales OFF-LINE"},
    {""},
    {" Lista de ingresos OFF-LINE"},
    {" Obtener base de datos de servidor"},
    {" Enviar datos ingresados al Servidor"},
    {""},
    {" Imprimir vales de producción"},
    {""},
    {" Salir del Sistema"},
};

void dispatch(int opcion, const Operaciones& op) {
    auto run = [](const auto& f) {
        if (f) f();
    };
    switch (opcion) {
        case 1:
            run(op.CONECTARSERVIDOR);
            break;
        case 2:
            run(op.DESCONECTARSERVIDOR);
            break;
        case 3:
            run(op.VALES_INGRESO_ON_LINE);
            break;
        case 4:
            run(op.VALES_INGRESO_OFF_LINE);
            break;
        case 5:
            run(op.LISTA_INGRESOS);
            break;
        case 6:
            run(op.DATOSDESDE_SERVIDOR);
            break;
        case 7:
            run(op.DATOSHACIA_SERVIDOR);
            break;
        case 8:
            run(op.IMPRIMIRVALES);
            break;
        default:
            break;
    }
}

}  // namespace

int menu_principal(int& opcion) {
    rt::Console& c = rt::con();
    c.clear_screen();
    draw_title_lines();
    c.set_colour("w/b,r/w");
    c.fill_box(3, 0, rt::kRows - 1, rt::kCols - 1, "         ");
    ui::MSG("Seleccione opción   -   [Escape] Salir del sistema"_oem, {}, 0, 100, "w/b", "n/w");
    c.set_colour("+g/n,+w/g");
    ui::BOX(3, 1, 17, 40, "g/n");
    for (const Entrada& e : kEntradas) {
        const int row = c.row() + 1;
        if (*e.utf8) {
            c.prompt(row, 2, cp::utf8_to_oem(e.utf8).padded(38));
        } else {
            ui::DISPLINEA(row, 1, 40, "g/n");
        }
    }
    const int result = c.menu_to(rt::bind(opcion), "nOpcion", "MAIN");
    c.set_colour("w/b,r/w");
    return result;
}

void MAIN(const Operaciones& operaciones) {
    rt::Console& c = rt::con();
    const std::string colour_at_start = c.colour_text();
    apply_settings(c);
    c.clear_screen();
    c.set_pos(0, 0);
    ui::OPENWINPROCESO("Dudivur Odezad", "Iniciando sistema...");
    c.inkey(2);
    ui::CLOSEWINPROCESO();
    // What the plant's configuration files could not say, once the screen shows it.
    for (const std::string& aviso : datos::ses().configuracion.avisos)
        ui::MSGBOX(cp::utf8_to_oem(aviso));
    c.set_mode(rt::kRows, rt::kCols);
    c.set_colour("w/b,+w/r,,,+w/b");

    int opcion = 1;
    for (;;) {
        const int result = menu_principal(opcion);
        if ((result == 0 || result == 9) && ui::CONFIRMA("Desea salir del sistema")) break;
        dispatch(result, operaciones);
    }

    if (operaciones.cerrar_tablas) operaciones.cerrar_tablas();
    c.set_cursor_shape(1);
    c.set_colour(colour_at_start);
    c.clear_screen();
    c.set_pos(0, 0);
    c.flush();
}

std::string VERSIONEXE(const std::string& program_path) {
    const std::string path = program_path.empty() ? "/proc/self/exe" : program_path;
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return {};
    std::tm local{};
    localtime_r(&st.st_mtime, &local);
    char text[16];
    std::strftime(text, sizeof text, "%d%m%y_%H%M", &local);
    return text;
}

}  // namespace vales
