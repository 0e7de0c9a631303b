// Two workstations adding stock of the same new items at the same time.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "abm/abm_rutinas.h"
#include "servidor_abm.h"

namespace {

using namespace abm;

class StockConcurrente : public prueba::ServidorAbm {
  protected:
    ~StockConcurrente() override {
        sesion.OSERVER->Query("delete from stock_bodegas where codi_prod like '" + prefijo + "%'");
    }
    std::string codigo(int i) const { return prefijo + std::to_string(1000 + i).substr(1); }
    // Adds 1 to the stock of every item, in the same order as the other process.
    bool sumar_todos() {
        bool all = true;
        for (int i = 0; i < kItems; ++i) all = SUMA_STOCK(1, "I", codigo(i), "", 1) && all;
        return all;
    }
    static constexpr int kItems = 500;
    const std::string prefijo =
        std::string("C").append(std::to_string(100000 + ::getpid() % 90000).substr(1));
};

// Both find no record and both insert: the second insert meets the first one's record
// and must add to it rather than lose its amount.
TEST_F(StockConcurrente, NoAmountIsLostWhenBothCreateTheRecord) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The parent's connection belongs to the parent: leave it untouched (no close).
        new std::shared_ptr<rt::TMySQLServer>(std::move(sesion.OSERVER));
        sesion.OSERVER = prueba::conectar_mariadb("test");
        char go = 0;
        ::close(ready[1]);
        if (::read(ready[0], &go, 1) != 1) ::_exit(3);
        ::_exit(sumar_todos() ? 0 : 1);
    }
    ::close(ready[0]);
    ASSERT_EQ(::write(ready[1], "g", 1), 1);  // start together
    ::close(ready[1]);
    const bool mine = sumar_todos();
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(mine);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    auto q = sesion.OSERVER->Query(
        "select count(*) as n, sum(stock) as total from "
        "stock_bodegas where codi_prod like '" +
        prefijo + "%'");
    EXPECT_EQ(q.FieldGet("n").number(), kItems);
    EXPECT_EQ(q.FieldGet("total").number(), 2 * kItems);
    EXPECT_FALSE(sesion.OSERVER->NetErr());
}

}  // namespace
