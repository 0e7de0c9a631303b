#pragma once
// A session connected to the test company (database "test" of the private server) on a
// virtual terminal, for the server lookups, permission and stock routines. The message
// boxes they show are read back from the screen snapshots taken at each key wait.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "support/screen_test.h"
#include "support/servidor_prueba.h"

namespace prueba {

class ServidorAbm : public testing_support::ScreenTest {
  protected:
    ServidorAbm() {
        previous_ = datos::install_sesion(&sesion);
        sesion.OSERVER = conectar_mariadb("test");
        sesion.LCONECTADO = true;
        sesion.COD_USUARIO = "juan";
        console.set_colour("w/b,+w/r");
        console.clear_screen();
    }
    ~ServidorAbm() override { datos::install_sesion(previous_); }

    // The texts (UTF-8) of the message boxes shown since the last call: the bright yellow
    // on red cells of the box's middle row in each snapshot.
    std::vector<std::string> mensajes() {
        std::vector<std::string> out;
        const auto& shots = term.snapshots();
        for (; visto_ < shots.size(); ++visto_) {
            std::string bytes;
            for (const auto& cell : shots[visto_].grid[16])
                if (testing_support::attr_text(cell.attr) == "+GR/R")
                    bytes += static_cast<char>(cell.ch);
            if (!bytes.empty()) out.push_back(cp::oem_to_utf8(cp::Oem(bytes)));
        }
        return out;
    }
    // A statement on the test database outside the routines under test.
    void sql(const std::string& statement) {
        auto q = sesion.OSERVER->Query(statement);
        ASSERT_FALSE(q.NetErr()) << statement << ": " << q.Error();
    }
    // Leaves the session connected but without database: every statement fails.
    void sin_base_de_datos() {
        sesion.OSERVER = conectar_mariadb("");
        ASSERT_TRUE(sesion.OSERVER->connected());
    }

    datos::Sesion sesion;

  private:
    datos::Sesion* previous_ = nullptr;
    std::size_t visto_ = 0;
};

using Mensajes = std::vector<std::string>;

}  // namespace prueba
