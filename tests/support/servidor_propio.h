#pragma once
// A MariaDB server of one test alone (no databases, the program's administrator account),
// so that it can be stopped or killed without disturbing the others. It is started with
// the scripts of the run's shared server (tests/support/servidor_prueba.h) and removed
// when the object goes; a server left frozen by the test is let go first.
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/servidor_prueba.h"

namespace prueba {

class OwnServer {
  public:
    OwnServer() {
        const std::string state = carpeta_mariadb();
        scripts_ = leer_linea(state + "/scripts");
        dir_ = state + "-kill-" + std::to_string(::getpid());
        const std::string cmd =
            scripts_ + "/mariadb-start.sh '" + dir_ + "' --bare >/dev/null 2>&1";
        started_ = !scripts_.empty() && std::system(cmd.c_str()) == 0;
    }
    ~OwnServer() {
        if (scripts_.empty()) return;
        if (started_) resume();
        std::system((scripts_ + "/mariadb-stop.sh '" + dir_ + "' >/dev/null 2>&1").c_str());
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    OwnServer(const OwnServer&) = delete;
    OwnServer& operator=(const OwnServer&) = delete;

    bool started() const { return started_; }
    // Why it did not start: the end of the install and error logs.
    std::string logs() const {
        std::string text;
        for (const char* name : {"/install.log", "/error.log"}) {
            std::ifstream in(dir_ + name);
            std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            text +=
                name + std::string(":\n") + all.substr(all.size() > 1500 ? all.size() - 1500 : 0);
        }
        return text;
    }
    std::string address() const { return leer_linea(dir_ + "/address"); }
    pid_t pid() const { return static_cast<pid_t>(std::stol(leer_linea(dir_ + "/pid"))); }
    // A hung server: the kernel still takes connections and statements, nobody answers.
    // The stop reaches the server's threads a moment after kill() returns: on a loaded
    // machine a thread could still answer a statement sent meanwhile, so this waits until
    // every thread shows as stopped.
    bool freeze() const {
        const pid_t p = pid();
        if (::kill(p, SIGSTOP) != 0) return false;
        for (int i = 0; i < 500; ++i) {
            if (all_threads_stopped(p)) return true;
            ::usleep(2000);
        }
        return false;
    }
    void resume() const { ::kill(pid(), SIGCONT); }

  private:
    static bool all_threads_stopped(pid_t p) {
        std::error_code ec;
        const std::string tasks = "/proc/" + std::to_string(p) + "/task";
        for (const auto& task : std::filesystem::directory_iterator(tasks, ec)) {
            std::ifstream stat(task.path() / "stat");
            std::string line;
            std::getline(stat, line);
            // "pid (name) S ...": the state follows the last closing parenthesis.
            const std::size_t close = line.rfind(')');
            if (close == std::string::npos || close + 2 >= line.size()) return false;
            const char state = line[close + 2];
            if (state != 'T' && state != 't') return false;
        }
        return !ec;
    }

    std::string scripts_, dir_;
    bool started_ = false;
};

}  // namespace prueba
