#pragma once
// The MariaDB server a benchmark measures against: the test server named by
// VALES_TEST_MARIADB_DIR when there is one, otherwise a private empty one started here with
// scripts/mariadb-start.sh --bare and stopped when this object goes.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "datos/servidores.h"
#include "runtime/server/tmysql.h"

class BenchServer {
  public:
    BenchServer() {
        if (const char* dir = std::getenv("VALES_TEST_MARIADB_DIR")) {
            state_ = dir;
            return;
        }
        state_ = "/tmp/vales-bench-mariadb-" + std::to_string(::getpid());
        own_ = true;
        started_ =
            std::system((script("mariadb-start.sh") + " " + state_ + " --bare").c_str()) == 0;
    }
    ~BenchServer() {
        if (!own_) return;
        std::system((script("mariadb-stop.sh") + " " + state_ + " >/dev/null 2>&1").c_str());
        std::filesystem::remove_all(state_);
    }
    BenchServer(const BenchServer&) = delete;
    BenchServer& operator=(const BenchServer&) = delete;

    bool ok() const { return started_ && !address().empty(); }
    // "127.0.0.1:PORT"
    std::string address() const {
        std::ifstream in(state_ + "/address");
        std::string line;
        std::getline(in, line);
        return line;
    }

    // The command-line client on this server, as the program's account; the password goes
    // through the environment, never on a command line.
    std::string cliente() const {
        const std::string a = address();
        const auto colon = a.rfind(':');
        ::setenv("MYSQL_PWD", std::string(datos::CLAVE_SERVIDOR).c_str(), 1);
        return "mariadb --no-defaults --default-character-set=latin1 -h " + a.substr(0, colon) +
               " -P " + a.substr(colon + 1) + " -u " + std::string(datos::USUARIO_SERVIDOR);
    }

    // A connection to a new company database `name` with the tables of sql/schema.sql and
    // sql/objetos_adicionales.sql and no rows (one left by an earlier run is dropped first);
    // nothing when it cannot be made.
    std::shared_ptr<TMySQLServer> base_nueva(const std::string& name) const {
        std::shared_ptr<TMySQLServer> srv =
            TMySQLServer::New(address(), datos::USUARIO_SERVIDOR, datos::CLAVE_SERVIDOR);
        if (srv->NetErr()) return nullptr;
        srv->Query("drop database if exists " + name);
        srv->Query("create database " + name + " character set latin1 collate latin1_swedish_ci");
        if (!srv->SelectDB(name)) return nullptr;
        for (const char* file : {"schema.sql", "objetos_adicionales.sql"}) {
            const std::string sql =
                (std::filesystem::path(VALES_SOURCE_DIR) / "sql" / file).string();
            if (std::system((cliente() + " " + name + " < " + sql).c_str()) != 0) return nullptr;
        }
        return srv;
    }

  private:
    static std::string script(const char* name) {
        return (std::filesystem::path(VALES_SOURCE_DIR) / "scripts" / name).string();
    }
    std::string state_;
    bool own_ = false;
    bool started_ = true;
};
