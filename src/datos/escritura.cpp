#include "datos/escritura.h"

#include "datos/transaccion.h"

namespace datos {
namespace {

// A failed write: unknown when the connection went with it, since the statement may have
// reached the server, which carries it out whether or not its answer gets back.
Escritura no_hecha(Sentencias& s, bool conectado_antes) {
    const bool perdida = conectado_antes && !s.servidor().connected();
    return {perdida ? Escritura::incierta : Escritura::fallida, s.fallo()};
}

}  // namespace

Escritura escribir(TMySQLServer& servidor, const std::string& sentencia) {
    const bool conectado = servidor.connected();
    Sentencias s(servidor);
    if (s.escribir(sentencia)) return {Escritura::hecha, {}};
    return no_hecha(s, conectado);
}

Escritura escribir_si_sigue_igual(TMySQLServer& servidor, const std::string& lectura,
                                  const std::vector<std::string>& leidos,
                                  const std::string& cambio) {
    Transaccion t(servidor);
    auto actual = t.leer(lectura + " for update");
    if (!actual) {
        t.deshacer();
        // Nothing was written: a lost connection only leaves a transaction the server
        // rolls back.
        return {Escritura::fallida, t.fallo()};
    }
    std::vector<std::string> ahora;
    if (actual->LastRec() == 1)
        for (int i = 1; i <= actual->FCount(); ++i) ahora.push_back(actual->GetRow(1)->Raw(i));
    if (ahora != leidos) {
        t.deshacer();
        return {Escritura::cambiada, {}};
    }
    if (!t.escribir(cambio)) {
        t.deshacer();
        return {Escritura::fallida, t.fallo()};
    }
    if (t.confirmar()) return {Escritura::hecha, {}};
    return no_hecha(t, true);
}

std::vector<std::string> textos(const TMySQLRow& fila, const std::vector<std::string>& columnas) {
    std::vector<std::string> out;
    for (const std::string& c : columnas) out.push_back(fila.Raw(fila.FieldPos(c)));
    return out;
}

}  // namespace datos
