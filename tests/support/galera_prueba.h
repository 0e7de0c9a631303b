#pragma once
// The private three-node Galera cluster of the test run. CTest starts it before the first
// test that declares the fixture "galera" and stops it after the last (tests/CMakeLists.txt);
// such a test finds it through the environment variable VALES_TEST_GALERA_DIR, the
// cluster's state folder, whose file "addresses" holds one line "127.0.0.1:PORT" per node,
// node 1 first. Every node holds the database test with the demo data of sql/ (loaded
// through node 1, copied and replicated to the others) and the administrator account of
// the program.
//
//   auto nodo3 = prueba::conectar_galera(3);   // connected to node 3, database test selected
//   std::vector<std::string> addrs = prueba::direcciones_galera();
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support/servidor_prueba.h"

namespace prueba {

inline std::string carpeta_galera() {
    const char* dir = std::getenv("VALES_TEST_GALERA_DIR");
    return dir ? std::string(dir) : std::string();
}

// "127.0.0.1:PORT" of each node, node 1 first; none when no cluster is running.
inline std::vector<std::string> direcciones_galera() {
    std::vector<std::string> out;
    const std::string dir = carpeta_galera();
    if (dir.empty()) return out;
    std::ifstream in(dir + "/addresses");
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) out.push_back(line);
    }
    return out;
}

// A connection as the program opens it (administrator account) to node `nodo` (1 to 3)
// with `db` selected. Fails the current test when there is no cluster or no such node.
inline std::unique_ptr<TMySQLServer> conectar_galera(int nodo, std::string_view db = "test") {
    const auto addresses = direcciones_galera();
    const bool known = nodo >= 1 && static_cast<std::size_t>(nodo) <= addresses.size();
    EXPECT_TRUE(known) << "no node " << nodo << " in the test cluster: run the tests through "
                       << "ctest (fixture \"galera\"), or set VALES_TEST_GALERA_DIR to the "
                          "folder given to scripts/galera-start.sh";
    const std::string address = known ? addresses[static_cast<std::size_t>(nodo - 1)] : "";
    auto srv = TMySQLServer::New(address, datos::USUARIO_SERVIDOR, datos::CLAVE_SERVIDOR);
    EXPECT_FALSE(srv->NetErr()) << "cannot connect to node " << nodo << " (" << address
                                << "): " << srv->Error();
    if (!db.empty()) {
        EXPECT_TRUE(srv->SelectDB(db)) << srv->Error();
    }
    return srv;
}

}  // namespace prueba
