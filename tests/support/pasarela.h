#pragma once
// A relay between the program and the test server, in a thread of the test: everything
// passes through unchanged until the test asks it to fall silent after a given statement.
// From then on the server still receives what the program sends, but its answers are held
// back: to the program the server has stopped answering right after that statement. Or it
// cuts that connection, as a network that fails at the worst moment.
//
//   prueba::Pasarela pasarela(prueba::direccion_mariadb());
//   auto srv = TMySQLServer::New(pasarela.direccion(), ...);
//   pasarela.callar_tras("COMMIT");
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace prueba {

class Pasarela {
  public:
    explicit Pasarela(const std::string& destino);  // "127.0.0.1:PORT"
    ~Pasarela();
    Pasarela(const Pasarela&) = delete;
    Pasarela& operator=(const Pasarela&) = delete;

    std::string direccion() const;  // where the program connects
    // After the first packet from the program that holds exactly this statement.
    void callar_tras(const std::string& sentencia);
    // Cuts that connection instead, on both sides, right after passing the statement on:
    // the server carries it out and the program never hears of it. Other connections pass.
    void cortar_tras(const std::string& sentencia);

  private:
    struct Par {
        int programa = -1, servidor = -1;
    };
    void correr();
    void reenviar(Par& par, bool del_programa);

    int escucha_ = -1;
    int despertar_[2] = {-1, -1};
    int puerto_destino_ = 0;
    int puerto_ = 0;
    std::vector<Par> pares_;
    std::mutex mutex_;
    std::string marca_;
    bool callado_ = false;
    bool cortar_ = false;
    std::thread hilo_;
};

}  // namespace prueba
