// The catalogue's writes: a change stored only over what was read, and a write whose answer
// never came told apart from one the server refused.
#include "datos/escritura.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "datos/servidores.h"
#include "runtime/server/server_wait.h"
#include "support/servidor_propio.h"

namespace {

std::string fila(TMySQLServer& srv) {
    auto q = srv.Query("select nombre, observ from prueba_escritura.t where id=1");
    return q.NetErr() || q.LastRec() != 1 ? "(sin fila)"
                                          : q.GetRow(1)->Raw(1) + "|" + q.GetRow(1)->Raw(2);
}

const std::string kLectura = "select nombre, observ from prueba_escritura.t where id=1";
const std::string kCambio = "update prueba_escritura.t set nombre='B', observ='mia' where id=1";

// A private server, frozen while a write waits for its answer: a lone statement may have
// been carried out (unknown), a change in a transaction never committed (refused, nothing
// written). Once the server wakes, the row is as the answer allows.
TEST(Escritura, AWriteWithoutAnswerIsUnknownAndAChangeNotCommittedLeavesTheRow) {
    prueba::OwnServer own;
    ASSERT_TRUE(own.started()) << own.logs();
    auto admin = TMySQLServer::New(own.address(), datos::USUARIO_SERVIDOR, datos::CLAVE_SERVIDOR);
    for (const char* s : {"create database prueba_escritura",
                          "create table prueba_escritura.t (id int primary key, nombre "
                          "varchar(10), observ text) engine=InnoDB"})
        ASSERT_FALSE(admin->Query(s).NetErr()) << admin->Error();
    struct Caso {
        bool en_transaccion;
        datos::Escritura::Estado estado;
        std::vector<std::string> filas_posibles;
    };
    const rt::ServerWait antes = rt::install_server_wait({{}, {}, {}, {}, 1.0});
    for (const Caso& c : {Caso{false, datos::Escritura::incierta, {"A|", "B|mia"}},
                          Caso{true, datos::Escritura::fallida, {"A|"}}}) {
        SCOPED_TRACE(c.en_transaccion ? "transaccion" : "sola");
        admin->Query("replace into prueba_escritura.t values (1, 'A', NULL)");
        auto srv = TMySQLServer::New(own.address(), datos::USUARIO_SERVIDOR, datos::CLAVE_SERVIDOR);
        ASSERT_TRUE(own.freeze());
        const datos::Escritura e =
            c.en_transaccion ? datos::escribir_si_sigue_igual(*srv, kLectura, {"A", ""}, kCambio)
                             : datos::escribir(*srv, kCambio);
        own.resume();
        EXPECT_EQ(e.estado, c.estado) << e.fallo.texto;
        // The server carries out what it got before it sees the connection gone: read
        // once every session but this one has ended.
        auto otra =
            TMySQLServer::New(own.address(), datos::USUARIO_SERVIDOR, datos::CLAVE_SERVIDOR);
        for (int i = 0; i < 500; ++i) {
            auto q = otra->Query(
                "select count(*) from information_schema.processlist where "
                "id<>connection_id() and command<>'Daemon'");
            if (!q.NetErr() && q.GetRow(1)->Raw(1) == "1") break;
            ::usleep(10000);
        }
        EXPECT_NE(std::find(c.filas_posibles.begin(), c.filas_posibles.end(), fila(*otra)),
                  c.filas_posibles.end())
            << fila(*otra);
    }
    rt::install_server_wait(antes);
}

}  // namespace
