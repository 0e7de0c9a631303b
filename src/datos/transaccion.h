#pragma once
// A transaction on the server whose statements stop it at the first failure
// (sentencias.h). It is rolled back unless confirmed, also when the task ends early.
#include "datos/sentencias.h"

namespace datos {

class Transaccion : public Sentencias {
  public:
    // START TRANSACTION; a failure stops the series like any other.
    explicit Transaccion(TMySQLServer& servidor);
    ~Transaccion();

    // COMMIT: true when the server confirmed it.
    bool confirmar();
    // ROLLBACK after a failure (or a decision not to write). True when nothing written in
    // the transaction is left on the server: the rollback was done, by this call or by the
    // server itself when it refused a statement.
    bool deshacer();

  private:
    bool abierta_ = false;
};

}  // namespace datos
