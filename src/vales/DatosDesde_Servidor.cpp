#include "vales/DatosDesde_Servidor.h"

#include <string>
#include <string_view>

#include "abm/rutinas2.h"
#include "comun/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/lists/alert.h"
#include "runtime/offline/todbc.h"
#include "runtime/screen/console.h"
#include "runtime/server/tmysql.h"

namespace vales {
namespace {

constexpr int kColumnaMarca = 50;

// Value texts of the local inserts. Text values keep their bytes (accents, trailing blanks);
// a quote inside one is doubled so that a name such as O'Higgins is copied as it stands.
std::string T(const TMySQLRow& row, std::string_view column) {
    return std::string("'") + rt::mdb_quote(row.FieldGet(column).text()) + "'";
}
std::string TT(const TMySQLRow& row, std::string_view column) {
    return std::string("'") + rt::mdb_quote(rt::trim(row.FieldGet(column).text())) + "'";
}
std::string N(const TMySQLRow& row, std::string_view column) {
    return rt::mdb_number(row.FieldGet(column).number());
}
std::string L(const TMySQLRow& row, std::string_view column, const char* no) {
    return row.FieldGet(column).logical() ? "true" : no;
}

std::string insert_prodvtas(const TMySQLRow& r) {
    return "insert into prodvtas (codi_prod, desc_prod, codi_form, desc_form, l_vigente, "
           "l_activo) Values(" +
           T(r, "codi_prod") + ", " + TT(r, "desc_prod") + ", " + T(r, "codi_form") + ", " +
           TT(r, "desc_form") + ", " + L(r, "l_vigente", "False") + ", " +
           L(r, "l_activo", "False") + ")";
}
std::string insert_formulas(const TMySQLRow& r) {
    return "insert into formulas (prd_sale,prd_buy,tipo_prd,consumo,codi_form) Values(" +
           T(r, "prd_sale") + ", " + T(r, "prd_buy") + ", " + T(r, "tipo_prd") + ", " +
           N(r, "consumo") + ", " + T(r, "codi_form") + " )";
}
std::string insert_prodcmp(const TMySQLRow& r) {
    return "insert into prodcmp (codi_prod, desc_prod, unid_med) Values(" + T(r, "codi_prod") +
           ", " + T(r, "desc_prod") + ", " + T(r, "unid_med") + " )";
}
std::string insert_unidmed(const TMySQLRow& r) {
    return "insert into unidmed (codi_prod, codi_unid, desc_unid) Values(" + T(r, "codi_prod") +
           ", " + T(r, "codi_unid") + ", " + T(r, "desc_unid") + " )";
}
std::string insert_operario(const TMySQLRow& r) {
    return "insert into operario (codi_oper, nom_oper, codi_grupo, ope_activo, rut, "
           "digito_verif) Values(" +
           N(r, "codi_oper") + ", " + T(r, "nom_oper") + ", " + T(r, "codi_grupo") + ", " +
           L(r, "ope_activo", "false") + ", " + T(r, "rut") + ", " + T(r, "digito_verif") + " )";
}
std::string insert_bodegas(const TMySQLRow& r) {
    return "insert into bodegas (numero_bod,nombre_bod) Values(" + N(r, "numero_bod") + ", " +
           TT(r, "nombre_bod") + " )";
}

// One master-data table: where it is read, where it goes, how a row is written.
struct Copia {
    const char* nombre;  // in the failure messages
    const char* tabla;   // the local table
    const char* consulta;
    std::string (*insert)(const TMySQLRow&);
    int fila;  // row of the OK/no mark
};

const Copia kProdvtas = {
    "PRODVTAS", "prodvtas",
    "select codi_prod, desc_prod, codi_form, desc_form, l_vigente, l_activo from prodvtas where "
    "l_activo=true",
    insert_prodvtas, 15};
const Copia kFormulas = {"FORMULAS", "formulas",
                         "select prd_sale,prd_buy,tipo_prd,consumo,codi_form from formulas where "
                         "tipo_prd='I' and left(prd_buy,1)='9'",
                         insert_formulas, 16};
const Copia kProdcmp = {"PRODCMP", "prodcmp",
                        "select codi_prod, desc_prod, unid_med from prodcmp where "
                        "left(codi_prod,1)='9'",
                        insert_prodcmp, 17};
const Copia kUnidmed = {"UNIDMED", "unidmed",
                        "select codi_prod, codi_unid, desc_unid from unidmed where "
                        "left(codi_prod,1)='9'",
                        insert_unidmed, 18};
const Copia kOperario = {
    "OPERARIO", "operario",
    "select codi_oper, nom_oper, codi_grupo, ope_activo, rut, digito_verif from operario ",
    insert_operario, 19};
const Copia kBodegas = {"BODEGAS", "bodegas", "select numero_bod, nombre_bod, l_vales from bodegas",
                        insert_bodegas, 20};

// A statement on the store that cannot fail silently: the copy stops at the first one.
bool ejecutar(rt::TODBC& RS, const std::string& sql) {
    RS.SetSQL(sql);
    return RS.Open();
}

// Gives up the table's copy: whatever was deleted or inserted is undone, so the local table
// keeps its previous rows, and the user learns why.
bool abandonar(rt::TODBC& RS, const Copia& t) {
    const std::string causa = RS.SQLErrorMessage();
    RS.Close();
    RS.RollbackTransaction();
    abm::MSGBOX("No se pueden grabar datos en la base local: " + cp::ansi_to_oem(t.nombre));
    // The store's own text already reads "Error <state> - <message>".
    rt::alert(causa.empty() ? cp::Oem("Error: base de datos local no disponible")
                            : cp::ansi_to_oem(causa));
    return false;
}

// Replaces the local table with the rows of `q`, all or nothing.
bool reemplazar(rt::TODBC& RS, const Copia& t, TMySQLQuery& q, int fila, int col,
                std::string_view colour) {
    if (!RS.BeginTransaction()) return abandonar(RS, t);
    if (!ejecutar(RS, std::string("delete from ") + t.tabla)) return abandonar(RS, t);
    abm::MSG("Procesando " + cp::Oem(std::to_string(q.LastRec())) + " registros");
    for (long n = 1; n <= q.LastRec(); ++n) {
        const auto row = q.GetRow(n);
        if (!row || !ejecutar(RS, t.insert(*row))) return abandonar(RS, t);
        abm::MOLINO(fila, col, colour);
    }
    RS.Close();
    if (!RS.CommitTransaction()) return abandonar(RS, t);
    return true;
}

// The copy routines: true when the server read succeeded and the local table now holds
// every server row.
bool copiar(rt::TODBC& RS, const Copia& t, int fila, int col, std::string_view colour) {
    bool result = false;
    rt::TMySQLServer& srv = *ses().OSERVER;
    TMySQLQuery q = srv.Query(t.consulta);
    if (q.NetErr()) {
        abm::MSGBOX("No se pueden leer datos de servidor: " + cp::ansi_to_oem(t.nombre));
        rt::alert("Error: " + cp::ansi_to_oem(srv.Error()));
    } else {
        result = reemplazar(RS, t, q, fila, col, colour);
        q.Destroy();
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
            abm::MSGBOX("No se puede leer " + cp::ansi_to_oem(rt::upper(k.tabla)));
            continue;
        }
        texto += cp::ansi_to_oem(k.etiqueta + rt::trim(RS.FieldValue("cantidad")) + ";");
    }
    RS.Close();
    rt::alert(texto);
}

int menu(int& opcion) {
    rt::Console& c = rt::con();
    abm::MSG("[\x18] [\x19]   Seleccione archivo a procesar");
    abm::BOX(12, 30, 25, 52, "g/n");
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
            abm::DISPLINEA(fila, 30, 52, "g/n");
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
    rt::Console& c = rt::con();
    const rt::SavedScreen pantalla = c.save_screen();
    const std::string colour = c.set_colour("+g/n,+w/g");
    if (!ses().LCONECTADO || !ses().OSERVER) {
        abm::MSGBOX("No existe conexión con el servidor"_oem);
    } else {
        rt::TODBC RS(conexion_local);
        int opcion = 1;
        for (;;) {
            const int elegida = menu(opcion);
            if (elegida == 0 || elegida == 9) break;
            if (elegida == 1) {
                for (const Entrada& e : kRutinas) e.rutina(RS, e.fila, kColumnaMarca, "+gr/n");
                abm::MSGBOX("Proceso terminado");
            } else if (elegida >= 2 && elegida <= 7) {
                const Entrada& e = kRutinas[elegida - 2];
                e.rutina(RS, e.fila, kColumnaMarca, "+gr/g");
                abm::MSGBOX("Proceso terminado");
            } else if (elegida == 8) {
                CUENTAREGISTROS(RS);
            }
        }
        RS.Close();
    }
    c.restore_screen(pantalla);
    c.set_colour(colour);
}

}  // namespace vales
