// The Galera cluster of the test run (fixture "galera") is what the tests on it rely on:
// two nodes that change one row at the same time cannot both commit (the loser gets a
// deadlock), and what is committed is on every node.
#include <string>

#include "support/galera_prueba.h"

namespace {

// A read on node `nodo` after the node has applied everything the cluster committed
// before it (wsrep_sync_wait): what it gives is final, no later change is on its way.
std::string valor_al_dia(int nodo, const std::string& sql) {
    auto srv = prueba::conectar_galera(nodo);
    EXPECT_FALSE(srv->Query("set session wsrep_sync_wait=1").NetErr()) << srv->Error();
    const auto rows = prueba::filas(*srv, sql);
    return rows.empty() ? std::string() : rows.front();
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
