#pragma once
// The MariaDB server a benchmark measures against: the test server named by
// VALES_TEST_MARIADB_DIR when there is one, otherwise a private empty one started here with
// scripts/mariadb-start.sh --bare and stopped when this object goes.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

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

  private:
    static std::string script(const char* name) {
        return (std::filesystem::path(VALES_SOURCE_DIR) / "scripts" / name).string();
    }
    std::string state_;
    bool own_ = false;
    bool started_ = true;
};
