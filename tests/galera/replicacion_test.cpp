// The Galera cluster of the test run (fixture "galera") is what the tests on it rely on:
// what one node commits the others read, and two nodes that change one row at the same
// time cannot both commit.
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "support/galera_prueba.h"

namespace {

using namespace std::chrono_literals;

std::string valor(TMySQLServer& srv, const std::string& sql) {
    const auto rows = prueba::filas(srv, sql);
    return rows.empty() ? std::string() : rows.front();
}

// A read on node `nodo` after the node has applied everything the cluster committed
// before it (wsrep_sync_wait): what it gives is final, no later change is on its way.
std::string valor_al_dia(int nodo, const std::string& sql) {
    auto srv = prueba::conectar_galera(nodo);
    EXPECT_FALSE(srv->Query("set session wsrep_sync_wait=1").NetErr()) << srv->Error();
    return valor(*srv, sql);
}

TEST(Galera, FilaEscritaEnUnNodoSeLeeEnOtro) {
    const struct { int escritor, lector; } casos[] = {{1, 3}, {3, 2}, {2, 1}};
    for (const auto& c : casos) {
        SCOPED_TRACE("escrita en el nodo " + std::to_string(c.escritor) + ", leída en el " +
                     std::to_string(c.lector));
        auto escritor = prueba::conectar_galera(c.escritor);
        auto lector = prueba::conectar_galera(c.lector);
        const std::string marca =
            "galera " + std::to_string(::getpid()) + " " + std::to_string(c.escritor);
        ASSERT_FALSE(escritor
                         ->Query("insert into accesos (usuario, acceso, accion) values "
                                 "('PRUEBA', '', '" +
                                 marca + "')")
                         .NetErr())
            << escritor->Error();
        // Committed on every node at once, applied by the reader's node a moment later.
        const std::string sql = "select count(*) from accesos where accion='" + marca + "'";
        std::string visto = valor(*lector, sql);
        for (auto limite = std::chrono::steady_clock::now() + 15s;
             visto != "1" && std::chrono::steady_clock::now() < limite;
             visto = valor(*lector, sql)) {
            std::this_thread::sleep_for(10ms);
        }
        EXPECT_EQ(visto, "1");
        EXPECT_FALSE(escritor->Query("delete from accesos where accion='" + marca + "'").NetErr());
    }
}

TEST(Galera, DosNodosQueAumentanElContadorALaVezNoConfirmanAmbos) {
    const std::string contador = "select num_vales from paramet where id=1";
    const struct { int a, b; } casos[] = {{1, 2}, {3, 1}};
    for (const auto& c : casos) {
        SCOPED_TRACE("nodos " + std::to_string(c.a) + " y " + std::to_string(c.b));
        const std::string antes = valor_al_dia(1, contador);
        ASSERT_FALSE(antes.empty());
        auto a = prueba::conectar_galera(c.a);
        auto b = prueba::conectar_galera(c.b);
        // Both change the row before either commits: each node lets its own go on, and
        // the cluster refuses the second to commit, as a deadlock.
        for (TMySQLServer* srv : {a.get(), b.get()}) {
            ASSERT_FALSE(srv->Query("start transaction").NetErr()) << srv->Error();
            ASSERT_FALSE(srv->Query("update paramet set num_vales=num_vales+1 where id=1").NetErr())
                << srv->Error();
        }
        auto fin_a = a->Query("commit");
        auto fin_b = b->Query("commit");
        EXPECT_NE(fin_a.NetErr(), fin_b.NetErr()) << "exactly one commit must succeed";
        for (auto* fin : {&fin_a, &fin_b}) {
            if (fin->NetErr()) {
                EXPECT_EQ(fin->ErrorNo(), 1213u) << fin->Error();
            }
        }
        const std::string despues = std::to_string(std::stol(antes) + 1);
        for (int nodo : {1, 2, 3}) {
            EXPECT_EQ(valor_al_dia(nodo, contador), despues) << "nodo " << nodo;
        }
        // The demo's counter back for the tests that come after.
        EXPECT_FALSE(a->Query("update paramet set num_vales=" + antes + " where id=1").NetErr())
            << a->Error();
    }
}

}  // namespace
