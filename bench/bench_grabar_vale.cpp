// The on-line voucher save: the time of one save through GRABARVALE_SERVIDOR against the
// same statements sent by the `mariadb` command-line client in one transaction (the
// statements are taken from the server's general log of a save), and eight processes
// saving fifty vouchers each at the same time, on one server and then through the three
// nodes of a Galera cluster: saves per second, tries per save (a save is tried again when
// another workstation got in the way), how many distinct voucher numbers they got and
// whether every stock equals its start plus the sum of its movements.
//
// Runs against the server in $VALES_TEST_MARIADB_DIR when set, otherwise starts a private
// one of its own with scripts/mariadb-start.sh and stops it at the end; likewise the
// cluster in $VALES_TEST_GALERA_DIR or one started with scripts/galera-start.sh
// (VALES_BENCH_SIN_GALERA=1 leaves the cluster out). Works in a database of its own,
// bench_vales, made from sql/schema.sql and sql/objetos_adicionales.sql.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "bench_mariadb.h"
#include "datos/grabar_vale.h"
#include "datos/identidad.h"
#include "datos/servidores.h"
#include "datos/sesion.h"
#include "runtime/screen/console.h"
#include "runtime/screen/virtual_backend.h"
#include "runtime/server/tmysql.h"
#include "support/procesos.h"
#include "vales/en_linea/vales_ingreso_on_line.h"

namespace {

constexpr int kProcesos = 8, kValesPorProceso = 50, kValesMedidos = 100;

double ms_desde(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}

// The command-line client on the bench server, reading statements from `archivo`.
std::string cliente(const std::string& direccion, const std::string& archivo) {
    const auto dos_puntos = direccion.rfind(':');
    return "mariadb --no-defaults --default-character-set=latin1 -h " +
           direccion.substr(0, dos_puntos) + " -P " + direccion.substr(dos_puntos + 1) + " -u" +
           std::string(datos::USUARIO_SERVIDOR) + " -p" + std::string(datos::CLAVE_SERVIDOR) +
           " bench_vales < " + archivo + " > /dev/null";
}

bool ejecutar(TMySQLServer& srv, const std::string& sql) {
    auto q = srv.Query(sql);
    if (q.NetErr()) std::fprintf(stderr, "%s\n  %s\n", q.Error().c_str(), sql.c_str());
    return !q.NetErr();
}

// A company with one product: two activities, two stock-controlled components, one
// uncontrolled and a sub-product; stock for a few thousand vouchers.
bool preparar(TMySQLServer& srv, const std::string& direccion) {
    srv.Query("drop database if exists bench_vales");
    if (!ejecutar(srv, "create database bench_vales character set latin1")) return false;
    for (const char* archivo : {"/sql/schema.sql", "/sql/objetos_adicionales.sql"}) {
        const std::string sql = std::string(VALES_SOURCE_DIR) + archivo;
        if (std::system(cliente(direccion, sql).c_str()) != 0) return false;
    }
    srv.SelectDB("bench_vales");
    for (const char* sql : {
             "insert into paramet (id, num_vales) values (1, 0)",
             "insert into bodegas (numero_bod, nombre_bod, l_activo, l_vales) values "
             "(1, 'Bodega', 1, 1)",
             "insert into prodcmp (codi_prod, desc_prod, unid_med, l_ctrl_stk) values "
             "('900000001', 'Moldeo', 'UN', 0), ('900000002', 'Horno', 'UN', 0), "
             "('100000001', 'Arcilla', 'KG', 1), ('100000002', 'Chamota', 'KG', 1), "
             "('100000003', 'Agua', 'LT', 0)",
             "insert into prodvtas (codi_prod, codi_form, desc_prod, desc_form, unid_med, "
             "l_ctrl_stk, codi_form_rel) values ('B01000001', '001', 'Ladrillo', 'Std', 'UN', "
             "1, '---'), ('M01000001', '001', 'Mortero', 'Std', 'KG', 1, '---')",
             "insert into formulas (prd_sale, prd_buy, tipo_prd, codi_form, consumo) values "
             "('B01000001001', '900000001', 'I', '', 1), "
             "('B01000001001', '900000002', 'I', '', 1), "
             "('B01000001001', '100000001', 'I', '', 2.5), "
             "('B01000001001', '100000002', 'I', '', 1.2), "
             "('B01000001001', '100000003', 'I', '', 0.3), "
             "('B01000001001', 'M01000001', 'P', '001', 0.25)",
             "insert into unidmed (codi_prod, codi_unid, desc_unid, prec_unid) values "
             "('900000001', 'A01   ', 'Normal', 0), ('900000001', 'A01G01', 'Normal', 1.5), "
             "('900000002', 'C01   ', 'Horno', 0), ('900000002', 'C01G01', 'Horno', 0.5)",
             "insert into operario (codi_oper, nom_oper, codi_grupo, ope_activo, rut, "
             "digito_verif) values (1, 'Operario', 'G01', 1, '1', '1')",
             "insert into stock_bodegas (numero_bod, tipo_prd, codi_prod, codi_form, stock) "
             "values (1, 'I', '100000001', '', 10000000), (1, 'I', '100000002', '', 10000000), "
             "(1, 'P', 'M01000001', '001', 10000000)",
             "create table stock_inicial as select * from stock_bodegas",
         })
        if (!ejecutar(srv, sql)) return false;
    return true;
}

vales::DatosCab cabecera() {
    vales::DatosCab cab;
    cab.producto = "B01000001";
    cab.formula = "001";
    cab.bodega = 1;
    cab.fecha = *rt::Fecha::from_ymd(2026, 12, 8);
    cab.cantidad = 4;
    cab.malas = 1;
    return cab;
}

std::vector<vales::DatosItm> items() {
    auto a = vales::item_nuevo("900000001", 1, 4);
    a.operario = 1;
    a.especificacion = "A01";
    auto b = vales::item_nuevo("900000002", 1, 4);
    b.operario = 1;
    b.especificacion = "C01";
    return {a, b};
}

// A session of its own on the bench database.
struct Puesto {
    explicit Puesto(const std::string& direccion) {
        previa_ = datos::install_sesion(&sesion);
        sesion.OSERVER =
            TMySQLServer::New(direccion, datos::USUARIO_SERVIDOR, datos::CLAVE_SERVIDOR);
        sesion.OSERVER->SelectDB("bench_vales");
        sesion.LCONECTADO = true;
        sesion.COD_USUARIO = "bench";
    }
    ~Puesto() { datos::install_sesion(previa_); }
    datos::Sesion sesion;
    datos::Sesion* previa_;
};

// The statements one save sends, from the server's general log.
// `identidad` receives the identity the voucher was given.
std::vector<std::string> sentencias_de_un_vale(TMySQLServer& admin, Puesto& puesto,
                                               std::string& identidad) {
    const std::string hilo =
        puesto.sesion.OSERVER->Query("select connection_id()").GetRow(1)->Raw(1);
    admin.Query("truncate mysql.general_log");
    admin.Query("set global log_output='TABLE', general_log=1");
    vales::GRABARVALE_SERVIDOR(cabecera(), items(), false);
    admin.Query("set global general_log=0");
    auto id = admin.Query(
        "select id_vale from bench_vales.vales_identidad order by grabado desc, "
        "nume_folio desc limit 1");
    identidad = id.LastRec() == 1 ? id.GetRow(1)->Raw(1) : std::string();
    auto q = admin.Query(
        "select argument from mysql.general_log where command_type='Query' "
        "and thread_id=" +
        hilo);
    std::vector<std::string> out;
    for (long n = 1; n <= q.LastRec(); ++n) out.push_back(q.GetRow(n)->Raw(1));
    admin.Query("truncate mysql.general_log");
    return out;
}

void medir_un_vale(TMySQLServer& admin, const std::string& direccion) {
    Puesto puesto(direccion);
    vales::GRABARVALE_SERVIDOR(cabecera(), items(), false);  // warm the caches
    std::string identidad;
    const std::vector<std::string> sentencias = sentencias_de_un_vale(admin, puesto, identidad);

    auto t = std::chrono::steady_clock::now();
    long grabados = 0;
    for (int i = 0; i < kValesMedidos; ++i)
        grabados += vales::GRABARVALE_SERVIDOR(cabecera(), items(), false) > 0;
    const double programa = ms_desde(t) / kValesMedidos;

    // The same statements, kValesMedidos times, through one client process; and once in a
    // process of its own, start-up included.
    const std::string archivo = "/tmp/bench_grabar_vale_" + std::to_string(::getpid()) + ".sql";
    // Each voucher with an identity of its own, as the program gives it.
    auto escribir = [&](int veces) {
        std::ofstream out(archivo);
        for (int i = 0; i < veces; ++i) {
            const std::string id = datos::nueva_identidad();
            for (std::string s : sentencias) {
                const auto at = s.find(identidad);
                if (!identidad.empty() && at != std::string::npos) s.replace(at, id.size(), id);
                out << s << ";\n";
            }
        }
    };
    escribir(kValesMedidos);
    t = std::chrono::steady_clock::now();
    const int rc = std::system(cliente(direccion, archivo).c_str());
    const double por_cliente = ms_desde(t) / kValesMedidos;
    escribir(1);
    t = std::chrono::steady_clock::now();
    std::system(cliente(direccion, archivo).c_str());
    const double un_proceso = ms_desde(t);
    std::remove(archivo.c_str());

    std::printf("one voucher save: %zu statements, from \"%s\" to \"%s\"\n", sentencias.size(),
                sentencias.empty() ? "" : sentencias.front().substr(0, 40).c_str(),
                sentencias.empty() ? "" : sentencias.back().substr(0, 40).c_str());
    std::printf("  GRABARVALE_SERVIDOR      %7.2f ms per voucher (%ld of %d saved)\n", programa,
                grabados, kValesMedidos);
    std::printf("  mariadb client           %7.2f ms per voucher (%d in one process%s)\n",
                por_cliente, kValesMedidos, rc == 0 ? "" : ", CLIENT FAILED");
    std::printf("  mariadb client, 1 run    %7.2f ms (process start-up included)\n", un_proceso);
    std::printf("  ratio program / client   %7.2f\n", programa / por_cliente);
}

// What one workstation's save gave.
struct Resultado {
    long numero = 0;  // 0: not saved
    int intentos = 0;
};

// Eight workstations at once, each on its own connection to one of `direcciones` in turn,
// all released together; the pauses between tries are real ones.
std::vector<Resultado> grabar_a_la_vez(const std::vector<std::string>& direcciones) {
    return prueba::en_procesos<Resultado>(
               kProcesos,
               [&](int p, const auto& informar) {
                   auto srv = TMySQLServer::New(direcciones[std::size_t(p) % direcciones.size()],
                                                datos::USUARIO_SERVIDOR, datos::CLAVE_SERVIDOR);
                   srv->SelectDB("bench_vales");
                   for (int v = 0; v < kValesPorProceso; ++v) {
                       datos::Vale vale{cabecera(), items(), {}};
                       vale.identidad.id = datos::nueva_identidad();
                       const datos::Grabacion g = datos::grabar_vale(*srv, vale, "bench");
                       informar(Resultado{g.estado == datos::Grabacion::grabado ? g.numero : 0,
                                          g.intentos});
                   }
               })
        .value_or(std::vector<Resultado>{});
}

void medir_concurrencia(TMySQLServer& admin, const std::vector<std::string>& direcciones,
                        const char* donde) {
    admin.Query("delete from vales");
    admin.Query("delete from mov_stock");
    admin.Query("delete from vales_identidad");
    admin.Query("delete from stock_bodegas");
    admin.Query("insert into stock_bodegas select * from stock_inicial");
    const auto t = std::chrono::steady_clock::now();
    const std::vector<Resultado> resultados = grabar_a_la_vez(direcciones);
    const double total = ms_desde(t);
    std::set<long> distintos;
    long ceros = 0, intentos = 0;
    for (const Resultado& r : resultados) {
        r.numero > 0 ? (void)distintos.insert(r.numero) : (void)++ceros;
        intentos += r.intentos;
    }
    long grabados = static_cast<long>(resultados.size()) - ceros;
    // Read once the node has applied everything the cluster committed.
    admin.Query("set session wsrep_sync_wait=1");
    auto q = admin.Query(
        "select count(*) from stock_bodegas s left join stock_inicial i on "
        "i.numero_bod=s.numero_bod and i.tipo_prd=s.tipo_prd and i.codi_prod=s.codi_prod and "
        "i.codi_form=s.codi_form left join (select numero_bod, tipo_prd, codi_prod, codi_form, "
        "sum(cantidad) as suma from mov_stock group by 1, 2, 3, 4) m on "
        "m.numero_bod=s.numero_bod and m.tipo_prd=s.tipo_prd and m.codi_prod=s.codi_prod and "
        "m.codi_form=s.codi_form where s.stock <> coalesce(i.stock, 0) + coalesce(m.suma, 0)");
    auto registros = admin.Query("select count(*) from stock_bodegas");
    auto folios = admin.Query("select count(distinct nume_folio) from vales");
    std::printf("%d processes x %d vouchers %s:\n", kProcesos, kValesPorProceso, donde);
    std::printf("  %ld saved, %ld refused as busy, in %.0f ms: %.1f saves/s, %.2f tries per save\n",
                grabados, ceros, total, 1000.0 * static_cast<double>(grabados) / total,
                static_cast<double>(intentos) / static_cast<double>(resultados.size()));
    const bool bien = static_cast<long>(distintos.size()) == grabados &&
                      folios.GetRow(1)->Raw(1) == std::to_string(grabados) &&
                      q.GetRow(1)->Raw(1) == "0";
    std::printf(
        "  %zu distinct numbers, %s vouchers on the server, stock records off their "
        "start plus movements: %s of %s%s\n",
        distintos.size(), folios.GetRow(1)->Raw(1).c_str(), q.GetRow(1)->Raw(1).c_str(),
        registros.GetRow(1)->Raw(1).c_str(), bien ? "" : "  (WRONG RESULT)");
}

// The three nodes of the test cluster, or of one started here and stopped at the end.
class BenchCluster {
  public:
    BenchCluster() {
        if (const char* dir = std::getenv("VALES_TEST_GALERA_DIR")) {
            state_ = dir;
        } else {
            state_ = "/tmp/vales-bench-galera-" + std::to_string(::getpid());
            own_ = std::system(
                       (script("galera-start.sh") + " " + state_ + " >/dev/null").c_str()) == 0;
        }
        std::ifstream in(state_ + "/addresses");
        for (std::string line; std::getline(in, line);)
            if (!line.empty()) direcciones_.push_back(line);
    }
    ~BenchCluster() {
        if (own_)
            std::system((script("galera-stop.sh") + " " + state_ + " >/dev/null 2>&1").c_str());
    }
    const std::vector<std::string>& direcciones() const { return direcciones_; }

  private:
    static std::string script(const char* name) {
        return std::string(VALES_SOURCE_DIR) + "/scripts/" + name;
    }
    std::string state_;
    bool own_ = false;
    std::vector<std::string> direcciones_;
};

void medir_en_cluster() {
    BenchCluster cluster;
    if (cluster.direcciones().size() != 3) {
        std::printf("no Galera cluster could be started: the cluster is left out\n");
        return;
    }
    auto admin =
        TMySQLServer::New(cluster.direcciones()[0], datos::USUARIO_SERVIDOR, datos::CLAVE_SERVIDOR);
    if (admin->NetErr() || !preparar(*admin, cluster.direcciones()[0])) return;
    medir_concurrencia(*admin, cluster.direcciones(), "through the 3 nodes of a Galera cluster");
    admin->Query("drop database bench_vales");
}

}  // namespace

int main() {
    BenchServer server;
    if (!server.ok()) return 1;
    rt::VirtualBackend terminal;
    rt::Console consola(terminal);
    rt::install_console(&consola);
    auto admin =
        TMySQLServer::New(server.address(), datos::USUARIO_SERVIDOR, datos::CLAVE_SERVIDOR);
    if (admin->NetErr() || !preparar(*admin, server.address())) return 1;
    medir_un_vale(*admin, server.address());
    medir_concurrencia(*admin, {server.address()}, "on one server");
    admin->Query("drop database bench_vales");
    const char* sin_galera = std::getenv("VALES_BENCH_SIN_GALERA");
    if (!sin_galera || std::string(sin_galera) != "1") medir_en_cluster();
    return 0;
}
