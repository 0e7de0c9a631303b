#pragma once
// The off-line entry on the virtual terminal: the test company's data of the on-line entry
// tests (ingreso_on_line_fixture.h) copied into a scratch off-line store by the download,
// and then no server at all (no connection in the session) while the test runs.
#include <memory>
#include <string>
#include <vector>

#include "support/offline_store.h"
#include "support/store_rows.h"
#include "vales/fuera_de_linea/DatosDesde_Servidor.h"
#include "vales/fuera_de_linea/vales_ingreso_off_line.h"
#include "vales/ingreso_on_line_fixture.h"

namespace prueba {

class IngresoOffLine : public IngresoOnLine {
  protected:
    IngresoOffLine() {
        term.keys({rt::key::kEnter}).pause(3).keys({rt::key::kEsc});  // TODOS, then leave
        vales::DATOSDESDE_SERVIDOR(store.connection());
        EXPECT_EQ(mensajes(), Mensajes{"Proceso terminado"});
        EXPECT_TRUE(term.script_empty());
        servidor_ = std::move(sesion.OSERVER);
        sesion.LCONECTADO = false;
        primera_espera_ = term.snapshots().size();
    }
    ~IngresoOffLine() override {
        sesion.OSERVER = std::move(servidor_);  // for the clean-up of the server's rows
        sesion.LCONECTADO = true;
    }

    void correr() { vales::VALES_INGRESO_OFF_LINE(store.connection()); }
    // Key waits of the entry, counted from its first.
    std::size_t esperas() const { return term.snapshots().size() - primera_espera_; }
    // The entry's k-th key wait (0 the first), counted from the last one as the screen
    // assertions take it.
    std::size_t desde_el_final(std::size_t k) const {
        return term.snapshots().size() - 1 - (primera_espera_ + k);
    }
    // The screen at the entry's k-th key wait.
    std::string en_espera(std::size_t k) const { return shown_screen(desde_el_final(k)); }

    testing_support::ScratchStore store;
    std::shared_ptr<TMySQLServer> servidor_;
    std::size_t primera_espera_ = 0;
};

}  // namespace prueba
