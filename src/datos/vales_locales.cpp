#include "datos/vales_locales.h"

#include <cmath>
#include <map>

#include "datos/almacen.h"
#include "datos/estacion_local.h"
#include "datos/identidad.h"
#include "datos/valores_locales.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"

namespace datos {
namespace {

using rt::mdb_number;
using rt::mdb_quote;

// Quantities are kept with their two decimals ("150.00").
std::string cantidad(double x) {
    return mdb_number(x, 2);
}

std::string insercion_cabecera(const DatosCab& cab) {
    return "insert into vales_cab (codi_prod, codi_form, num_bodega, fecha, cantidad, malas, "
           "c_estado) values('" +
           mdb_quote(cab.producto) + "', '" + mdb_quote(cab.formula) + "', " +
           mdb_number(cab.bodega) + ", '" + cab.fecha.text() + "', " + cantidad(cab.cantidad) +
           ", " + cantidad(cab.malas) + ", '1')";
}

std::string insercion_item(const std::string& interno, const DatosItm& item) {
    return "insert into vales_itm (n_interno, codi_actividad, codi_oper, codi_especif, hora_ini, "
           "hora_fin, consumo, cantidad) values(" +
           interno + ",'" + mdb_quote(item.actividad) + "'," + mdb_number(item.operario) + ",'" +
           mdb_quote(item.especificacion) + "','" + mdb_quote(item.hora_inicio) + "','" +
           mdb_quote(item.hora_termino) + "'," + mdb_number(item.cantidad_unitaria) + "," +
           cantidad(item.cantidad) + ")";
}

// The local number of the header just inserted. Inside the transaction the store is this
// connection's alone from the first insert on, so the highest number is this voucher's.
long numero_interno(rt::TODBC& RS) {
    if (!ejecutar(RS, "select Max(n_interno) as ult_interno from vales_cab")) return 0;
    return static_cast<long>(rt::store_number(RS.FieldValue("ULT_INTERNO")));
}

bool grabar(rt::TODBC& RS, const DatosCab& cab, const std::vector<DatosItm>& items) {
    if (items.empty() || !ejecutar(RS, insercion_cabecera(cab))) return false;
    const long n = numero_interno(RS);
    if (n <= 0) return false;
    const std::string interno = mdb_number(static_cast<double>(n));
    for (const DatosItm& item : items) {
        if (!ejecutar(RS, insercion_item(interno, item))) return false;
    }
    return true;
}

// The number in a column of the current row; a text that is not one is noted.
double numero(const rt::TODBC& RS, const char* columna, ValeLocal& vale) {
    const std::string texto = RS.FieldValue(columna);
    if (const auto n = rt::store_number_exact(texto)) return *n;
    vale.no_numericos.push_back(std::string(columna) + " '" + rt::trim(texto) + "'");
    return 0;
}

// Codes go to the server at their full width: product and formula together form the key
// of the formula.
DatosCab cabecera_de(const rt::TODBC& RS, ValeLocal& vale) {
    DatosCab cab;
    cab.producto = rt::pad_right(RS.FieldValue("CODI_PROD"), 9);
    cab.formula = rt::pad_right(RS.FieldValue("CODI_FORM"), 3);
    cab.bodega = numero(RS, "NUM_BODEGA", vale);
    cab.fecha = FECHA_MDB_TO_NORMAL(RS.FieldValue("FECHA"));
    cab.cantidad = numero(RS, "CANTIDAD", vale);
    cab.malas = numero(RS, "MALAS", vale);
    return cab;
}

DatosItm item_de(const rt::TODBC& RS, ValeLocal& vale) {
    DatosItm item;
    item.actividad = RS.FieldValue("CODI_ACTIVIDAD");
    item.operario = numero(RS, "CODI_OPER", vale);
    item.especificacion = RS.FieldValue("CODI_ESPECIF");
    item.hora_inicio = RS.FieldValue("HORA_INI");
    item.hora_termino = RS.FieldValue("HORA_FIN");
    item.cantidad_unitaria = numero(RS, "CONSUMO", vale);
    item.cantidad = numero(RS, "CANTIDAD", vale);
    return item;
}

// What the form's fields can hold: a warehouse or an operator is a whole number of three
// digits (mask "999"), a quantity has at most two decimals and fits "999,999,999.99", a
// time is "hh:mm" in digits (mask "99:99"). The server would round anything else into its
// columns without a word: a voucher in another warehouse, points for another operator.
bool numero_de_tres_cifras(double x) {
    return x >= 1 && x <= 999 && x == std::floor(x);
}
bool cantidad_del_formulario(double x) {
    return x <= 999999999.99 && std::fabs(x * 100 - std::round(x * 100)) < 1e-6;
}
bool hora_del_formulario(std::string_view hora) {
    if (hora.size() != 5 || hora[2] != ':') return false;
    for (const std::size_t i : {0, 1, 3, 4}) {
        if (hora[i] != ' ' && (hora[i] < '0' || hora[i] > '9')) return false;
    }
    return VALIDAHORA(hora);
}

std::optional<std::string> defecto_de_item(const DatosItm& item) {
    if (rt::trim(item.actividad).empty()) return "sin código de actividad"_ansi;
    if (item.operario == 0) return std::string("sin operario");
    if (!numero_de_tres_cifras(item.operario)) return "operario no válido"_ansi;
    if (!hora_del_formulario(item.hora_inicio)) return "hora de inicio no válida"_ansi;
    if (!hora_del_formulario(item.hora_termino)) return "hora de término no válida"_ansi;
    if (item.cantidad <= 0) return std::string("cantidad no mayor que 0");
    if (!cantidad_del_formulario(item.cantidad)) return "cantidad no válida"_ansi;
    if (item.cantidad_unitaria < 0) return std::string("consumo negativo");
    return std::nullopt;
}

}  // namespace

bool asegurar_identidad_de_vales(rt::TODBC& RS) {
    const bool tiene = ejecutar(RS, "select id_vale from vales_cab where 0");
    RS.Close();
    if (tiene) return true;
    // The column as a new store declares it, and the trigger that fills it.
    const std::string disparador = resto_del_esquema("CREATE TRIGGER vales_cab_identidad");
    if (disparador.empty() || !RS.BeginTransaction()) return false;
    const bool hecho =
        ejecutar(RS,
                 "ALTER TABLE vales_cab ADD COLUMN id_vale VARCHAR(32) CHECK (id_vale IS NULL OR "
                 "length(id_vale) = 32)") &&
        ejecutar(RS, "CREATE TRIGGER IF NOT EXISTS vales_cab_identidad" + disparador) &&
        RS.CommitTransaction();
    RS.Close();
    if (!hecho) RS.RollbackTransaction();
    return hecho;
}

bool grabar_vale_local(rt::TODBC& RS, const DatosCab& cab, const std::vector<DatosItm>& items) {
    bool ok = RS.BeginTransaction();
    ok = ok && grabar(RS, cab, items) && RS.CommitTransaction();
    RS.Close();
    if (!ok) RS.RollbackTransaction();
    return ok;
}

Lectura leer_vale_local(rt::TODBC& RS, long n_interno, ValeLocal& vale) {
    const std::string interno = mdb_number(static_cast<double>(n_interno));
    vale = ValeLocal{};
    if (!ejecutar(RS, "select * from vales_cab where n_interno=" + interno)) return Lectura::error;
    if (RS.LastRec() != 1) return Lectura::sin_cabecera;
    vale.cabecera = cabecera_de(RS, vale);
    vale.id_vale = rt::trim(RS.FieldValue("ID_VALE"));
    if (!ejecutar(RS, "select * from vales_itm where n_interno=" + interno)) return Lectura::error;
    if (RS.LastRec() == 0) return Lectura::sin_items;
    for (RS.First(); !RS.Eof(); RS.Skip()) vale.items.push_back(item_de(RS, vale));
    RS.Close();
    return Lectura::leido;
}

std::optional<std::string> defecto_de_vale(const ValeLocal& vale) {
    const DatosCab& cab = vale.cabecera;
    if (!vale.no_numericos.empty()) return "valor no numérico en "_ansi + vale.no_numericos.front();
    if (cab.fecha.empty()) return "fecha no válida"_ansi;
    if (!numero_de_tres_cifras(cab.bodega)) return "bodega no válida"_ansi;
    if (rt::trim(cab.producto).empty() || rt::trim(cab.formula).empty())
        return "sin producto o fórmula"_ansi;
    if (cab.cantidad <= 0) return std::string("cantidad no mayor que 0");
    if (cab.malas < 0 || cab.malas > cab.cantidad)
        return std::string("malas fuera del rango de 0 a la cantidad");
    if (!cantidad_del_formulario(cab.cantidad) || !cantidad_del_formulario(cab.malas))
        return "cantidad no válida"_ansi;
    for (std::size_t i = 0; i < vale.items.size(); ++i) {
        if (auto defecto = defecto_de_item(vale.items[i]))
            return "actividad " + std::to_string(i + 1) + ": " + *defecto;
    }
    return std::nullopt;
}

Identidad identidad_de(const ValeLocal& vale, const std::string& estacion, long n_interno) {
    Identidad id;
    id.estacion = estacion;
    id.n_interno = n_interno;
    id.anterior = vale.id_vale.size() != 32;
    id.id = id.anterior ? identidad_derivada(n_interno, vale.cabecera, vale.items) : vale.id_vale;
    return id;
}

bool marcar_enviado(rt::TODBC& RS, long n_interno) {
    const bool ok = ejecutar(RS, "update vales_cab set c_estado='2' where n_interno=" +
                                     mdb_number(static_cast<double>(n_interno)));
    RS.Close();
    return ok;
}

std::optional<std::vector<ValePendiente>> leer_pendientes(rt::TODBC& RS) {
    // A left join: an inner one would hide for ever a voucher whose product left the copy.
    if (!ejecutar(RS,
                  "select * from vales_cab left join prodvtas on "
                  "vales_cab.codi_prod=prodvtas.codi_prod and "
                  "vales_cab.codi_form=prodvtas.codi_form where vales_cab.c_estado<>'2'")) {
        RS.Close();
        return std::nullopt;
    }
    // A product listed twice in the local copy would list its vouchers twice, and a batch
    // would count them twice: each voucher is taken once.
    std::map<long, ValePendiente> vales;
    for (RS.First(); !RS.Eof(); RS.Skip()) {
        ValePendiente v;
        v.n_interno = static_cast<long>(numero_en(RS, "N_INTERNO"));
        v.fecha = FECHA_MDB_TO_NORMAL(RS.FieldValue("FECHA"));
        v.bodega = numero_en(RS, "NUM_BODEGA");
        v.producto = RS.FieldValue("CODI_PROD");
        v.formula = RS.FieldValue("CODI_FORM");
        v.nombre_producto = RS.FieldValue("DESC_PROD");
        v.cantidad = numero_en(RS, "CANTIDAD");
        v.malas = numero_en(RS, "MALAS");
        v.estado = RS.FieldValue("C_ESTADO");
        vales.try_emplace(v.n_interno, std::move(v));
    }
    RS.Close();
    std::vector<ValePendiente> out;
    for (auto& [n, v] : vales) out.push_back(std::move(v));
    return out;
}

bool eliminar_vale_local(rt::TODBC& RS, long n_interno) {
    const std::string interno = mdb_number(static_cast<double>(n_interno));
    const bool hecho = RS.BeginTransaction() &&
                       ejecutar(RS, "delete from  vales_cab where n_interno=" + interno) &&
                       ejecutar(RS, "delete from  vales_itm where n_interno=" + interno) &&
                       RS.CommitTransaction();
    RS.Close();
    if (!hecho) RS.RollbackTransaction();
    return hecho;
}

}  // namespace datos
