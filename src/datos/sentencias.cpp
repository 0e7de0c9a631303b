#include "datos/sentencias.h"

namespace datos {
namespace {

constexpr unsigned int kEsperaDeBloqueo = 1205;  // lock wait timeout
constexpr unsigned int kBloqueoMutuo = 1213;     // deadlock, or a cluster's certification

const Fallo& fallo_vacio() {
    static const Fallo vacio;
    return vacio;
}

}  // namespace

bool Fallo::ocupado() const {
    return numero == kEsperaDeBloqueo || numero == kBloqueoMutuo;
}

bool Fallo::espera_agotada() const {
    return numero == kEsperaDeBloqueo;
}

bool Fallo::transaccion_deshecha() const {
    return numero == kBloqueoMutuo;
}

const Fallo& Sentencias::fallo() const {
    return fallo_ ? *fallo_ : fallo_vacio();
}

std::optional<TMySQLQuery> Sentencias::probar(std::string_view sql) {
    if (fallo_) return std::nullopt;
    return servidor_.Query(sql);
}

void Sentencias::detener(TMySQLQuery& q) {
    Fallo f;
    f.numero = q.ErrorNo();
    f.texto = q.Error();
    f.sentencia = q.Sql();
    // The connection's flag stays raised for callers that look at it after a task.
    fallo_ = std::move(f);
}

std::optional<TMySQLQuery> Sentencias::leer(std::string_view sql) {
    auto q = probar(sql);
    if (!q) return std::nullopt;
    if (q->NetErr()) {
        detener(*q);
        return std::nullopt;
    }
    return q;
}

bool Sentencias::escribir(std::string_view sql) {
    auto q = probar(sql);
    return q && aceptar(*q);
}

bool Sentencias::aceptar(TMySQLQuery& q) {
    if (q.NetErr()) {
        detener(q);
        return false;
    }
    if (q.WarningCount() == 0) return true;
    const auto alterado = valor_alterado();
    if (!alterado) return ok();
    fallo_ = Fallo{0, *alterado, q.Sql()};
    return false;
}

std::optional<std::string> Sentencias::valor_alterado() {
    auto avisos = leer("show warnings");
    if (!avisos) return std::nullopt;
    for (long n = 1; n <= avisos->LastRec(); ++n) {
        const auto fila = avisos->GetRow(n);
        // A note (extra decimals rounded to the column's scale) is the server's normal way.
        if (fila->FieldGet("Level").text().starts_with("Note")) continue;
        return fila->FieldGet("Message").text();
    }
    return std::nullopt;
}

}  // namespace datos
