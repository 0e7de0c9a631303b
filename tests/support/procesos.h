#pragma once
// Workstations at the same time: `procesos` child processes that start together (each
// should open its own connections), each running `trabajo(p, informar)` and reporting plain
// values of type R through `informar`; the parent gets every value reported, child by
// child, and expects every child to end normally.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <type_traits>
#include <vector>

namespace prueba {

template <class R>
std::vector<R> en_procesos(
    int procesos, const std::function<void(int, const std::function<void(const R&)>&)>& trabajo) {
    static_assert(std::is_trivially_copyable_v<R>);
    int largada[2];
    EXPECT_EQ(::pipe(largada), 0);
    std::vector<std::pair<pid_t, int>> hijos;
    for (int p = 0; p < procesos; ++p) {
        int salida[2];
        EXPECT_EQ(::pipe(salida), 0);
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
        EXPECT_EQ(::waitpid(hijo, &status, 0), hijo);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    return out;
}

}  // namespace prueba
