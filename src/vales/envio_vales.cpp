#include "vales/envio_vales.h"

#include <cmath>

#include "abm/rutinas2.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "vales/empresa_local.h"
#include "vales/estacion_local.h"
#include "vales/origen_vales.h"
#include "vales/puntos_de_falla.h"
#include "vales/vales_ingreso_on_line.h"
#include "vales/vales_rutinas.h"

namespace vales {
namespace {

bool ejecutar(rt::TODBC& RS, const std::string& sql) {
    RS.SetSQL(sql);
    return RS.Open();
}

double numero(const rt::TODBC& RS, std::string_view columna) {
    return rt::store_number(RS.FieldValue(columna));
}

std::string interno(long n_interno) {
    return rt::mdb_number(static_cast<double>(n_interno));
}

// Codes go to the server at their full width: product and formula together form the key
// of the formula.
DatosCab cabecera_de(const rt::TODBC& RS) {
    DatosCab cab;
    cab.producto = rt::pad_right(RS.FieldValue("CODI_PROD"), 9);
    cab.formula = rt::pad_right(RS.FieldValue("CODI_FORM"), 3);
    cab.bodega = numero(RS, "NUM_BODEGA");
    cab.fecha = FECHA_MDB_TO_NORMAL(RS.FieldValue("FECHA"));
    cab.cantidad = numero(RS, "CANTIDAD");
    cab.malas = numero(RS, "MALAS");
    return cab;
}

DatosItm item_de(const rt::TODBC& RS) {
    DatosItm item;
    item.actividad = RS.FieldValue("CODI_ACTIVIDAD");
    item.operario = numero(RS, "CODI_OPER");
    item.especificacion = RS.FieldValue("CODI_ESPECIF");
    item.hora_inicio = RS.FieldValue("HORA_INI");
    item.hora_termino = RS.FieldValue("HORA_FIN");
    item.cantidad_unitaria = numero(RS, "CONSUMO");
    item.cantidad = numero(RS, "CANTIDAD");
    return item;
}

Envio ya_en_servidor(rt::TODBC& RS, const OrigenVale& origen, long folio) {
    return {Envio::ya_estaba, folio, marcar_enviado(RS, origen.n_interno)};
}

}  // namespace

Lectura leer_vale_local(rt::TODBC& RS, long n_interno, ValeLocal& vale) {
    if (!ejecutar(RS, "select * from vales_cab where n_interno=" + interno(n_interno)))
        return Lectura::error;
    if (RS.LastRec() != 1) return Lectura::sin_cabecera;
    vale.cabecera = cabecera_de(RS);
    if (!ejecutar(RS, "select * from vales_itm where n_interno=" + interno(n_interno)))
        return Lectura::error;
    if (RS.LastRec() == 0) return Lectura::sin_items;
    vale.items.clear();
    for (RS.First(); !RS.Eof(); RS.Skip()) vale.items.push_back(item_de(RS));
    RS.Close();
    return Lectura::leido;
}

std::optional<std::string> preparar_envio(rt::TODBC& RS) {
    if (!envio_a_la_empresa_de_la_sesion(RS)) return std::nullopt;
    auto estacion = identidad_estacion(RS);
    if (!estacion) {
        abm::MSGBOX(
            "Error: No se puede leer la identificación de esta estación en la base local"_oem);
        return std::nullopt;
    }
    if (!asegurar_tabla_origen()) {
        abm::MSGBOX("Error: No se puede crear en el servidor el registro de vales enviados"_oem);
        return std::nullopt;
    }
    return estacion;
}

Envio enviar_vale(rt::TODBC& RS, const OrigenVale& origen, const ValeLocal& vale,
                  bool show_shortage) {
    const auto antes = folio_de_origen(origen);
    if (!antes) return {Envio::sin_consulta};  // sending blind could store it twice
    if (*antes > 0) return ya_en_servidor(RS, origen, *antes);
    falla::punto(falla::kAntesDeEnviar);
    const long folio = GRABARVALE_SERVIDOR(vale.cabecera, vale.items, show_shortage, &origen);
    if (folio == 0) {
        // Refused; or committed although the reply was lost, or sent meanwhile by another
        // copy of the program on this store (whose origin then refused this one).
        const auto despues = folio_de_origen(origen);
        if (despues && *despues > 0) return ya_en_servidor(RS, origen, *despues);
        return {};
    }
    falla::punto(falla::kServidorConfirmo);
    return {Envio::enviado, folio, marcar_enviado(RS, origen.n_interno)};
}

bool marcar_enviado(rt::TODBC& RS, long n_interno) {
    const bool ok =
        ejecutar(RS, "update vales_cab set c_estado='2' where n_interno=" + interno(n_interno));
    RS.Close();
    return ok;
}

}  // namespace vales
