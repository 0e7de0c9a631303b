#include "vales/operaciones.h"

#include <langinfo.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "abm/productos_anterior.h"
#include "datos/servidores.h"
#include "runtime/common/codepage.h"
#include "runtime/server/tmysql.h"
#include "runtime/worktables/workspace.h"
#include "vales/en_linea/vales_ingreso_on_line.h"
#include "vales/fuera_de_linea/DatosDesde_Servidor.h"
#include "vales/fuera_de_linea/DatosHacia_Servidor.h"
#include "vales/fuera_de_linea/lista_ingresos.h"
#include "vales/fuera_de_linea/vales_ingreso_off_line.h"
#include "vales/imprimir/print_vales.h"
#include "vales/vales_login.h"

namespace vales {
namespace {

// UTF-8, shown as it is on a UTF-8 terminal and in plain letters elsewhere.
const char* const kAyuda =
    "Uso: vales [opciones]\n"
    "\n"
    "Registro de vales de producción en una consola de 100 columnas por 36 filas.\n"
    "\n"
    "Opciones:\n"
    "  --servidor-local HOST[:PUERTO]    servidor de la red local (por omisión 127.0.0.1;\n"
    "                                    también VALES_SERVIDOR_LOCAL en el entorno)\n"
    "  --servidor-remoto HOST[:PUERTO]   servidor remoto (por omisión 127.0.0.1:3307;\n"
    "                                    también VALES_SERVIDOR_REMOTO en el entorno)\n"
    "  --usuario-servidor NOMBRE         cuenta del servidor con que se conecta el programa\n"
    "                                    (por omisión root; también VALES_USUARIO_SERVIDOR)\n"
    "  --clave-servidor-archivo ARCHIVO  clave de esa cuenta: la primera línea del archivo\n"
    "                                    (también VALES_CLAVE_SERVIDOR_ARCHIVO en el entorno,\n"
    "                                    o la clave misma en VALES_CLAVE_SERVIDOR)\n"
    "  --clave-supervisor-archivo ARCHIVO\n"
    "                                    clave del supervisor: un hash de crypt(3) en la\n"
    "                                    primera línea del archivo, legible solo por su dueño\n"
    "                                    (también VALES_CLAVE_SUPERVISOR_ARCHIVO en el entorno,\n"
    "                                    o la clave misma en VALES_CLAVE_SUPERVISOR)\n"
    "  --comprobar-almacen               crea (si falta) y abre el almacén fuera de línea\n"
    "                                    datos/vales.mdb de la carpeta de trabajo, con sus\n"
    "                                    funciones SQL, y termina: 0 si se puede usar, 1 si no\n"
    "  --preparar-servidor               agrega a cada base de datos de empresa del servidor\n"
    "                                    local el registro de vales grabados (tabla\n"
    "                                    vales_identidad, que evita grabar un vale dos veces)\n"
    "                                    y termina; la cuenta del servidor debe poder crear\n"
    "                                    tablas. Una vez por servidor, por un administrador\n"
    "  --productos-anterior CARPETA      carpeta de la tabla de productos del sistema anterior\n"
    "                                    (prodvtas.dbf), donde se copian los costos; por\n"
    "                                    omisión produc/arti007 bajo la carpeta de trabajo\n"
    "                                    (también VALES_PRODUCTOS_ANTERIOR en el entorno)\n"
    "  -h, --help                        muestra esta ayuda y termina\n"
    "  --version                         muestra la versión del programa y termina\n"
    "\n"
    "El puerto por omisión es 3306. La línea de comandos prevalece sobre el entorno.\n"
    "La clave nunca va en la línea de comandos, que cualquier usuario del equipo puede ver;\n"
    "el archivo de la clave debe poder leerlo solo quien ejecuta el programa.\n";

// The terminal's character set, as the user's locale names it.
bool terminal_utf8() {
    const std::string antes = std::setlocale(LC_CTYPE, nullptr);
    std::setlocale(LC_CTYPE, "");
    const bool utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    std::setlocale(LC_CTYPE, antes.c_str());
    return utf8;
}

// A text of the program for the terminal (stdout, stderr): plain letters where it cannot
// show accents.
std::string para_terminal(std::string_view utf8) {
    return terminal_utf8() ? std::string(utf8) : cp::utf8_to_ascii(utf8);
}

// What an option needs after it, and the variable that keeps it for the program.
struct OpcionConValor {
    const char* nombre;
    const char* variable;
    const char* necesita;  // the error when the value is missing or not valid
    bool (*valido)(const char* valor);
};

bool es_direccion(const char* valor) {
    return rt::parse_mysql_address(valor).has_value();
}
bool es_nombre(const char* valor) {
    return *valor != '\0';
}
bool es_archivo_legible(const char* valor) {
    return datos::leer_clave_de_archivo(valor).has_value();
}

const OpcionConValor kOpciones[] = {
    {"--servidor-local", datos::VAR_SERVIDOR_LOCAL, "una direccion HOST[:PUERTO]", es_direccion},
    {"--servidor-remoto", datos::VAR_SERVIDOR_REMOTO, "una direccion HOST[:PUERTO]", es_direccion},
    {"--usuario-servidor", datos::VAR_USUARIO_SERVIDOR, "un nombre de usuario", es_nombre},
    {"--clave-servidor-archivo", datos::VAR_CLAVE_SERVIDOR_ARCHIVO,
     "un archivo legible con la clave", es_archivo_legible},
    {"--clave-supervisor-archivo", datos::VAR_CLAVE_SUPERVISOR_ARCHIVO,
     "un archivo legible con el hash de la clave", es_archivo_legible},
    {"--productos-anterior", abm::VAR_PRODUCTOS_ANTERIOR, "una carpeta", es_nombre},
};

}  // namespace

bool leer_opciones(int argc, char** argv, Opciones& opciones) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(para_terminal(kAyuda).c_str(), stdout);
            opciones.salida = 0;
            return false;
        }
        if (arg == "--version") {
            std::printf("vales %s\n", VALES_VERSION);
            opciones.salida = 0;
            return false;
        }
        if (arg == "--comprobar-almacen") {
            opciones.comprobar_almacen = true;
            continue;
        }
        if (arg == "--preparar-servidor") {
            opciones.preparar_servidor = true;
            continue;
        }
        const OpcionConValor* opcion = nullptr;
        for (const auto& o : kOpciones) {
            if (arg == o.nombre) opcion = &o;
        }
        if (opcion && i + 1 < argc && opcion->valido(argv[i + 1])) {
            setenv(opcion->variable, argv[++i], 1);
            continue;
        }
        if (opcion) {
            std::fprintf(stderr, "vales: %s necesita %s\n", arg.c_str(), opcion->necesita);
            opciones.salida = 2;
            return false;
        }
        std::fprintf(stderr, "%s",
                     para_terminal("vales: opción desconocida: " + arg + "\n" + kAyuda).c_str());
        opciones.salida = 2;
        return false;
    }
    // A password file named in the environment must be readable too: better said now than
    // as a refused connection at the first login.
    const char* archivo = std::getenv(datos::VAR_CLAVE_SERVIDOR_ARCHIVO);
    if (archivo && *archivo && !es_archivo_legible(archivo)) {
        std::fprintf(stderr, "vales: no se puede leer la clave del servidor en %s (%s)\n", archivo,
                     datos::VAR_CLAVE_SERVIDOR_ARCHIVO);
        opciones.salida = 2;
        return false;
    }
    return true;
}

Operaciones operaciones_del_programa() {
    Operaciones op;
    op.CONECTARSERVIDOR = CONECTARSERVIDOR;
    op.DESCONECTARSERVIDOR = DESCONECTARSERVIDOR;
    op.VALES_INGRESO_ON_LINE = VALES_INGRESO_ON_LINE;
    op.VALES_INGRESO_OFF_LINE = [] { VALES_INGRESO_OFF_LINE(); };
    op.LISTA_INGRESOS = [] { LISTA_INGRESOS(); };
    op.DATOSDESDE_SERVIDOR = [] { DATOSDESDE_SERVIDOR(); };
    op.DATOSHACIA_SERVIDOR = [] { DATOSHACIA_SERVIDOR(); };
    op.IMPRIMIRVALES = IMPRIMIRVALES;
    op.cerrar_tablas = [] {
        rt::wt::workspace().close_all();
        rt::wt::workspace().select(1);
    };
    return op;
}

}  // namespace vales
