#include "vales/fuera_de_linea/DatosDesde_Servidor.h"

#include <string>
#include <string_view>

#include "datos/descarga.h"
#include "datos/empresa_local.h"
#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/lists/alert.h"
#include "runtime/offline/todbc.h"
#include "runtime/screen/console.h"
#include "ui/resguardo.h"
#include "ui/rutinas2.h"
#include "vales/fuera_de_linea/empresa_local.h"

namespace vales {
namespace {

constexpr int kColumnaMarca = 50;

void no_se_pueden_leer(datos::TablaMaestra t, const std::string& error) {
    ui::MSGBOX("No se pueden leer datos de servidor: " + cp::ansi_to_oem(datos::nombre_de(t)));
    rt::alert("Error: " + cp::ansi_to_oem(error));
}

// What the user learns of a copy that failed; the local table kept its previous rows unless
// it is said to be perhaps incomplete.
void informar_fallo(datos::TablaMaestra t, const datos::Copia& copia) {
    const cp::Oem nombre = cp::ansi_to_oem(datos::nombre_de(t));
    if (copia.estado == datos::Copia::local_fallida) {
        ui::MSGBOX("No se pueden grabar datos en la base local: " + nombre);
        // The store's own text already reads "Error <state> - <message>".
        rt::alert(copia.error.empty() ? cp::Oem("Error: base de datos local no disponible")
                                      : cp::ansi_to_oem(copia.error));
    } else {
        no_se_pueden_leer(t, copia.error);
    }
    if (!copia.intacta)
        ui::MSGBOX("La tabla local " + nombre + " puede haber quedado incompleta: repita la copia");
}

// The copy routines: true when the server read succeeded and the local table now holds
// every server row. The mark "OK" or "no" goes at `fila`, `col`.
bool copiar(rt::TODBC& RS, datos::TablaMaestra t, int fila, int col, std::string_view colour) {
    datos::AvanceCopia avance;
    avance.al_comenzar = [](long filas) {
        ui::MSG("Procesando " + cp::Oem(std::to_string(filas)) + " registros");
    };
    avance.por_fila = [&] { ui::MOLINO(fila, col, colour); };
    const datos::Copia copia = datos::copiar_tabla(*datos::ses().OSERVER, RS, t, avance);
    const bool copiada = copia.estado == datos::Copia::copiada;
    if (!copiada) informar_fallo(t, copia);
    rt::con().write_at(fila, col, copiada ? cp::OemView("OK") : cp::OemView("no"), colour);
    return copiada;
}

using datos::TablaMaestra;
bool OBTENER_PRODVTAS(rt::TODBC& RS, int fila, int col, std::string_view colour) {
    return copiar(RS, TablaMaestra::productos, fila, col, colour);
}
bool OBTENER_FORMULAS(rt::TODBC& RS, int fila, int col, std::string_view colour) {
    return copiar(RS, TablaMaestra::formulas, fila, col, colour);
}
bool OBTENER_ACTIVIDADES(rt::TODBC& RS, int fila, int col, std::string_view colour) {
    return copiar(RS, TablaMaestra::actividades, fila, col, colour);
}
bool OBTENER_ESPECIFICACIONES(rt::TODBC& RS, int fila, int col, std::string_view colour) {
    return copiar(RS, TablaMaestra::especificaciones, fila, col, colour);
}
bool OBTENER_OPERARIOS(rt::TODBC& RS, int fila, int col, std::string_view colour) {
    return copiar(RS, TablaMaestra::operarios, fila, col, colour);
}
bool OBTENER_BODEGAS(rt::TODBC& RS, int fila, int col, std::string_view colour) {
    return copiar(RS, TablaMaestra::bodegas, fila, col, colour);
}

using Rutina = bool (*)(rt::TODBC&, int, int, std::string_view);
struct Entrada {
    Rutina rutina;
    int fila;
};
// Menu entries 2 to 7, in menu order (also the order of " TODOS"), with the row of their
// OK/no mark.
const Entrada kRutinas[] = {
    {OBTENER_PRODVTAS, 15},         {OBTENER_FORMULAS, 16},  {OBTENER_ACTIVIDADES, 17},
    {OBTENER_ESPECIFICACIONES, 18}, {OBTENER_OPERARIOS, 19}, {OBTENER_BODEGAS, 20},
};

void CUENTAREGISTROS(rt::TODBC& RS) {
    struct Cuenta {
        const char* tabla;
        const char* etiqueta;
    };
    static const Cuenta kCuentas[] = {
        {"prodvtas", "productos: "},  {"formulas", "formulas: "},
        {"prodcmp", "actividades: "}, {"unidmed", "especificaciones: "},
        {"operario", "operarios: "},  {"bodegas", "bodegas: "},
    };
    cp::Oem texto("Registros;base de datos local;;");
    for (const Cuenta& k : kCuentas) {
        const auto filas = datos::filas_locales(RS, k.tabla);
        if (!filas) {
            ui::MSGBOX("No se puede leer " + cp::ansi_to_oem(rt::upper(k.tabla)));
            continue;
        }
        texto += cp::ansi_to_oem(k.etiqueta + std::to_string(*filas) + ";");
    }
    rt::alert(texto);
}

int menu(int& opcion) {
    rt::Console& c = rt::con();
    ui::MSG("[\x18] [\x19]   Seleccione archivo a procesar");
    ui::BOX(12, 30, 25, 52, "g/n");
    const cp::OemView entradas[] = {
        " TODOS",
        "",
        " Productos",
        " Formulas",
        " Actividades",
        " Especificaciones",
        " Operarios",
        " Bodegas",
        "",
        " Contar Registros",
        "",
        " Salir",
    };
    int fila = 13;
    for (const cp::OemView e : entradas) {
        if (!e.empty()) {
            c.prompt(fila, 31, cp::Oem(e).padded(21));
        } else {
            ui::DISPLINEA(fila, 30, 52, "g/n");
        }
        ++fila;
    }
    return c.menu_to(rt::bind(opcion), "nOpcion", "DATOSDESDE_SERVIDOR");
}

}  // namespace

void DATOSDESDE_SERVIDOR() {
    DATOSDESDE_SERVIDOR(rt::offline_connection_string());
}

void DATOSDESDE_SERVIDOR(const std::string& conexion_local) {
    rt::TODBC RS(conexion_local);
    DATOSDESDE_SERVIDOR(RS);
}

void DATOSDESDE_SERVIDOR(rt::TODBC& RS) {
    ui::Resguardo resguardo("+g/n,+w/g");
    if (!datos::ses().LCONECTADO || !datos::ses().OSERVER) {
        ui::MSGBOX("No existe conexión con el servidor"_oem);
    } else if (descarga_de_la_empresa_de_la_sesion(RS)) {
        int opcion = 1;
        for (;;) {
            const int elegida = menu(opcion);
            if (elegida == 0 || elegida == 9) break;
            // The store's data is now (at least in part) the session's company's.
            bool copiada = false;
            if (elegida == 1) {
                for (const Entrada& e : kRutinas)
                    copiada = e.rutina(RS, e.fila, kColumnaMarca, "+gr/n") || copiada;
            } else if (elegida >= 2 && elegida <= 7) {
                const Entrada& e = kRutinas[elegida - 2];
                copiada = e.rutina(RS, e.fila, kColumnaMarca, "+gr/g");
            }
            if (copiada) datos::registrar_empresa_local(RS, datos::ses().COD_EMPRESA);
            if (elegida >= 1 && elegida <= 7) {
                ui::MSGBOX("Proceso terminado");
            } else if (elegida == 8) {
                CUENTAREGISTROS(RS);
            }
        }
        RS.Close();
    }
}

}  // namespace vales
