#include "vales/fuera_de_linea/DatosDesde_Servidor.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "datos/almacen.h"
#include "datos/empresa_local.h"
#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/lists/alert.h"
#include "runtime/offline/todbc.h"
#include "runtime/offline/todbc_statement.h"
#include "runtime/screen/console.h"
#include "runtime/server/mysql_row_stream.h"
#include "runtime/server/tmysql.h"
#include "ui/resguardo.h"
#include "ui/rutinas2.h"
#include "vales/fuera_de_linea/empresa_local.h"

namespace vales {
namespace {

using datos::ejecutar;

constexpr int kColumnaMarca = 50;

// How a server value is written into the local copy: as it comes (codes keep their width and
// trailing blanks, names their padding), with its surrounding blanks removed, as a number's
// decimal text, or as Yes/No. Every value is bound to the insert as a parameter, so a name
// with quotes, NUL or escape bytes is copied byte for byte.
enum class Forma { Texto, Recortado, Numero, SiNo };

struct Columna {
    const char* nombre;  // in the server's select
    Forma forma;
};

// One master-data table: where it is read, where it goes, how a row is written.
struct Copia {
    const char* nombre;             // in the failure messages
    const char* tabla;              // the local table
    const char* consulta;           // on the server
    const char* insercion;          // the local insert, up to its column list
    std::vector<Columna> columnas;  // in the order of that list
    int fila;                       // row of the OK/no mark
};

using enum Forma;
const Copia kProdvtas = {
    "PRODVTAS",
    "prodvtas",
    "select codi_prod, desc_prod, codi_form, desc_form, l_vigente, l_activo from prodvtas where "
    "l_activo=true",
    "insert into prodvtas (codi_prod, desc_prod, codi_form, desc_form, l_vigente, l_activo)",
    {{"codi_prod", Texto},
     {"desc_prod", Recortado},
     {"codi_form", Texto},
     {"desc_form", Recortado},
     {"l_vigente", SiNo},
     {"l_activo", SiNo}},
    15};
const Copia kFormulas = {
    "FORMULAS",
    "formulas",
    "select prd_sale,prd_buy,tipo_prd,consumo,codi_form from formulas where tipo_prd='I' and "
    "left(prd_buy,1)='9'",
    "insert into formulas (prd_sale,prd_buy,tipo_prd,consumo,codi_form)",
    {{"prd_sale", Texto},
     {"prd_buy", Texto},
     {"tipo_prd", Texto},
     {"consumo", Numero},
     {"codi_form", Texto}},
    16};
const Copia kProdcmp = {
    "PRODCMP",
    "prodcmp",
    "select codi_prod, desc_prod, unid_med from prodcmp where left(codi_prod,1)='9'",
    "insert into prodcmp (codi_prod, desc_prod, unid_med)",
    {{"codi_prod", Texto}, {"desc_prod", Texto}, {"unid_med", Texto}},
    17};
const Copia kUnidmed = {
    "UNIDMED",
    "unidmed",
    "select codi_prod, codi_unid, desc_unid from unidmed where left(codi_prod,1)='9'",
    "insert into unidmed (codi_prod, codi_unid, desc_unid)",
    {{"codi_prod", Texto}, {"codi_unid", Texto}, {"desc_unid", Texto}},
    18};
const Copia kOperario = {
    "OPERARIO",
    "operario",
    "select codi_oper, nom_oper, codi_grupo, ope_activo, rut, digito_verif from operario ",
    "insert into operario (codi_oper, nom_oper, codi_grupo, ope_activo, rut, digito_verif)",
    {{"codi_oper", Numero},
     {"nom_oper", Texto},
     {"codi_grupo", Texto},
     {"ope_activo", SiNo},
     {"rut", Texto},
     {"digito_verif", Texto}},
    19};
const Copia kBodegas = {"BODEGAS",
                        "bodegas",
                        "select numero_bod, nombre_bod, l_vales from bodegas",
                        "insert into bodegas (numero_bod,nombre_bod)",
                        {{"numero_bod", Numero}, {"nombre_bod", Recortado}},
                        20};

// The server rows of one copy: counted first, then read one at a time as they arrive, both
// inside one read-only snapshot, so that the count shown is the number of rows copied and a
// table of any size goes through without being held in memory.
class LecturaServidor {
  public:
    LecturaServidor(rt::TMySQLServer& srv, const std::string& consulta) : srv_(srv) {
        en_transaccion_ = abrir_instantanea();
        auto cuenta = srv_.Query("select count(*) as cantidad from (" + consulta + ") as filas");
        if (cuenta.NetErr()) return;
        total_ = static_cast<long>(cuenta.FieldGet(1).number());
        filas_.emplace(srv_, consulta);
    }
    ~LecturaServidor() {
        filas_.reset();  // rows left unread are drained from the connection first
        // Ending a read-only snapshot cannot lose anything: a failure here is no failure of
        // the copy, and must not stay on the connection for the next operation to find.
        if (en_transaccion_ && srv_.Query("commit").NetErr()) srv_.Error();
    }
    LecturaServidor(const LecturaServidor&) = delete;
    LecturaServidor& operator=(const LecturaServidor&) = delete;

    bool NetErr() const { return !filas_ || filas_->NetErr(); }
    long total() const { return total_; }
    rt::MySQLRowStream& filas() { return *filas_; }

  private:
    // A server without read-only transactions (or one that refuses a transaction here) is
    // still read, without the snapshot: the count shown may then miss rows that change
    // meanwhile, but the copy itself is the same.
    bool abrir_instantanea() {
        for (const char* sql : {"start transaction with consistent snapshot, read only",
                                "start transaction with consistent snapshot"}) {
            if (!srv_.Query(sql).NetErr()) return true;
        }
        srv_.Error();  // the refusal is no failure of the copy
        return false;
    }

    rt::TMySQLServer& srv_;
    bool en_transaccion_ = false;
    long total_ = 0;
    std::optional<rt::MySQLRowStream> filas_;
};

void valor(const rt::MySQLRowStream& filas, int posicion, Forma forma, std::string& out) {
    const rt::MySQLValue v = filas.FieldGet(posicion);
    switch (forma) {
        case Texto:
            out = v.text();
            break;
        case Recortado:
            out = rt::trim(v.text());
            break;
        case Numero:
            out = rt::mdb_number(v.number());
            break;
        case SiNo:
            out.assign(1, v.logical() ? '1' : '0');
            break;
    }
}

// Rows of a local table; -1 when they cannot be counted.
long filas_locales(rt::TODBC& RS, const char* tabla) {
    if (!ejecutar(RS, std::string("select count(*) as cantidad from ") + tabla)) return -1;
    const long n = static_cast<long>(rt::store_number(RS.FieldValue("cantidad")));
    RS.Close();
    return n;
}

void no_se_pueden_leer(rt::TMySQLServer& srv, const Copia& t) {
    ui::MSGBOX("No se pueden leer datos de servidor: " + cp::ansi_to_oem(t.nombre));
    rt::alert("Error: " + cp::ansi_to_oem(srv.Error()));
}

// Undoes the table's copy (the delete and every insert). True when the local table is known
// to hold again the `antes` rows it had before the copy began.
bool deshacer(rt::TODBC& RS, const Copia& t, long antes) {
    RS.Close();
    if (!RS.InTransaction()) return true;  // nothing was begun
    const bool deshecha = RS.RollbackTransaction();
    return antes < 0 || (deshecha && filas_locales(RS, t.tabla) == antes);
}

void avisar_si_incompleta(bool intacta, const Copia& t) {
    if (!intacta) {
        ui::MSGBOX("La tabla local " + cp::ansi_to_oem(t.nombre) +
                   " puede haber quedado incompleta: repita la copia");
    }
}

// Gives up the table's copy after a failure of the store: the local table keeps its previous
// rows, and the user learns why.
bool abandonar(rt::TODBC& RS, const Copia& t, long antes) {
    const std::string causa = RS.SQLErrorMessage();
    const bool intacta = deshacer(RS, t, antes);
    ui::MSGBOX("No se pueden grabar datos en la base local: " + cp::ansi_to_oem(t.nombre));
    // The store's own text already reads "Error <state> - <message>".
    rt::alert(causa.empty() ? cp::Oem("Error: base de datos local no disponible")
                            : cp::ansi_to_oem(causa));
    avisar_si_incompleta(intacta, t);
    return false;
}

// The same when the server stops sending rows in the middle of the copy.
bool abandonar_lectura(rt::TODBC& RS, const Copia& t, long antes) {
    const bool intacta = deshacer(RS, t, antes);
    no_se_pueden_leer(*datos::ses().OSERVER, t);
    avisar_si_incompleta(intacta, t);
    return false;
}

// Replaces the local table with the server's rows, all or nothing.
bool reemplazar(rt::TODBC& RS, const Copia& t, LecturaServidor& lectura, int fila, int col,
                std::string_view colour) {
    if (!RS.BeginTransaction()) return abandonar(RS, t, -1);
    const long antes = filas_locales(RS, t.tabla);
    if (antes < 0 || !ejecutar(RS, std::string("delete from ") + t.tabla)) {
        return abandonar(RS, t, antes);
    }
    ui::MSG("Procesando " + cp::Oem(std::to_string(lectura.total())) + " registros");
    rt::MySQLRowStream& filas = lectura.filas();
    const std::size_t n = t.columnas.size();
    std::vector<int> posiciones(n);
    for (std::size_t i = 0; i < n; ++i) posiciones[i] = filas.FieldPos(t.columnas[i].nombre);
    std::vector<std::string> valores(n);
    std::vector<std::string_view> fila_local(n);
    rt::TODBCBulkInsert insercion(RS, t.insercion, static_cast<int>(n));
    if (!insercion.Prepared()) return abandonar(RS, t, antes);
    while (filas.Next()) {
        for (std::size_t i = 0; i < n; ++i) {
            valor(filas, posiciones[i], t.columnas[i].forma, valores[i]);
            fila_local[i] = valores[i];
        }
        if (!insercion.Add(fila_local)) return abandonar(RS, t, antes);
        ui::MOLINO(fila, col, colour);
    }
    if (filas.NetErr()) return abandonar_lectura(RS, t, antes);
    if (!insercion.Flush() || !RS.CommitTransaction()) return abandonar(RS, t, antes);
    return true;
}

// The copy routines: true when the server read succeeded and the local table now holds
// every server row.
bool copiar(rt::TODBC& RS, const Copia& t, int fila, int col, std::string_view colour) {
    rt::TMySQLServer& srv = *datos::ses().OSERVER;
    bool result = false;
    {
        LecturaServidor lectura(srv, t.consulta);
        if (lectura.NetErr()) {
            no_se_pueden_leer(srv, t);
        } else {
            result = reemplazar(RS, t, lectura, fila, col, colour);
        }
    }
    rt::con().write_at(fila, col, result ? cp::OemView("OK") : cp::OemView("no"), colour);
    return result;
}

bool OBTENER_PRODVTAS(rt::TODBC& RS, int fila, int col, std::string_view colour) {
    return copiar(RS, kProdvtas, fila, col, colour);
}
bool OBTENER_FORMULAS(rt::TODBC& RS, int fila, int col, std::string_view colour) {
    return copiar(RS, kFormulas, fila, col, colour);
}
bool OBTENER_ACTIVIDADES(rt::TODBC& RS, int fila, int col, std::string_view colour) {
    return copiar(RS, kProdcmp, fila, col, colour);
}
bool OBTENER_ESPECIFICACIONES(rt::TODBC& RS, int fila, int col, std::string_view colour) {
    return copiar(RS, kUnidmed, fila, col, colour);
}
bool OBTENER_OPERARIOS(rt::TODBC& RS, int fila, int col, std::string_view colour) {
    return copiar(RS, kOperario, fila, col, colour);
}
bool OBTENER_BODEGAS(rt::TODBC& RS, int fila, int col, std::string_view colour) {
    return copiar(RS, kBodegas, fila, col, colour);
}

using Rutina = bool (*)(rt::TODBC&, int, int, std::string_view);
struct Entrada {
    Rutina rutina;
    int fila;
};
// Menu entries 2 to 7, in menu order (also the order of " TODOS").
const Entrada kRutinas[] = {
    {OBTENER_PRODVTAS, kProdvtas.fila},   {OBTENER_FORMULAS, kFormulas.fila},
    {OBTENER_ACTIVIDADES, kProdcmp.fila}, {OBTENER_ESPECIFICACIONES, kUnidmed.fila},
    {OBTENER_OPERARIOS, kOperario.fila},  {OBTENER_BODEGAS, kBodegas.fila},
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
        if (!ejecutar(RS, std::string("select count(*) as cantidad from ") + k.tabla)) {
            ui::MSGBOX("No se puede leer " + cp::ansi_to_oem(rt::upper(k.tabla)));
            continue;
        }
        texto += cp::ansi_to_oem(k.etiqueta + rt::trim(RS.FieldValue("cantidad")) + ";");
    }
    RS.Close();
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
