// The download of master data: the six copies against the test server into a scratch store,
// through the virtual terminal.
#include "vales/fuera_de_linea/DatosDesde_Servidor.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "runtime/common/codepage.h"
#include "support/modo_sql.h"
#include "support/offline_store.h"
#include "support/servidor_prueba.h"
#include "support/store_rows.h"
#include "vales/fuera_de_linea/vales_rutinas.h"
#include "vales/vales_fixture.h"

namespace {

using rt::key::kDown;
using rt::key::kEnter;
using rt::key::kEsc;
using testing_support::attr_text;
using testing_support::grid_row_text;
using testing_support::hex;

// Menu entries: 1 TODOS, 2 Productos ... 7 Bodegas, 8 Contar Registros, 9 Salir.
constexpr int kBodegas = 7;
constexpr int kContar = 8;

// Statements run on the test server now, and their reverse when the test ends (also when
// it fails), so the shared test database is left as it was found.
class CambioServidor {
  public:
    CambioServidor(TMySQLServer& srv, std::vector<std::string> hacer,
                   std::vector<std::string> deshacer)
        : srv_(srv), deshacer_(std::move(deshacer)) {
        for (const auto& sql : hacer) {
            auto q = srv_.Query(sql);
            EXPECT_FALSE(q.NetErr()) << sql << ": " << srv_.Error();
        }
    }
    ~CambioServidor() {
        for (const auto& sql : deshacer_) {
            auto q = srv_.Query(sql);
            EXPECT_FALSE(q.NetErr()) << sql << ": " << srv_.Error();
        }
    }

  private:
    TMySQLServer& srv_;
    std::vector<std::string> deshacer_;
};

class DatosDesdeServidorTest : public testing_support::ValesTest {
  protected:
    DatosDesdeServidorTest() {
        sesion.OSERVER = prueba::conectar_mariadb("test");
        sesion.LCONECTADO = true;
        console.set_colour("w/b,r/w");
        console.write_at(30, 10, "pantalla de antes");
        // Stale rows that a copy must replace, or keep when it fails.
        store.run(
            "insert into prodvtas (codi_prod, desc_prod, codi_form, desc_form, l_vigente, "
            "l_activo) Values('VIEJO0001', 'Producto viejo', '001', 'Vieja', true, true)");
        store.run("insert into bodegas (numero_bod,nombre_bod) Values(77, 'Bodega vieja' )");
        store.run(
            "insert into operario (codi_oper, nom_oper, codi_grupo, ope_activo, rut, "
            "digito_verif) Values(99, 'Operario viejo', 'G09', true, '1', '1' )");
    }

    void elegir(int entrada) {
        for (int i = 1; i < entrada; ++i) term.keys({kDown});
        term.keys({kEnter});
    }
    void correr() { vales::DATOSDESDE_SERVIDOR(store.connection()); }

    std::vector<std::string> filas_servidor(const std::string& sql) {
        return prueba::filas(*srv, sql);
    }
    // The last snapshot in which `utf8` was on screen (nullptr when never), among those
    // from number `desde` on.
    const rt::VirtualBackend::Snapshot* visto(const std::string& utf8,
                                              std::size_t desde = 0) const {
        const auto& shots = term.snapshots();
        for (auto s = shots.rbegin(); s != shots.rend() - std::min(desde, shots.size()); ++s) {
            for (int r = 0; r < rt::kRows; ++r) {
                if (grid_row_text(s->grid, r).find(utf8) != std::string::npos) return &*s;
            }
        }
        return nullptr;
    }

    testing_support::ScratchStore store;
    std::unique_ptr<TMySQLServer> srv = prueba::conectar_mariadb("test");
};

// What each local copy must hold, read straight from the server: codes at their full width,
// names trimmed where the copy trims them and padded to the column width where it does not.
struct Tabla {
    const char* nombre;
    const char* servidor;
    const char* local;
};
const Tabla kTablas[] = {
    {"prodvtas",
     "select rpad(codi_prod,9,' '), trim(desc_prod), rpad(codi_form,3,' '), trim(desc_form), "
     "l_vigente, l_activo from prodvtas where l_activo=true order by codi_prod, codi_form",
     "select codi_prod, desc_prod, codi_form, desc_form, l_vigente, l_activo from prodvtas "
     "order by codi_prod, codi_form"},
    {"formulas",
     "select rpad(prd_sale,12,' '), rpad(prd_buy,9,' '), tipo_prd, cast(consumo as double), "
     "rpad(codi_form,3,' ') from formulas where tipo_prd='I' and prd_buy like '9%' "
     "order by prd_sale, prd_buy",
     "select prd_sale, prd_buy, tipo_prd, consumo, codi_form from formulas "
     "order by prd_sale, prd_buy"},
    {"prodcmp",
     "select rpad(codi_prod,9,' '), rpad(desc_prod,60,' '), rpad(unid_med,3,' ') from prodcmp "
     "where codi_prod like '9%' order by codi_prod",
     "select codi_prod, desc_prod, unid_med from prodcmp order by codi_prod"},
    {"unidmed",
     "select rpad(codi_prod,9,' '), rpad(codi_unid,6,' '), rpad(desc_unid,40,' ') from unidmed "
     "where codi_prod like '9%' order by codi_prod, codi_unid",
     "select codi_prod, codi_unid, desc_unid from unidmed order by codi_prod, codi_unid"},
    {"operario",
     "select codi_oper, rpad(nom_oper,40,' '), rpad(codi_grupo,3,' '), ope_activo, "
     "rpad(rut,8,' '), rpad(digito_verif,1,' ') from operario order by codi_oper",
     "select codi_oper, nom_oper, codi_grupo, ope_activo, rut, digito_verif from operario "
     "order by codi_oper"},
    {"bodegas", "select numero_bod, trim(nombre_bod) from bodegas order by numero_bod",
     "select numero_bod, nombre_bod from bodegas order by numero_bod"},
};

// With the server in each SQL mode a plant may use.
using DatosDesdeServidorEnModo = prueba::EnModoSql<DatosDesdeServidorTest>;
INSTANTIATE_TEST_SUITE_P(Modos, DatosDesdeServidorEnModo, testing::ValuesIn(prueba::modos_sql()),
                         prueba::nombre_modo);

TEST_P(DatosDesdeServidorEnModo, TodosReplacesEveryTableWithTheServerRowsByteForByte) {
    elegir(1);
    term.keys({'x', kEsc});  // "Proceso terminado", then leave
    correr();
    for (const Tabla& t : kTablas) {
        const auto esperadas = filas_servidor(t.servidor);
        EXPECT_FALSE(esperadas.empty()) << t.nombre;
        EXPECT_EQ(store.rows(t.local), esperadas) << t.nombre;
    }
    // The demo rows that make the comparison worth it.
    using std::string;
    const auto una = [&](const string& sql) {
        const auto filas = store.rows(sql);
        return filas.empty() ? string("(ninguna)") : filas.front();
    };
    EXPECT_EQ(una("select desc_prod from prodvtas where codi_prod='L01AA0110'"),
              "Ladrillo refractario 'Súper' 230x114x65"_ansi);
    EXPECT_EQ(una("select count(*) from prodvtas where codi_prod='X99ZZ9990'"), "0");  // inactive
    EXPECT_EQ(una("select count(*) from prodvtas where codi_prod='VIEJO0001'"), "0");
    EXPECT_EQ(una("select consumo from formulas where prd_sale='L01AA0110001' and "
                  "prd_buy='900000004'"),
              "0.02");
    EXPECT_EQ(una("select codi_unid from unidmed where codi_unid like 'A01 %'"), "A01   ");
    EXPECT_EQ(una("select nom_oper from operario where codi_oper=2"),
              "José O'Ryan Díaz"_ansi + string(24, ' '));
    EXPECT_EQ(una("select ope_activo from operario where codi_oper=4"), "0");  // inactive
    EXPECT_EQ(una("select nombre_bod from bodegas where numero_bod=6"), "Patio O'Higgins");
    EXPECT_EQ(una("select nombre_bod from bodegas where numero_bod=2"), "Producción"_ansi);

    // What off-line entry then sees: the inactive operator is refused, the inactive product
    // is unknown, a warehouse the server marks inactive is accepted.
    rt::TODBC RS(store.connection());
    EXPECT_TRUE(vales::MDB_OPERARIO_ACTIVO(RS, 1));
    EXPECT_FALSE(vales::MDB_OPERARIO_ACTIVO(RS, 4));
    EXPECT_TRUE(vales::MDB_EXISTE_OPERARIO(RS, 4));
    EXPECT_TRUE(vales::MDB_EXISTE_FORMULA(RS, "L01AA0110", "004"));
    EXPECT_FALSE(vales::MDB_EXISTE_PRODUCTO(RS, "X99ZZ9990"));
    EXPECT_TRUE(vales::MDB_EXISTE_BODEGA(RS, 4));

    // At the closing message: the marks not under the box, the last count on the message line.
    const auto* fin = visto("Proceso terminado");
    ASSERT_NE(fin, nullptr) << screen_dump();
    for (int fila : {18, 19, 20}) {
        EXPECT_EQ(grid_row_text(fin->grid, fila, 50, 2), "OK") << fila;
        EXPECT_EQ(attr_text(fin->grid[fila][50].attr), "+GR/N") << fila;
    }
    EXPECT_NE(grid_row_text(fin->grid, 35)
                  .find("Procesando " + std::to_string(filas_servidor(kTablas[5].servidor).size()) +
                        " registros"),
              std::string::npos);
    // Screen and colour as they were.
    EXPECT_EQ(row_text(30, 10, 17), "pantalla de antes");
    EXPECT_EQ(console.colour_text().substr(0, 7), "W/B,R/W");
}

TEST_F(DatosDesdeServidorTest, MenuLayoutAndOneTableAtATime) {
    elegir(kBodegas);
    term.keys({'x', kEsc});
    correr();
    const auto& menu = term.snapshots().front().grid;
    const char* filas[] = {
        "┌─────────────────────┐", "│ TODOS               │", "├─────────────────────┤",
        "│ Productos           │", "│ Formulas            │", "│ Actividades         │",
        "│ Especificaciones    │", "│ Operarios           │", "│ Bodegas             │",
        "├─────────────────────┤", "│ Contar Registros    │", "├─────────────────────┤",
        "│ Salir               │", "└─────────────────────┘",
    };
    for (int i = 0; i < 14; ++i) EXPECT_EQ(grid_row_text(menu, 12 + i, 30, 23), filas[i]) << i;
    EXPECT_EQ(attr_text(menu[12][30].attr), "G/N");
    EXPECT_EQ(attr_text(menu[13][31].attr), "+W/G");  // highlight on the first entry
    EXPECT_EQ(attr_text(menu[15][31].attr), "+G/N");
    EXPECT_NE(grid_row_text(menu, 35).find("[↑] [↓]   Seleccione archivo a procesar"),
              std::string::npos)
        << grid_row_text(menu, 35);

    const auto* fin = visto("Proceso terminado");
    ASSERT_NE(fin, nullptr);
    EXPECT_EQ(grid_row_text(fin->grid, 20, 50, 2), "OK");
    EXPECT_EQ(attr_text(fin->grid[20][50].attr), "+GR/G");
    // The menu comes back with the highlight on the entry just used.
    const auto& despues = term.snapshots().back().grid;
    EXPECT_EQ(attr_text(despues[20][31].attr), "+W/G");
    EXPECT_EQ(grid_row_text(despues, 20, 50, 2), "  ");
    // Only the warehouses were copied: the other tables keep their rows.
    EXPECT_EQ(store.rows("select numero_bod, nombre_bod from bodegas order by numero_bod"),
              filas_servidor(kTablas[5].servidor));
    EXPECT_EQ(store.rows("select codi_prod from prodvtas"), std::vector<std::string>{"VIEJO0001"});
}

TEST_F(DatosDesdeServidorTest, WithoutConnectionNothingHappens) {
    sesion.LCONECTADO = false;
    term.keys({'x'});
    correr();
    const auto* msg = visto("No existe conexión con el servidor");
    ASSERT_NE(msg, nullptr);
    EXPECT_EQ(term.snapshots().size(), 1u);  // no menu
    EXPECT_EQ(row_text(30, 10, 17), "pantalla de antes");
    EXPECT_EQ(console.colour_text().substr(0, 7), "W/B,R/W");
    EXPECT_EQ(store.rows("select numero_bod from bodegas"), std::vector<std::string>{"77"});
}

// The store remembers whose data it holds: the company connected at the download. Data of
// another company does not replace it while vouchers typed against it are pending (they
// would then be sent to that other company); once none is pending it does.
TEST_F(DatosDesdeServidorTest, AnotherCompanysDataWaitsUntilNoVoucherIsPending) {
    store.run("drop table empresa");  // a store made before the record: it gets one
    elegir(kBodegas);
    term.keys({'x', kEsc});
    correr();
    EXPECT_EQ(store.rows("select unica, cod_empresa from empresa"),
              std::vector<std::string>{"1|007"});

    store.run("update empresa set cod_empresa='225'");
    store.run(
        "insert into vales_cab (codi_prod, codi_form, num_bodega, fecha, cantidad, malas, "
        "c_estado) values('VIEJO0001', '001', 77, '07/12/2026', 5.00, 0.00, '1')");
    store.run("update bodegas set nombre_bod='Bodega de 225'");
    const std::size_t antes = term.snapshots().size();
    term.keys({'x'});
    correr();
    EXPECT_EQ(term.snapshots().size(), antes + 1) << "the message, and no menu";
    EXPECT_NE(visto("Hay vales pendientes de la empresa 225: envíelos antes de cambiar de empresa",
                    antes),
              nullptr);
    EXPECT_EQ(store.rows("select distinct nombre_bod from bodegas"),
              std::vector<std::string>{"Bodega de 225"});
    EXPECT_EQ(store.rows("select cod_empresa from empresa"), std::vector<std::string>{"225"});

    store.run("update vales_cab set c_estado='2'");
    elegir(kBodegas);
    term.keys({'x', kEsc});
    correr();
    EXPECT_EQ(store.rows("select numero_bod, nombre_bod from bodegas order by numero_bod"),
              filas_servidor(kTablas[5].servidor));
    EXPECT_EQ(store.rows("select cod_empresa from empresa"), std::vector<std::string>{"007"});
}

// A server read that fails, before the first row or in the middle of the rows (here a view
// whose fourth operator cannot be computed): the two messages, the mark "no", the local table
// as it was, and " TODOS" goes on with the tables after it.
TEST_F(DatosDesdeServidorTest, ServerReadFailureKeepsTheLocalTableAndTodosGoesOn) {
    const struct {
        std::vector<std::string> hacer, deshacer;
        const char* mensaje;
        int fila_no;
        const Tabla& tabla;
        const char* leyendo;  // the message line when the failure shows
    } casos[] = {
        {{"rename table bodegas to bodegas_prueba_descarga"},
         {"rename table bodegas_prueba_descarga to bodegas"},
         "No se pueden leer datos de servidor: BODEGAS",
         20,
         kTablas[5],
         "Procesando 6 registros"},  // still the operators' count: nothing was read
        {{"rename table operario to operario_prueba_descarga",
          "create view operario as select codi_oper, if(codi_oper = 4, (select 1 union select "
          "2), nom_oper) as nom_oper, codi_grupo, ope_activo, rut, digito_verif from "
          "operario_prueba_descarga"},
         {"drop view operario", "rename table operario_prueba_descarga to operario"},
         "No se pueden leer datos de servidor: OPERARIO",
         19,
         kTablas[4],
         "Procesando 6 registros"},  // counted, then cut off at the fourth
    };
    EXPECT_EQ(store.rows("select numero_bod, nombre_bod from bodegas"),
              std::vector<std::string>{"77|Bodega vieja"});
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.mensaje);
        const auto antes = store.rows(caso.tabla.local);
        CambioServidor cambio(*srv, caso.hacer, caso.deshacer);
        const std::size_t desde = term.snapshots().size();
        elegir(1);
        term.keys({'x', kEnter, 'x', kEsc});  // message box, alert, "Proceso terminado"
        correr();
        const auto* mensaje = visto(caso.mensaje, desde);
        ASSERT_NE(mensaje, nullptr) << screen_dump();
        EXPECT_NE(grid_row_text(mensaje->grid, 35).find(caso.leyendo), std::string::npos)
            << grid_row_text(mensaje->grid, 35);
        EXPECT_NE(visto("Error: ", desde), nullptr);
        const auto* fin = visto("Proceso terminado", desde);
        ASSERT_NE(fin, nullptr);
        for (int fila : {18, 19, 20}) {
            EXPECT_EQ(grid_row_text(fin->grid, fila, 50, 2), fila == caso.fila_no ? "no" : "OK")
                << fila;
        }
        EXPECT_EQ(visto("incompleta", desde), nullptr);
        EXPECT_EQ(store.rows(caso.tabla.local), antes);
        // Every other table was copied, those after the failing one included.
        for (const Tabla& t : kTablas) {
            if (&t != &caso.tabla) {
                EXPECT_EQ(store.rows(t.local), filas_servidor(t.servidor)) << t.nombre;
            }
        }
    }
}

// A local statement that fails in the middle of a copy (here a store rule that refuses
// warehouse 6, after five rows went in) undoes the whole copy: the table keeps the rows it
// had, the user is told, the mark says "no".
TEST_F(DatosDesdeServidorTest, LocalFailureMidwayLeavesTheLocalTableAsItWas) {
    store.run(
        "create trigger rechaza_bodega before insert on bodegas when new.numero_bod = 6 "
        "begin select raise(abort, 'bodega rechazada'); end");
    elegir(kBodegas);
    term.keys({'x', kEnter, 'x', kEsc});
    correr();
    EXPECT_NE(visto("No se pueden grabar datos en la base local: BODEGAS"), nullptr)
        << screen_dump();
    EXPECT_NE(visto("bodega rechazada"), nullptr);
    const auto* fin = visto("Proceso terminado");
    ASSERT_NE(fin, nullptr);
    EXPECT_EQ(grid_row_text(fin->grid, 20, 50, 2), "no");
    EXPECT_EQ(store.rows("select numero_bod, nombre_bod from bodegas"),
              std::vector<std::string>{"77|Bodega vieja"});
    // The store is still usable afterwards: the next copy goes through once the rule is gone.
    store.run("drop trigger rechaza_bodega");
    elegir(kBodegas);
    term.keys({'x', kEsc});
    correr();
    EXPECT_EQ(store.rows(kTablas[5].local), filas_servidor(kTablas[5].servidor));
}

// A terminal whose clock runs on by itself (so the spinner turns at every row) and which
// ends the process the first time it shows a copy under way: the program dies in the
// middle of a copy, after the delete and some inserts.
class TerminalQueSeCorta : public rt::VirtualBackend {
  public:
    rt::LocalTime local_time() override {
        advance(0.05);
        return VirtualBackend::local_time();
    }
    void present(const rt::Grid& grid, const rt::CursorState& cursor) override {
        if (grid_row_text(grid, 35).find("Procesando") != std::string::npos) _exit(3);
        VirtualBackend::present(grid, cursor);
    }
};

TEST_F(DatosDesdeServidorTest, CopyInterruptedMidwayLeavesTheLocalTableAsItWas) {
    const std::string conexion = store.connection();
    const pid_t pid = fork();
    ASSERT_NE(pid, -1);
    if (pid == 0) {
        try {
            TerminalQueSeCorta terminal;
            rt::Console consola{terminal};
            rt::install_console(&consola);
            sesion.OSERVER = prueba::conectar_mariadb("test");
            terminal.keys({kDown, kDown, kDown, kDown, kDown, kEnter});  // Operarios
            vales::DATOSDESDE_SERVIDOR(conexion);
        } catch (...) {
        }
        _exit(4);  // the copy ran to its end: the terminal never cut it
    }
    int estado = 0;
    ASSERT_EQ(waitpid(pid, &estado, 0), pid);
    ASSERT_TRUE(WIFEXITED(estado));
    ASSERT_EQ(WEXITSTATUS(estado), 3);
    EXPECT_EQ(store.rows("select codi_oper, nom_oper from operario"),
              std::vector<std::string>{"99|Operario viejo"});
}

TEST_F(DatosDesdeServidorTest, UnreachableStoreIsReportedNotCrashed) {
    elegir(kBodegas);
    term.keys({'x', kEnter, 'x', kEsc});
    vales::DATOSDESDE_SERVIDOR(
        rt::offline_connection_string_for((store.file().parent_path() / "no_existe.mdb").string()));
    EXPECT_NE(visto("No se pueden grabar datos en la base local: BODEGAS"), nullptr)
        << screen_dump();
    EXPECT_FALSE(std::filesystem::exists(store.file().parent_path() / "no_existe.mdb"));
}

// A server that refuses to open a transaction (as one without read-only transactions does;
// here the session's connection is inside a global transaction, where every "start
// transaction" is refused) is still read: every table is copied all the same.
TEST_F(DatosDesdeServidorTest, AServerThatRefusesTheSnapshotIsCopiedWithoutIt) {
    {
        auto q = sesion.OSERVER->Query("xa start 'descarga_sin_instantanea'");
        ASSERT_FALSE(q.NetErr()) << sesion.OSERVER->Error();
    }
    elegir(1);
    term.keys({'x', kEsc});
    correr();
    sesion.OSERVER->Query("xa end 'descarga_sin_instantanea'");
    sesion.OSERVER->Query("xa rollback 'descarga_sin_instantanea'");
    EXPECT_FALSE(sesion.OSERVER->NetErr()) << sesion.OSERVER->Error();
    EXPECT_EQ(visto("No se pueden leer"), nullptr) << screen_dump();
    const auto* fin = visto("Proceso terminado");
    ASSERT_NE(fin, nullptr);
    // Rows 15 to 17 are under the message box; the rows copied below speak for them.
    for (int fila : {18, 19, 20}) EXPECT_EQ(grid_row_text(fin->grid, fila, 50, 2), "OK") << fila;
    for (const Tabla& t : kTablas) {
        EXPECT_EQ(store.rows(t.local), filas_servidor(t.servidor)) << t.nombre;
    }
}

TEST_F(DatosDesdeServidorTest, EmptyServerTableEmptiesTheCopy) {
    CambioServidor vacia(*srv,
                         {"rename table bodegas to bodegas_prueba_descarga",
                          "create table bodegas like bodegas_prueba_descarga"},
                         {"drop table bodegas", "rename table bodegas_prueba_descarga to bodegas"});
    elegir(kBodegas);
    term.keys({'x', kEsc});
    correr();
    const auto* fin = visto("Proceso terminado");
    ASSERT_NE(fin, nullptr);
    EXPECT_EQ(grid_row_text(fin->grid, 20, 50, 2), "OK");
    EXPECT_NE(grid_row_text(fin->grid, 35).find("Procesando 0 registros"), std::string::npos);
    EXPECT_TRUE(store.rows("select * from bodegas").empty());
}

TEST_F(DatosDesdeServidorTest, RecordCountsShowEachLocalTableAndSkipAnUnreadableOne) {
    store.run("drop table formulas");
    elegir(kContar);
    term.keys({'x', kEnter, kEsc});  // message box, alert
    correr();
    EXPECT_NE(visto("No se puede leer FORMULAS"), nullptr) << screen_dump();
    const auto* alerta = visto("productos: 1");
    ASSERT_NE(alerta, nullptr) << screen_dump();
    std::string texto;
    for (int r = 0; r < rt::kRows; ++r) texto += grid_row_text(alerta->grid, r) + "\n";
    for (const char* linea : {"Registros", "base de datos local", "productos: 1", "actividades: 0",
                              "especificaciones: 0", "operarios: 1", "bodegas: 1"}) {
        EXPECT_NE(texto.find(linea), std::string::npos) << linea << "\n" << texto;
    }
    EXPECT_EQ(texto.find("formulas:"), std::string::npos);
}

// The store runs out of space while the download writes (two tables grew on the server
// beyond the room left): each table that did not fit keeps its old copy, each that did holds
// its complete new copy, and so again at the next attempt. Once there is room, the next
// download completes them.
TEST_F(DatosDesdeServidorTest, StoreRunningOutOfSpaceKeepsEachTableOldOrCompletelyNew) {
    elegir(1);
    term.keys({'x', kEsc});
    correr();  // the old copies
    std::vector<std::vector<std::string>> viejas;
    for (const Tabla& t : kTablas) viejas.push_back(store.rows(t.local));

    const std::string filas_6000 =
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 6000) ";
    CambioServidor cambios(
        *srv,
        {"set session max_recursive_iterations = 10000",
         "update prodvtas set desc_form = concat('N', desc_form)",
         "insert into formulas (prd_sale, prd_buy, tipo_prd, codi_form, consumo) " + filas_6000 +
             "select concat('ZZ', lpad(i, 10, '0')), '900000001', 'I', '', i / 8 from n",
         "update prodcmp set desc_prod = concat('N', desc_prod)",
         "insert into unidmed (codi_prod, codi_unid, desc_unid) " + filas_6000 +
             "select concat('9ZZ', lpad(i, 6, '0')), 'A01   ', concat('Nueva ', i) from n",
         "update operario set nom_oper = concat('N', nom_oper)",
         "update bodegas set nombre_bod = concat('N', nombre_bod)"},
        {"update prodvtas set desc_form = substring(desc_form, 2)",
         "delete from formulas where prd_sale like 'ZZ%'",
         "update prodcmp set desc_prod = substring(desc_prod, 2)",
         "delete from unidmed where codi_prod like '9ZZ%'",
         "update operario set nom_oper = substring(nom_oper, 2)",
         "update bodegas set nombre_bod = substring(nombre_bod, 2)"});
    std::vector<std::vector<std::string>> nuevas;
    for (const Tabla& t : kTablas) nuevas.push_back(filas_servidor(t.servidor));

    rt::TODBC RS(store.connection());
    RS.SetSQL("pragma page_count");
    ASSERT_TRUE(RS.Open());
    const long paginas = std::stol(RS.Rows().at(0).at(0));
    RS.SetSQL("pragma max_page_count=" + std::to_string(paginas + 8));
    ASSERT_TRUE(RS.Open());
    RS.Close();

    for (int intento = 1; intento <= 2; ++intento) {
        SCOPED_TRACE("intento " + std::to_string(intento));
        const std::size_t desde = term.snapshots().size();
        elegir(1);
        // For FORMULAS and UNIDMED: message box and alert; then "Proceso terminado".
        term.keys({'x', kEnter, 'x', kEnter, 'x', kEsc});
        vales::DATOSDESDE_SERVIDOR(RS);
        for (std::size_t i = 0; i < std::size(kTablas); ++i) {
            const bool lleno = i == 1 || i == 3;  // formulas, unidmed
            EXPECT_EQ(store.rows(kTablas[i].local), lleno ? viejas[i] : nuevas[i])
                << kTablas[i].nombre;
        }
        EXPECT_NE(visto("No se pueden grabar datos en la base local: FORMULAS", desde), nullptr)
            << screen_dump();
        EXPECT_NE(visto("No se pueden grabar datos en la base local: UNIDMED", desde), nullptr);
        EXPECT_NE(visto("database or disk is full", desde), nullptr);
        EXPECT_EQ(visto("incompleta", desde), nullptr);
        const auto* fin = visto("Proceso terminado", desde);
        ASSERT_NE(fin, nullptr);
        for (int fila : {18, 19, 20}) {  // those not under the message box
            EXPECT_EQ(grid_row_text(fin->grid, fila, 50, 2), fila == 18 ? "no" : "OK") << fila;
        }
    }

    RS.SetSQL("pragma max_page_count=1000000");
    ASSERT_TRUE(RS.Open());
    RS.Close();
    elegir(1);
    term.keys({'x', kEsc});
    vales::DATOSDESDE_SERVIDOR(RS);
    for (std::size_t i = 0; i < std::size(kTablas); ++i) {
        EXPECT_EQ(store.rows(kTablas[i].local), nuevas[i]) << kTablas[i].nombre;
    }
}

// Names that no statement text could carry (a NUL, an escape sequence, 8-bit bytes, quotes
// and a backslash) are copied byte for byte, and the rest of the table with them.
TEST_F(DatosDesdeServidorTest, ProductNamesWithNulEscapeAndEightBitBytesAreCopiedExactly) {
    using namespace std::string_literals;
    const std::string desc_prod = "  Lad\0rillo \x1b[2J\xf1\xd1\xff\x80 'A' \"B\" \\ "s;
    const std::string desc_form = "\x01\x1b\x7f\xa0\xe9\0 fin"s;
    const std::string copiada_prod = "Lad\0rillo \x1b[2J\xf1\xd1\xff\x80 'A' \"B\" \\"s;
    CambioServidor raro(*srv,
                        {"insert into prodvtas (codi_prod, codi_form, desc_prod, desc_form, "
                         "l_activo, l_vigente) values ('RARO00001', '007', X'" +
                         hex(desc_prod) + "', X'" + hex(desc_form) + "', 1, 0)"},
                        {"delete from prodvtas where codi_prod='RARO00001'"});
    elegir(2);  // Productos
    term.keys({'x', kEsc});
    correr();
    EXPECT_EQ(store.rows("select hex(codi_prod), hex(desc_prod), hex(codi_form), "
                         "hex(desc_form), l_vigente, l_activo from prodvtas "
                         "where codi_prod='RARO00001'"),
              std::vector<std::string>{hex("RARO00001") + "|" + hex(copiada_prod) + "|" +
                                       hex("007") + "|" + hex(desc_form) + "|0|1"});
    EXPECT_EQ(store.rows("select count(*) from prodvtas"),
              std::vector<std::string>{std::to_string(filas_servidor(kTablas[0].servidor).size())});
    EXPECT_EQ(visto("No se pueden grabar"), nullptr);
}

}  // namespace
