#include "vales/envio_vales.h"

#include "abm/resguardo.h"
#include "abm/rutinas2.h"
#include "comun/sesion.h"
#include "datos/estacion_local.h"
#include "runtime/common/codepage.h"
#include "vales/empresa_local.h"
#include "vales/resultado_grabacion.h"

namespace vales {

std::optional<std::string> preparar_envio(rt::TODBC& RS) {
    if (!envio_a_la_empresa_de_la_sesion(RS)) return std::nullopt;
    auto estacion = datos::identidad_estacion(RS);
    if (!estacion) {
        abm::MSGBOX(
            "Error: No se puede leer la identificación de esta estación en la base local"_oem);
        return std::nullopt;
    }
    if (!datos::asegurar_identidad_de_vales(RS)) {
        abm::MSGBOX("Error: No se puede dar identificación a los vales de la base local"_oem);
        return std::nullopt;
    }
    return estacion;
}

datos::Envio enviar_vale(rt::TODBC& RS, const std::string& estacion, long n_interno,
                         bool interactivo) {
    datos::Envio e;
    {
        abm::Resguardo resguardo("w/bg,+w/bg");
        e = datos::enviar_vale_local(RS, *ses().OSERVER, ses().COD_USUARIO, estacion, n_interno,
                                     reintentos_en_pantalla());
        if (e.lectura == datos::Lectura::leido && !e.defecto)
            mostrar_grabacion(e.grabacion, interactivo);
    }
    return e;
}

std::string motivo_no_enviado(long n_interno, const datos::Envio& envio) {
    std::string motivo = "Vale local " + std::to_string(n_interno) + ": ";
    if (envio.defecto) return motivo + *envio.defecto;
    if (envio.grabacion.estado == datos::Grabacion::distinto) {
        return motivo + "el servidor tiene otro contenido bajo su identificación (número "_ansi +
               std::to_string(envio.grabacion.numero) + ")";
    }
    return motivo + "no se envió";
}

}  // namespace vales
