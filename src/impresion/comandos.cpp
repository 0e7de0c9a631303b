#include "impresion/comandos.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>

extern char** environ;

namespace impresion {
namespace {

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) close(fd);
    }
};

double restante(std::chrono::steady_clock::time_point limite) {
    return std::chrono::duration<double>(limite - std::chrono::steady_clock::now()).count();
}

}  // namespace

ResultadoComando ejecutar_comando(const std::vector<std::string>& argv, double segundos) {
    ResultadoComando r;
    if (argv.empty()) return r;
    int tubo[2];
    if (pipe2(tubo, O_CLOEXEC) != 0) return r;
    Descriptor lectura{tubo[0]}, escritura{tubo[1]};

    posix_spawn_file_actions_t acciones;
    posix_spawn_file_actions_init(&acciones);
    posix_spawn_file_actions_addopen(&acciones, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&acciones, escritura.fd, 1);
    posix_spawn_file_actions_adddup2(&acciones, escritura.fd, 2);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, args[0], &acciones, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&acciones);
    if (error != 0) return r;
    r.encontrado = true;
    close(escritura.fd);
    escritura.fd = -1;

    const auto limite = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(static_cast<long>(segundos * 1000));
    int status = 0;
    bool terminado = false;
    bool abierto = true;
    while (!terminado) {
        const double queda = restante(limite);
        if (queda <= 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            r.vencido = true;
            return r;
        }
        if (abierto) {
            pollfd p{lectura.fd, POLLIN, 0};
            const int listo = poll(&p, 1, static_cast<int>(std::min(queda, 0.2) * 1000) + 1);
            if (listo > 0) {
                char buf[4096];
                const ssize_t n = read(lectura.fd, buf, sizeof buf);
                if (n > 0) {
                    r.salida.append(buf, static_cast<std::size_t>(n));
                } else if (n == 0 || errno != EINTR) {
                    abierto = false;
                }
            }
        } else {
            usleep(10000);
        }
        terminado = waitpid(pid, &status, WNOHANG) == pid;
    }
    // Whatever the program wrote just before it ended.
    for (;;) {
        char buf[4096];
        pollfd p{lectura.fd, POLLIN, 0};
        if (!abierto || poll(&p, 1, 0) <= 0) break;
        const ssize_t n = read(lectura.fd, buf, sizeof buf);
        if (n <= 0) break;
        r.salida.append(buf, static_cast<std::size_t>(n));
    }
    r.estado = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    // The shell's "not found".
    if (r.estado == 127) r.encontrado = false;
    return r;
}

bool hay_pantalla_grafica() {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* v = std::getenv(variable);
        if (v && *v) return true;
    }
    return false;
}

bool abrir_con_programa_asociado(const std::string& ruta) {
    if (!hay_pantalla_grafica()) return false;
    // The shell starts the opener in the background and ends at once, so nothing waits
    // for the viewer to be closed and no child is left behind unreaped.
    const ResultadoComando r = ejecutar_comando({"sh", "-c",
                                                 "command -v xdg-open >/dev/null 2>&1 || exit 127; "
                                                 "xdg-open \"$1\" >/dev/null 2>&1 </dev/null &",
                                                 "sh", ruta},
                                                5);
    return r.ok();
}

}  // namespace impresion
