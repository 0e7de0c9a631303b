#include "support/pasarela.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace prueba {
namespace {

sockaddr_in loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    return a;
}

bool escribir_todo(int fd, const char* data, ssize_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, data, static_cast<size_t>(n));
        if (w <= 0) return false;
        data += w;
        n -= w;
    }
    return true;
}

}  // namespace

Pasarela::Pasarela(const std::string& destino) {
    puerto_destino_ = std::stoi(destino.substr(destino.rfind(':') + 1));
    escucha_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = loopback(0);
    socklen_t len = sizeof a;
    if (escucha_ < 0 || ::bind(escucha_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::listen(escucha_, 8) != 0 ||
        ::getsockname(escucha_, reinterpret_cast<sockaddr*>(&a), &len) != 0 ||
        ::pipe(despertar_) != 0)
        throw std::runtime_error("pasarela: no se pudo escuchar");
    puerto_ = ntohs(a.sin_port);
    hilo_ = std::thread([this] { correr(); });
}

Pasarela::~Pasarela() {
    const char fin = 'f';
    if (::write(despertar_[1], &fin, 1) != 1) std::terminate();
    hilo_.join();
    for (Par& p : pares_) {
        ::close(p.programa);
        ::close(p.servidor);
    }
    ::close(escucha_);
    ::close(despertar_[0]);
    ::close(despertar_[1]);
}

std::string Pasarela::direccion() const {
    return "127.0.0.1:" + std::to_string(puerto_);
}

void Pasarela::callar_tras(const std::string& sentencia) {
    std::lock_guard<std::mutex> lock(mutex_);
    marca_ = std::string(1, '\x03') + sentencia;  // a statement as the protocol carries it
    cortar_ = false;
}

void Pasarela::cortar_tras(const std::string& sentencia) {
    callar_tras(sentencia);
    std::lock_guard<std::mutex> lock(mutex_);
    cortar_ = true;
}

void Pasarela::reenviar(Par& par, bool del_programa) {
    char buf[65536];
    const int de = del_programa ? par.programa : par.servidor;
    const ssize_t n = ::read(de, buf, sizeof buf);
    if (n <= 0) {
        ::close(par.programa);
        ::close(par.servidor);
        par = Par{};
        return;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (!del_programa && callado_) return;  // the answer never reaches the program
    escribir_todo(del_programa ? par.servidor : par.programa, buf, n);
    // A packet is a 4-byte header and its payload: the statement fills the payload exactly.
    if (del_programa && !marca_.empty() && n == static_cast<ssize_t>(marca_.size()) + 4 &&
        std::string(buf + 4, static_cast<size_t>(n - 4)) == marca_) {
        if (!cortar_) {
            callado_ = true;
            return;
        }
        // The server has the statement and carries it out; its answer has nowhere to go.
        marca_.clear();
        ::close(par.programa);
        ::close(par.servidor);
        par = Par{};
    }
}

void Pasarela::correr() {
    for (;;) {
        std::vector<pollfd> fds = {{despertar_[0], POLLIN, 0}, {escucha_, POLLIN, 0}};
        for (const Par& p : pares_) {
            fds.push_back({p.programa, POLLIN, 0});
            fds.push_back({p.servidor, POLLIN, 0});
        }
        if (::poll(fds.data(), fds.size(), -1) < 0) continue;
        if (fds[0].revents) return;
        for (std::size_t i = 0; i < pares_.size(); ++i) {
            if (pares_[i].programa < 0) continue;
            if (fds[2 + 2 * i].revents) reenviar(pares_[i], true);
            if (pares_[i].programa >= 0 && fds[3 + 2 * i].revents) reenviar(pares_[i], false);
        }
        if (fds[1].revents) {
            Par p;
            p.programa = ::accept(escucha_, nullptr, nullptr);
            p.servidor = ::socket(AF_INET, SOCK_STREAM, 0);
            const sockaddr_in a = loopback(puerto_destino_);
            if (::connect(p.servidor, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) {
                pares_.push_back(p);
            } else {
                ::close(p.programa);
                ::close(p.servidor);
            }
        }
    }
}

}  // namespace prueba
