#include "datos/envio.h"

#include "datos/puntos_de_falla.h"

namespace datos {

Envio enviar_vale_local(rt::TODBC& RS, TMySQLServer& servidor, const std::string& usuario,
                        const std::string& estacion, long n_interno, const Reintentos& reintentos) {
    Envio e;
    ValeLocal local;
    e.lectura = leer_vale_local(RS, n_interno, local);
    if (e.lectura != Lectura::leido) return e;
    e.defecto = defecto_de_vale(local);
    if (e.defecto) return e;
    falla::punto(falla::kAntesDeEnviar);
    const Vale vale{local.cabecera, local.items, identidad_de(local, estacion, n_interno)};
    e.grabacion = grabar_vale(servidor, vale, usuario, reintentos);
    if (!e.en_servidor()) return e;
    if (e.grabacion.estado == Grabacion::grabado) falla::punto(falla::kServidorConfirmo);
    e.marcado = marcar_enviado(RS, n_interno);
    return e;
}

}  // namespace datos
