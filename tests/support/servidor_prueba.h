#pragma once
// The private MariaDB server of the test run. CTest starts it before the first test that
// declares the fixture "mariadb" and stops it after the last (tests/CMakeLists.txt); such a
// test finds it through the environment variable VALES_TEST_MARIADB_DIR, the server's state
// folder, whose file "address" holds "127.0.0.1:PORT". The server holds the company
// databases velmo, tarsin and test with the demo data of sql/, and the administrator
// account of the program.
//
//   auto srv = prueba::conectar_mariadb("test");   // connected, database selected
//   std::string addr = prueba::direccion_mariadb();
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "datos/servidores.h"
#include "runtime/server/tmysql.h"

namespace prueba {

inline std::string carpeta_mariadb() {
    const char* dir = std::getenv("VALES_TEST_MARIADB_DIR");
    return dir ? std::string(dir) : std::string();
}

inline std::string leer_linea(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// "127.0.0.1:PORT", or empty text when no test server is running.
inline std::string direccion_mariadb() {
    const std::string dir = carpeta_mariadb();
    return dir.empty() ? std::string() : leer_linea(dir + "/address");
}

// A connection as the program opens it (administrator account) with `db` selected.
// Fails the current test when there is no server.
inline std::unique_ptr<TMySQLServer> conectar_mariadb(std::string_view db = "test") {
    const std::string address = direccion_mariadb();
    EXPECT_FALSE(address.empty())
        << "no test server: run the tests through ctest (fixture \"mariadb\"), or set "
           "VALES_TEST_MARIADB_DIR to the folder given to scripts/mariadb-start.sh";
    auto srv = TMySQLServer::New(address, datos::USUARIO_SERVIDOR, datos::CLAVE_SERVIDOR);
    EXPECT_FALSE(srv->NetErr()) << "cannot connect to " << address << ": " << srv->Error();
    if (!db.empty()) {
        EXPECT_TRUE(srv->SelectDB(db)) << srv->Error();
    }
    return srv;
}

// The rows of `sql` on `srv`, each as "value|value|..." (values as the server sends them).
// Fails the current test when the statement fails.
inline std::vector<std::string> filas(TMySQLServer& srv, const std::string& sql) {
    auto q = srv.Query(sql);
    EXPECT_FALSE(q.NetErr()) << sql << ": " << srv.Error();
    std::vector<std::string> out;
    for (long n = 1; n <= q.LastRec(); ++n) {
        const auto row = q.GetRow(n);
        std::string line;
        for (int i = 1; i <= row->FCount(); ++i) line += (i > 1 ? "|" : "") + row->Raw(i);
        out.push_back(line);
    }
    return out;
}

}  // namespace prueba
