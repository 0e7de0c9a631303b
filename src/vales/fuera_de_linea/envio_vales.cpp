#include "vales/fuera_de_linea/envio_vales.h"

#include "datos/estacion_local.h"
#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "ui/resguardo.h"
#include "ui/rutinas2.h"
#include "vales/fuera_de_linea/empresa_local.h"
#include "vales/ingreso/resultado_grabacion.h"

namespace vales {

std::optional<std::string> preparar_envio(rt::TODBC& RS) {
    if (!envio_a_la_empresa_de_la_sesion(RS)) return std::nullopt;
    auto estacion = datos::identidad_estacion(RS);
    if (!estacion) {
        ui::MSGBOX(
            "Error: No se puede leer la identificación de esta estación en la base local"_oem);
        return std::nullopt;
    }
    if (!datos::asegurar_identidad_de_vales(RS)) {
        ui::MSGBOX("Error: No se puede dar identificación a los vales de la base local"_oem);
        return std::nullopt;
    }
    return estacion;
}

datos::Envio enviar_vale(rt::TODBC& RS, const std::string& estacion, long n_interno,
                         bool interactivo) {
    datos::Envio e;
    {
        ui::Resguardo resguardo("w/bg,+w/bg");
        e = datos::enviar_vale_local(RS, *datos::ses().OSERVER, datos::ses().COD_USUARIO, estacion,
                                     n_interno, reintentos_en_pantalla());
        if (e.lectura == datos::Lectura::leido && !e.defecto)
            mostrar_grabacion(e.grabacion, interactivo);
    }
    return e;
}

std::string motivo_no_enviado(long n_interno, const datos::Envio& envio) {
    std::string motivo = "Vale local " + std::to_string(n_interno) + ": ";
    switch (envio.lectura) {
        case datos::Lectura::leido:
            break;
        case datos::Lectura::error:
            return motivo + "no se puede leer de la base local";
        case datos::Lectura::sin_cabecera:
            return motivo + "sin cabecera en la base local";
        case datos::Lectura::sin_items:
            return motivo + "sin actividades en la base local";
    }
    if (envio.defecto) return motivo + *envio.defecto;
    if (envio.grabacion.estado == datos::Grabacion::distinto) {
        return motivo + "el servidor tiene otro contenido bajo su identificación (número "_ansi +
               std::to_string(envio.grabacion.numero) + ")";
    }
    return motivo + "no se envió";
}

}  // namespace vales
