// The download of master data against the raw bulk copy, on the same generated server data
// in the same run: about 100,000 products and 200,000 formula rows (306,520 rows copied in
// all, some rows on the server left out by the selects' filters).
//
//   raw bulk copy: per table, `mariadb --batch` of the same select piped into
//                  `sqlite3 .import` inside one transaction, into a fresh store
//   program:       " TODOS" of the download menu (virtual terminal) into a fresh store
//
// Each is run three times, alternating; the best time of each counts (other work on the
// machine only ever makes a run slower). Prints both rates and their ratio, the program's
// time for a second download over its existing copy, and checks that both copies hold the
// row counts the server's selects give.
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
#include "runtime/screen/keys.h"
#include "runtime/screen/virtual_backend.h"
#include "runtime/server/tmysql.h"
#include "vales/fuera_de_linea/DatosDesde_Servidor.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kDatabase = "bench_descarga";

// A local table, the program's select for it and the same select with the columns in the
// local table's order (what `.import` needs).
struct Tabla {
    const char* local;
    const char* seleccion;
    const char* importacion;
};
const Tabla kTablas[] = {
    {"prodvtas",
     "select codi_prod, desc_prod, codi_form, desc_form, l_vigente, l_activo from prodvtas "
     "where l_activo=true",
     "select codi_prod, codi_form, desc_prod, desc_form, l_vigente, l_activo from prodvtas "
     "where l_activo=true"},
    {"formulas",
     "select prd_sale,prd_buy,tipo_prd,consumo,codi_form from formulas where tipo_prd='I' and "
     "left(prd_buy,1)='9'",
     "select prd_sale,prd_buy,tipo_prd,consumo,codi_form from formulas where tipo_prd='I' and "
     "left(prd_buy,1)='9'"},
    {"prodcmp", "select codi_prod, desc_prod, unid_med from prodcmp where left(codi_prod,1)='9'",
     "select codi_prod, desc_prod, unid_med from prodcmp where left(codi_prod,1)='9'"},
    {"unidmed", "select codi_prod, codi_unid, desc_unid from unidmed where left(codi_prod,1)='9'",
     "select codi_prod, codi_unid, desc_unid from unidmed where left(codi_prod,1)='9'"},
    {"operario",
     "select codi_oper, nom_oper, codi_grupo, ope_activo, rut, digito_verif from operario ",
     "select codi_oper, nom_oper, codi_grupo, ope_activo, rut, digito_verif from operario "},
    {"bodegas", "select numero_bod, nombre_bod, l_vales from bodegas",
     "select numero_bod, nombre_bod from bodegas"},
};

// Rows 1..n of a generated table: "with recursive" counts them out on the server.
std::string numeros(long n) {
    return "with recursive n(i) as (select 1 union all select i + 1 from n where i < " +
           std::to_string(n) + ") ";
}

// The company tables with generated rows; the filters of the selects each leave some out.
bool generar(TMySQLServer& srv) {
    if (srv.Query("set session max_recursive_iterations = 1000000").NetErr()) return false;
    const std::string inserts[] = {
        // 100,000 active products, one formula each, and 1,000 inactive ones.
        "insert into prodvtas (codi_prod, codi_form, desc_prod, desc_form, l_activo, l_vigente) " +
            numeros(101000) +
            "select concat('P', lpad(i, 8, '0')), '001', concat('Ladrillo refractario ', i, "
            "' 230x114x65'), 'Formula estandar', i <= 100000, i % 7 <> 0 from n",
        // Two activities per product (200,000 rows), and 10,000 rows of other kinds.
        "insert into formulas (prd_sale, prd_buy, tipo_prd, codi_form, consumo) " +
            numeros(210000) +
            "select concat('P', lpad((i - 1) div 2 + 1, 8, '0'), '001'), "
            "if(i <= 200000, concat('9', lpad(i % 2000, 8, '0')), concat('1', lpad(i, 8, '0'))), "
            "if(i <= 205000, 'I', 'P'), '', (i % 1000) / 64 from n",
        "insert into prodcmp (codi_prod, desc_prod, unid_med) " + numeros(2500) +
            "select concat(if(i <= 2000, '9', '1'), lpad(i, 8, '0')), concat('Actividad ', i), "
            "'UN' from n",
        "insert into unidmed (codi_prod, codi_unid, desc_unid) " + numeros(4000) +
            "select concat('9', lpad(i div 2, 8, '0')), concat(lpad(i % 100, 3, '0'), "
            "if(i % 2 = 0, '   ', 'G01')), concat('Especificacion ', i) from n",
        "insert into operario (codi_oper, nom_oper, codi_grupo, ope_activo, rut, digito_verif) " +
            numeros(500) +
            "select i, concat('Operario ', i), 'G01', i % 10 <> 0, lpad(i, 8, '1'), 'K' from n",
        "insert into bodegas (numero_bod, nombre_bod, l_vales) " + numeros(20) +
            "select i, concat('Bodega ', i), 1 from n",
    };
    for (const auto& sql : inserts) {
        if (srv.Query(sql).NetErr()) {
            std::fprintf(stderr, "cannot generate the data: %s\n", srv.Error().c_str());
            return false;
        }
    }
    return true;
}

long contar_servidor(TMySQLServer& srv, const std::string& seleccion) {
    auto q = srv.Query("select count(*) from (" + seleccion + ") as filas");
    return static_cast<long>(q.FieldGet(1).number());
}

long contar_local(const std::string& store, const char* tabla) {
    rt::TODBC db(rt::offline_connection_string_for(store));
    db.SetSQL(std::string("select count(*) as cantidad from ") + tabla);
    return db.Open() ? std::atol(db.FieldValue("cantidad").c_str()) : -1;
}

std::string nuevo_store(const fs::path& folder, const std::string& name) {
    const std::string file = (folder / name).string();
    return rt::create_offline_store(file) == rt::StoreCreation::created ? file : std::string();
}

double segundos(const std::function<bool()>& run, bool& ok) {
    const auto t = std::chrono::steady_clock::now();
    ok = run() && ok;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

bool copia_directa(const std::string& cliente, const std::string& store, const fs::path& folder) {
    for (const Tabla& t : kTablas) {
        const fs::path script = folder / "copia.sh";
        std::FILE* f = std::fopen(script.c_str(), "w");
        if (!f) return false;
        std::fprintf(f,
                     "set -o pipefail\n%s --batch -N %s -e \"%s\" | sqlite3 %s "
                     "'PRAGMA synchronous=FULL' '.mode tabs' 'BEGIN' "
                     "'.import /dev/stdin %s' 'COMMIT' >/dev/null\n",
                     cliente.c_str(), kDatabase, t.importacion, store.c_str(), t.local);
        std::fclose(f);
        if (std::system(("bash " + script.string()).c_str()) != 0) {
            std::fprintf(stderr, "raw copy of %s failed\n", t.local);
            return false;
        }
    }
    return true;
}

bool descarga(rt::VirtualBackend& term, const std::string& store) {
    term.keys({rt::key::kEnter, 'x', rt::key::kEsc});  // TODOS, "Proceso terminado", leave
    vales::DATOSDESDE_SERVIDOR(rt::offline_connection_string_for(store));
    return true;
}

bool cuentas_iguales(TMySQLServer& srv, const std::string& store, const char* quien) {
    bool iguales = true;
    for (const Tabla& t : kTablas) {
        const long servidor = contar_servidor(srv, t.seleccion);
        const long local = contar_local(store, t.local);
        if (servidor != local) {
            std::printf("  WRONG RESULT (%s): %s holds %ld rows, the server selects %ld\n", quien,
                        t.local, local, servidor);
            iguales = false;
        }
    }
    return iguales;
}

}  // namespace

int main() {
    BenchServer server;
    if (!server.ok()) return 1;
    const std::string cliente = server.cliente();
    std::shared_ptr<TMySQLServer> srv = server.base_nueva(kDatabase);
    if (!srv || !generar(*srv)) return 1;
    long filas = 0;
    std::string detalle;
    for (const Tabla& t : kTablas) {
        const long n = contar_servidor(*srv, t.seleccion);
        filas += n;
        detalle += std::string(detalle.empty() ? "" : ", ") + t.local + " " + std::to_string(n);
    }
    std::printf("rows copied: %ld (%s)\n", filas, detalle.c_str());

    char pattern[] = "/tmp/vales-bench-descarga-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) return 1;
    const fs::path folder = pattern;

    rt::VirtualBackend term;
    rt::Console console{term};
    rt::Console* const previous_console = rt::install_console(&console);
    datos::Sesion sesion;
    sesion.LCONECTADO = true;
    sesion.OSERVER = srv;
    datos::Sesion* const previous_sesion = datos::install_sesion(&sesion);

    bool ok = true;
    double directa = 1e9, programa = 1e9, repetida = 1e9;
    for (int vuelta = 1; vuelta <= 3 && ok; ++vuelta) {
        const std::string raw = nuevo_store(folder, "directa" + std::to_string(vuelta) + ".mdb");
        const std::string prog = nuevo_store(folder, "programa" + std::to_string(vuelta) + ".mdb");
        ok = !raw.empty() && !prog.empty();
        directa =
            std::min(directa, segundos([&] { return copia_directa(cliente, raw, folder); }, ok));
        programa = std::min(programa, segundos([&] { return descarga(term, prog); }, ok));
        repetida = std::min(repetida, segundos([&] { return descarga(term, prog); }, ok));
        if (vuelta == 1) {
            ok = cuentas_iguales(*srv, raw, "raw copy") && ok;
            ok = cuentas_iguales(*srv, prog, "program") && ok;
        }
    }
    if (ok) {
        std::printf("raw bulk copy (mariadb --batch | sqlite3 .import): %6.3f s  %8.0f rows/s\n",
                    directa, filas / directa);
        std::printf("program download, \" TODOS\", fresh store:          %6.3f s  %8.0f rows/s\n",
                    programa, filas / programa);
        std::printf("program download over its existing copy:          %6.3f s  %8.0f rows/s\n",
                    repetida, filas / repetida);
        std::printf("ratio program / raw bulk copy: %.2f\n", directa / programa);
    }

    datos::install_sesion(previous_sesion);
    rt::install_console(previous_console);
    srv->Query(std::string("drop database ") + kDatabase);
    srv->Destroy();
    fs::remove_all(folder);
    return ok ? 0 : 1;
}
