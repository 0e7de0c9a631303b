// The download of master data on large tables: the whole operation (server select, the
// local delete and one insert per row inside the table's transaction) for 5,000 to 50,000
// formula rows, on a fresh off-line store, through a virtual terminal.
//
// Runs against the server in $VALES_TEST_MARIADB_DIR when set, otherwise starts a private
// one of its own with scripts/mariadb-start.sh and stops it at the end.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bench_mariadb.h"
#include "runtime/offline/store_creation.h"
#include "runtime/offline/todbc.h"
#include "runtime/screen/console.h"
#include "runtime/screen/keys.h"
#include "runtime/screen/virtual_backend.h"
#include "runtime/server/tmysql.h"
#include "vales/DatosDesde_Servidor.h"
#include "vales/servidores.h"
#include "comun/sesion.h"

namespace {}  // namespace

int main() {
    namespace fs = std::filesystem;
    BenchServer server;
    if (!server.ok()) return 1;
    std::shared_ptr<TMySQLServer> srv =
        TMySQLServer::New(server.address(), vales::USUARIO_SERVIDOR, vales::CLAVE_SERVIDOR);
    if (srv->NetErr()) return 1;
    srv->Query("create database if not exists bench_descarga");
    srv->SelectDB("bench_descarga");
    srv->Query("drop table if exists formulas");
    srv->Query(
        "create table formulas (id int primary key, prd_sale char(12), prd_buy char(9), "
        "tipo_prd char(1), codi_form char(3), consumo decimal(14,5)) engine=InnoDB");

    const fs::path folder =
        fs::temp_directory_path() / ("vales-bench-descarga-" + std::to_string(::getpid()));
    const std::string store = (folder / "vales.mdb").string();
    if (rt::create_offline_store(store) == rt::StoreCreation::failed) return 1;

    rt::VirtualBackend term;
    rt::Console console{term};
    rt::Console* const previous_console = rt::install_console(&console);
    vales::Sesion sesion;
    sesion.LCONECTADO = true;
    sesion.OSERVER = srv;
    vales::Sesion* const previous_sesion = vales::install_sesion(&sesion);

    for (int rows : {5000, 20000, 50000}) {
        srv->Query("delete from formulas");
        std::string sql = "insert into formulas values ";
        for (int i = 0; i < rows; ++i) {
            if (i) sql += ',';
            sql += "(" + std::to_string(i) + ",'L01AA0" +
                   std::to_string(100000 + i / 10).substr(1) + "','9000" +
                   std::to_string(10000 + i % 10000).substr(1) + "','I','',1.25)";
        }
        srv->Query(sql);

        // Formulas is the third entry; the closing message box and Esc end the operation.
        term.keys({rt::key::kDown, rt::key::kDown, rt::key::kEnter, 'x', rt::key::kEsc});
        const auto t = std::chrono::steady_clock::now();
        vales::DATOSDESDE_SERVIDOR(rt::offline_connection_string_for(store));
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();

        rt::TODBC check(rt::offline_connection_string_for(store));
        check.SetSQL("select count(*) as cantidad from formulas");
        const bool right = check.Open() && check.FieldValue("cantidad") == std::to_string(rows);
        std::printf("%6d rows: download %8.1f ms (%.0f rows/s)%s\n", rows, ms, rows * 1000.0 / ms,
                    right ? "" : "  (WRONG RESULT)");
    }
    vales::install_sesion(previous_sesion);
    rt::install_console(previous_console);
    srv->Query("drop database bench_descarga");
    srv->Destroy();
    fs::remove_all(folder);
    return 0;
}
