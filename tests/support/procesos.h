#pragma once
// Workstations at the same time: `procesos` child processes that start together (each
// should open its own connections), each running `trabajo(p, informar)` and reporting plain
// values of type R through `informar`; the parent gets every value reported, child by
// child, or nothing when a child did not end normally. Knows no test framework, so the
// benchmarks run their workstations with it too.
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <type_traits>
#include <vector>

namespace prueba {

template <class R>
std::optional<std::vector<R>> en_procesos(
    int procesos, const std::function<void(int, const std::function<void(const R&)>&)>& trabajo) {
    static_assert(std::is_trivially_copyable_v<R>);
    int largada[2];
    if (::pipe(largada) != 0) return std::nullopt;
    std::vector<std::pair<pid_t, int>> hijos;
    bool bien = true;
    for (int p = 0; p < procesos && bien; ++p) {
        int salida[2];
        bien = ::pipe(salida) == 0;  // without it, those started go and are waited for
        if (!bien) break;
        const pid_t hijo = ::fork();
        if (hijo == 0) {
            ::close(salida[0]);
            ::close(largada[1]);
            char x;
            if (::read(largada[0], &x, 1) != 0) ::_exit(3);  // all go when the pipe closes
            trabajo(p, [&](const R& r) {
                if (::write(salida[1], &r, sizeof r) != sizeof r) ::_exit(4);
            });
            ::_exit(0);
        }
        ::close(salida[1]);
        hijos.emplace_back(hijo, salida[0]);
    }
    ::close(largada[0]);
    ::close(largada[1]);
    std::vector<R> out;
    for (auto [hijo, fd] : hijos) {
        for (R r; ::read(fd, &r, sizeof r) == sizeof r;) out.push_back(r);
        ::close(fd);
        int status = 0;
        const bool esperado = ::waitpid(hijo, &status, 0) == hijo;
        bien = bien && esperado && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    if (!bien) return std::nullopt;
    return out;
}

}  // namespace prueba
