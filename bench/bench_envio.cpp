// The batch upload of 1,000 vouchers recorded off-line against the on-line save of the same
// vouchers, in the same run, on the same server.
//
//   upload:  main-menu entry 7 (virtual terminal) over a store holding 1,000 pending
//            vouchers: for each, the look-up of its origin, the save with its origin, the
//            local mark
//   on-line: GRABARVALE_SERVIDOR of the same 1,000 vouchers, one after the other
//
// Each is run twice, alternating, on fresh copies; the best time of each counts. Prints
// both rates and their ratio, and checks that every voucher reached the server once and
// every local voucher is marked sent.
//
// Runs against the server in $VALES_TEST_MARIADB_DIR when set, otherwise starts a private
// one of its own with scripts/mariadb-start.sh and stops it at the end.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench_mariadb.h"
#include "datos/servidores.h"
#include "datos/sesion.h"
#include "runtime/offline/store_creation.h"
#include "runtime/offline/todbc.h"
#include "runtime/screen/console.h"
#include "runtime/screen/virtual_backend.h"
#include "runtime/server/tmysql.h"
#include "vales/en_linea/vales_ingreso_on_line.h"
#include "vales/fuera_de_linea/DatosHacia_Servidor.h"
#include "vales/fuera_de_linea/vales_ingreso_off_line.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kDatabase = "bench_envio";
constexpr int kVales = 1000;

bool cargar(const std::string& cliente, const char* archivo) {
    const std::string sql = (fs::path(VALES_SOURCE_DIR) / "sql" / archivo).string();
    return std::system((cliente + " " + kDatabase + " < " + sql).c_str()) == 0;
}

// The demo catalogue over the new database's tables, its users (juan may enter vouchers) and stock
// enough for every run.
bool preparar_servidor(TMySQLServer& srv, const std::string& cliente) {
    if (!cargar(cliente, "demo_comun.sql") || !cargar(cliente, "demo_test.sql")) return false;
    return !srv.Query("update stock_bodegas set stock = 1e9 where numero_bod = 1").NetErr();
}

// Voucher i: brick L01AA0110 001 in warehouse 1, its three activities, one of them split.
vales::DatosCab cabecera(int i) {
    vales::DatosCab cab;
    cab.producto = "L01AA0110";
    cab.formula = "001";
    cab.bodega = 1;
    cab.fecha = *rt::Fecha::from_ymd(2026, 12, 1 + i % 28);
    cab.cantidad = 100 + i % 50;
    cab.malas = i % 3;
    return cab;
}
std::vector<vales::DatosItm> items(int i) {
    const double q = 100 + i % 50;
    auto item = [](const char* act, double oper, const char* spec, double unit, double cant) {
        vales::DatosItm it = vales::item_nuevo(act, unit, cant);
        it.operario = oper;
        it.especificacion = spec;
        it.hora_inicio = "08:00";
        it.hora_termino = "16:30";
        return it;
    };
    return {item("900000001", 1, "A01", 1, q / 2), item("900000001", 3, "A02", 1, q / 2),
            item("900000003", 6, "C01", 1, q), item("900000004", 2, "D01", 0.02, q)};
}

std::string almacen_con_vales(const fs::path& folder, const std::string& nombre) {
    const std::string file = (folder / nombre).string();
    if (rt::create_offline_store(file) != rt::StoreCreation::created) return {};
    rt::TODBC db(rt::offline_connection_string_for(file));
    db.SetSQL(
        "insert into prodvtas (codi_prod, desc_prod, codi_form, desc_form, l_vigente, l_activo) "
        "values ('L01AA0110', 'Ladrillo', '001', 'Estandar', true, true)");
    if (!db.Open()) return {};
    for (int i = 0; i < kVales; ++i)
        if (!vales::GRABARVALE_LOCAL(db, cabecera(i), items(i))) return {};
    return file;
}

double segundos(const std::function<bool()>& run, bool& ok) {
    const auto t = std::chrono::steady_clock::now();
    ok = run() && ok;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

long valor(TMySQLServer& srv, const std::string& sql) {
    return static_cast<long>(srv.Query(sql).FieldGet(1).number());
}

bool envio(rt::VirtualBackend& term, TMySQLServer& srv, const std::string& store) {
    const long antes = valor(srv, "select count(*) from vales_identidad");
    term.keys({'S'});
    vales::DATOSHACIA_SERVIDOR(rt::offline_connection_string_for(store));
    rt::TODBC db(rt::offline_connection_string_for(store));
    db.SetSQL("select count(*) as n from vales_cab where c_estado='2'");
    const bool marcados = db.Open() && db.FieldValue("n") == std::to_string(kVales);
    const bool recibidos = valor(srv, "select count(*) from vales_identidad") - antes == kVales;
    if (!marcados || !recibidos) std::printf("  WRONG RESULT: upload incomplete\n");
    return marcados && recibidos;
}

bool en_linea() {
    for (int i = 0; i < kVales; ++i)
        if (vales::GRABARVALE_SERVIDOR(cabecera(i), items(i)) == 0) return false;
    return true;
}

}  // namespace

int main() {
    BenchServer server;
    if (!server.ok()) return 1;
    const std::string cliente = server.cliente();
    std::shared_ptr<TMySQLServer> srv = server.base_nueva(kDatabase);
    if (!srv || !preparar_servidor(*srv, cliente)) return 1;

    char pattern[] = "/tmp/vales-bench-envio-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) return 1;
    const fs::path folder = pattern;
    const fs::path trabajo = fs::current_path();
    fs::current_path(folder);  // the work tables go to temp/ under it

    rt::VirtualBackend term;
    rt::Console console{term};
    rt::Console* const previous_console = rt::install_console(&console);
    datos::Sesion sesion;
    sesion.LCONECTADO = true;
    sesion.OSERVER = srv;
    sesion.COD_USUARIO = "juan";
    datos::Sesion* const previous_sesion = datos::install_sesion(&sesion);

    bool ok = true;
    double subida = 1e9, directa = 1e9;
    for (int vuelta = 1; vuelta <= 2 && ok; ++vuelta) {
        const std::string store = almacen_con_vales(folder, "vales" + std::to_string(vuelta));
        ok = !store.empty();
        if (!ok) std::printf("cannot fill a store with %d vouchers\n", kVales);
        if (ok) subida = std::min(subida, segundos([&] { return envio(term, *srv, store); }, ok));
        if (ok) directa = std::min(directa, segundos(en_linea, ok));
    }
    if (ok) {
        std::printf("vouchers per run: %d (4 activity items, 3 ingredients each)\n", kVales);
        std::printf("upload of the pending vouchers (entry 7): %6.3f s  %7.1f vouchers/s\n", subida,
                    kVales / subida);
        std::printf("on-line save of the same vouchers:        %6.3f s  %7.1f vouchers/s\n",
                    directa, kVales / directa);
        std::printf("ratio upload / on-line save: %.2f\n", directa / subida);
    }

    datos::install_sesion(previous_sesion);
    rt::install_console(previous_console);
    fs::current_path(trabajo);
    srv->Query(std::string("drop database ") + kDatabase);
    srv->Destroy();
    fs::remove_all(folder);
    return ok ? 0 : 1;
}
