#pragma once
// Statements of one task run one after another on a server connection, such that the first
// failure stops the task: its error is kept, and every later statement is refused without
// reaching the server. A task that writes can therefore never go on writing after a failure
// it did not see (after a deadlock the server has already left the transaction, and every
// further write would be committed on its own).
//
// Writes are also refused when the server changed the value written (a number cut to fit
// its column under a lax SQL mode leaves a warning, not an error).
#include <optional>
#include <string>
#include <string_view>

#include "runtime/server/tmysql.h"

namespace datos {

// Why a statement failed: the server's number and text (or the client library's, for a
// connection that was lost), and the statement.
struct Fallo {
    unsigned int numero = 0;
    std::string texto;
    std::string sentencia;

    // Another connection kept a row the statement needed (a lock wait given up, a deadlock,
    // or a conflict with a commit through another node of a cluster): the server undid the
    // statement or the whole transaction, and the same work may simply be tried again.
    bool ocupado() const;
    // Of those, a row lock waited for as long as the server waits, and given up.
    bool espera_agotada() const;
    // The server had already undone the whole transaction when it refused the statement.
    bool transaccion_deshecha() const;
};

// Error numbers the tasks tell apart.
inline constexpr unsigned int kTablaInexistente = 1146;
inline constexpr unsigned int kClaveRepetida = 1062;

class Sentencias {
  public:
    explicit Sentencias(TMySQLServer& servidor) : servidor_(servidor) {}
    Sentencias(const Sentencias&) = delete;
    Sentencias& operator=(const Sentencias&) = delete;

    // The result of a select; nothing after a failure.
    std::optional<TMySQLQuery> leer(std::string_view sql);
    // An insert, update or delete that the server carried out as written.
    bool escribir(std::string_view sql);
    // A statement whose failure the caller judges itself (nothing is kept): the query,
    // failed or not; nothing when the series has already stopped.
    std::optional<TMySQLQuery> probar(std::string_view sql);
    // Judges a write run with probar as escribir does.
    bool aceptar(TMySQLQuery& q);
    // Keeps `q`'s failure as the one that stops the series.
    void detener(TMySQLQuery& q);
    // Forgets the failure, for a caller that has judged it harmless.
    void olvidar_fallo() { fallo_.reset(); }

    bool ok() const { return !fallo_; }
    const Fallo& fallo() const;
    TMySQLServer& servidor() { return servidor_; }
    // A text value as it goes between single quotes in a statement of this connection.
    std::string texto(std::string_view valor) const { return servidor_.escape(valor); }

  private:
    // Warnings of a write that tell that the server changed a value: the first one's text.
    std::optional<std::string> valor_alterado();

    TMySQLServer& servidor_;
    std::optional<Fallo> fallo_;
};

// A number as statement text.
inline std::string numero_sql(double n) {
    return rt::mysql_number(n);
}

}  // namespace datos
