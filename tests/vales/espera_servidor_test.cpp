// A server slow to answer, or silent for good: the wait runs on the program's clock (the
// virtual one here), the user is told, and the keys typed meanwhile reach the screen that
// reads keys next instead of being taken by the message boxes.
#include "vales/espera_servidor.h"

#include <gtest/gtest.h>

#include <chrono>

#include "abm/abm_rutinas.h"
#include "runtime/server/server_wait.h"
#include "support/servidor_propio.h"
#include "support/servidor_prueba.h"
#include "ui/rutinas2.h"
#include "vales/vales_fixture.h"

namespace {

using rt::key::kEnter;
using Clock = std::chrono::steady_clock;

class EsperaServidor : public testing_support::ValesTest {
  protected:
    EsperaServidor() : previo_(rt::server_wait()) {
        vales::instalar_espera_servidor();
        console.set_colour("w/b,+w/r");
        console.clear_screen();
        ui::MSG("Linea de mensajes de la pantalla");
    }
    ~EsperaServidor() override { rt::install_server_wait(previo_); }

    std::string en_espera(std::size_t n, int row) const {
        return testing_support::grid_row_text(term.snapshots().at(n).grid, row);
    }

  private:
    rt::ServerWait previo_;
};

TEST_F(EsperaServidor, SilentServerIsGivenUpWithAMessageAndTypedKeysSurvive) {
    prueba::OwnServer own;
    ASSERT_TRUE(own.started()) << own.logs();
    sesion.OSERVER =
        TMySQLServer::New(own.address(), datos::USUARIO_SERVIDOR, datos::CLAVE_SERVIDOR);
    ASSERT_TRUE(sesion.OSERVER->connected()) << sesion.OSERVER->Error();
    sesion.LCONECTADO = true;
    const rt::Grid antes = console.grid();

    ASSERT_TRUE(own.freeze());
    term.type_ahead('1').type_ahead('2').type_ahead(kEnter);  // typed while nothing moves
    term.keys({'x', 'y'});                                    // then one key for each message box
    const auto t0 = Clock::now();
    EXPECT_FALSE(abm::EXISTE_PRODUCTO("L01AA0110", false, true));
    const double real = std::chrono::duration<double>(Clock::now() - t0).count();
    own.resume();

    EXPECT_LT(real, 10.0);
    EXPECT_GE(console.monotonic(), 30.0);
    EXPECT_LT(console.monotonic(), 31.0) << "given up at the limit, boxes closed by a key";
    ASSERT_EQ(term.snapshots().size(), 2u);
    EXPECT_NE(en_espera(0, 16).find(vales::kServidorNoResponde), std::string::npos)
        << en_espera(0, 16);
    EXPECT_NE(en_espera(0, 35).find("Esperando respuesta del servidor... 29 s"), std::string::npos)
        << en_espera(0, 35);
    EXPECT_NE(en_espera(1, 16).find("Código no existe"), std::string::npos);
    EXPECT_NE(en_espera(1, 35).find("Linea de mensajes de la pantalla"), std::string::npos)
        << "the waiting notice is gone";
    EXPECT_TRUE(console.grid() == antes);
    EXPECT_FALSE(sesion.LCONECTADO) << "the connection was closed: the user connects again";
    EXPECT_FALSE(sesion.OSERVER->connected());
    EXPECT_TRUE(term.script_empty());
    EXPECT_EQ(typed_keys(), (std::vector<int>{'1', '2', kEnter}));
}

// The server closed the session (stopped, restarted, or as here killed by an
// administrator): the connection is closed here too, the user is told once to connect
// again, and the title line will say so, instead of every later statement failing with
// messages about something else.
TEST_F(EsperaServidor, AConnectionTheServerClosedEndsTheSessionWithAMessage) {
    sesion.OSERVER = prueba::conectar_mariadb("test");
    sesion.LCONECTADO = true;
    const std::string id = sesion.OSERVER->Query("select connection_id()").GetRow(1)->Raw(1);
    auto admin = prueba::conectar_mariadb("test");
    ASSERT_FALSE(admin->Query("kill connection " + id).NetErr());
    const rt::Grid antes = console.grid();

    term.type_ahead('7');
    term.keys({'x', 'y'});  // one key for each message box
    EXPECT_FALSE(abm::EXISTE_PRODUCTO("L01AA0110", false, true));
    ASSERT_EQ(term.snapshots().size(), 2u);
    EXPECT_NE(en_espera(0, 16).find(vales::kConexionPerdida), std::string::npos)
        << en_espera(0, 16);
    EXPECT_NE(en_espera(1, 16).find("Código no existe"), std::string::npos);
    EXPECT_FALSE(sesion.LCONECTADO);
    EXPECT_FALSE(sesion.OSERVER->connected());
    EXPECT_FALSE(abm::EXISTE_PRODUCTO("L01AA0110"));
    EXPECT_EQ(term.snapshots().size(), 2u) << "told once";
    EXPECT_TRUE(console.grid() == antes);
    EXPECT_EQ(typed_keys(), (std::vector<int>{'7'}));
}

TEST_F(EsperaServidor, SlowAnswerIsWaitedForAndTypedKeysAreKeptInOrder) {
    sesion.OSERVER = prueba::conectar_mariadb("test");
    sesion.LCONECTADO = true;
    const rt::Grid antes = console.grid();
    term.type_ahead('a').type_ahead('b');
    auto q = sesion.OSERVER->Query("select sleep(0.5) as s, 'listo' as t");
    EXPECT_FALSE(q.NetErr()) << q.Error();
    EXPECT_EQ(q.FieldGet("t").text(), "listo");
    EXPECT_GT(console.monotonic(), 0.0) << "the wait ran on the program's clock";
    EXPECT_TRUE(term.snapshots().empty()) << "no message box";
    EXPECT_TRUE(console.grid() == antes);
    EXPECT_TRUE(sesion.LCONECTADO);
    EXPECT_EQ(typed_keys(), (std::vector<int>{'a', 'b'}));
}

}  // namespace
