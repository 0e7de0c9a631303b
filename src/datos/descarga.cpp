#include "datos/descarga.h"

#include <string_view>
#include <vector>

#include "datos/almacen.h"
#include "runtime/common/texto.h"
#include "runtime/offline/todbc_statement.h"
#include "runtime/server/mysql_row_stream.h"

namespace datos {
namespace {

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
struct Tabla {
    const char* nombre;             // in the failure messages
    const char* tabla;              // the local table
    const char* consulta;           // on the server
    const char* insercion;          // the local insert, up to its column list
    std::vector<Columna> columnas;  // in the order of that list
};

using enum Forma;
const Tabla kProdvtas = {
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
     {"l_activo", SiNo}}};
const Tabla kFormulas = {
    "FORMULAS",
    "formulas",
    "select prd_sale,prd_buy,tipo_prd,consumo,codi_form from formulas where tipo_prd='I' and "
    "left(prd_buy,1)='9'",
    "insert into formulas (prd_sale,prd_buy,tipo_prd,consumo,codi_form)",
    {{"prd_sale", Texto},
     {"prd_buy", Texto},
     {"tipo_prd", Texto},
     {"consumo", Numero},
     {"codi_form", Texto}}};
const Tabla kProdcmp = {
    "PRODCMP",
    "prodcmp",
    "select codi_prod, desc_prod, unid_med from prodcmp where left(codi_prod,1)='9'",
    "insert into prodcmp (codi_prod, desc_prod, unid_med)",
    {{"codi_prod", Texto}, {"desc_prod", Texto}, {"unid_med", Texto}}};
const Tabla kUnidmed = {
    "UNIDMED",
    "unidmed",
    "select codi_prod, codi_unid, desc_unid from unidmed where left(codi_prod,1)='9'",
    "insert into unidmed (codi_prod, codi_unid, desc_unid)",
    {{"codi_prod", Texto}, {"codi_unid", Texto}, {"desc_unid", Texto}}};
const Tabla kOperario = {
    "OPERARIO",
    "operario",
    "select codi_oper, nom_oper, codi_grupo, ope_activo, rut, digito_verif from operario ",
    "insert into operario (codi_oper, nom_oper, codi_grupo, ope_activo, rut, digito_verif)",
    {{"codi_oper", Numero},
     {"nom_oper", Texto},
     {"codi_grupo", Texto},
     {"ope_activo", SiNo},
     {"rut", Texto},
     {"digito_verif", Texto}}};
const Tabla kBodegas = {"BODEGAS",
                        "bodegas",
                        "select numero_bod, nombre_bod, l_vales from bodegas",
                        "insert into bodegas (numero_bod,nombre_bod)",
                        {{"numero_bod", Numero}, {"nombre_bod", Recortado}}};

// In the order of TablaMaestra.
const Tabla kTablas[] = {kProdvtas, kFormulas, kProdcmp, kUnidmed, kOperario, kBodegas};

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

long contar(rt::TODBC& RS, const char* tabla) {
    return filas_locales(RS, tabla).value_or(-1);
}

// Undoes the table's copy (the delete and every insert). True when the local table is known
// to hold again the `antes` rows it had before the copy began.
bool deshacer(rt::TODBC& RS, const char* tabla, long antes) {
    RS.Close();
    if (!RS.InTransaction()) return true;  // nothing was begun
    const bool deshecha = RS.RollbackTransaction();
    return antes < 0 || (deshecha && contar(RS, tabla) == antes);
}

Copia abandonar(rt::TODBC& RS, const char* tabla, long antes) {
    Copia c{Copia::local_fallida, RS.SQLErrorMessage()};
    c.intacta = deshacer(RS, tabla, antes);
    return c;
}

// Replaces the local table with the server's rows, all or nothing.
Copia reemplazar(rt::TODBC& RS, const Tabla& t, LecturaServidor& lectura, const AvanceCopia& avance,
                 TMySQLServer& servidor) {
    if (!RS.BeginTransaction()) return abandonar(RS, t.tabla, -1);
    const long antes = contar(RS, t.tabla);
    if (antes < 0 || !ejecutar(RS, std::string("delete from ") + t.tabla))
        return abandonar(RS, t.tabla, antes);
    if (avance.al_comenzar) avance.al_comenzar(lectura.total());
    rt::MySQLRowStream& filas = lectura.filas();
    const std::size_t n = t.columnas.size();
    std::vector<int> posiciones(n);
    for (std::size_t i = 0; i < n; ++i) posiciones[i] = filas.FieldPos(t.columnas[i].nombre);
    std::vector<std::string> valores(n);
    std::vector<std::string_view> fila_local(n);
    rt::TODBCBulkInsert insercion(RS, t.insercion, static_cast<int>(n));
    if (!insercion.Prepared()) return abandonar(RS, t.tabla, antes);
    while (filas.Next()) {
        for (std::size_t i = 0; i < n; ++i) {
            valor(filas, posiciones[i], t.columnas[i].forma, valores[i]);
            fila_local[i] = valores[i];
        }
        if (!insercion.Add(fila_local)) return abandonar(RS, t.tabla, antes);
        if (avance.por_fila) avance.por_fila();
    }
    if (filas.NetErr()) {
        Copia c{Copia::lectura_cortada, servidor.Error()};
        c.intacta = deshacer(RS, t.tabla, antes);
        return c;
    }
    if (!insercion.Flush() || !RS.CommitTransaction()) return abandonar(RS, t.tabla, antes);
    return {};
}

}  // namespace

std::optional<long> filas_locales(rt::TODBC& RS, const char* tabla) {
    if (!ejecutar(RS, std::string("select count(*) as cantidad from ") + tabla)) {
        RS.Close();
        return std::nullopt;
    }
    const long n = static_cast<long>(numero_en(RS, "cantidad"));
    RS.Close();
    return n;
}

Copia copiar_tabla(TMySQLServer& servidor, rt::TODBC& RS, TablaMaestra tabla,
                   const AvanceCopia& avance) {
    const Tabla& t = kTablas[static_cast<int>(tabla)];
    LecturaServidor lectura(servidor, t.consulta);
    if (lectura.NetErr()) return {Copia::servidor_ilegible, servidor.Error()};
    return reemplazar(RS, t, lectura, avance, servidor);
}

const char* nombre_de(TablaMaestra tabla) {
    return kTablas[static_cast<int>(tabla)].nombre;
}

const char* tabla_local(TablaMaestra tabla) {
    return kTablas[static_cast<int>(tabla)].tabla;
}

}  // namespace datos
