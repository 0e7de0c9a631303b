#include "datos/identidad.h"

#include <cmath>
#include <random>

#include "runtime/common/texto.h"

namespace datos {
namespace {

std::string hex128(unsigned __int128 v) {
    static constexpr char kDigitos[] = "0123456789abcdef";
    std::string out(32, '0');
    for (int i = 31; i >= 0; --i, v >>= 4) out[static_cast<std::size_t>(i)] = kDigitos[v & 0xF];
    return out;
}

// FNV-1a over 128 bits: not a secret, only a name that differs whenever the text does.
unsigned __int128 fnv128(std::string_view text) {
    const unsigned __int128 primo = (static_cast<unsigned __int128>(1) << 88) + 0x13B;
    unsigned __int128 h =
        (static_cast<unsigned __int128>(0x6c62272e07bb0142ULL) << 64) | 0x62b821756295c58dULL;
    for (const char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= primo;
    }
    return h;
}

bool iguales(double a, double b, double tolerancia) {
    return std::fabs(a - b) < tolerancia;
}

bool mismo_texto(const rt::MySQLValue& v, std::string_view texto) {
    return rt::trim(v.text()) == rt::trim(texto);
}

bool misma_actividad(const TMySQLRow& fila, const DatosCab& cab, const DatosItm& item) {
    // Quantities are kept with two decimals, consumptions with five.
    return mismo_texto(fila.FieldGet("codi_prod"), cab.producto) &&
           fila.FieldGet("fecha_prod").date() == cab.fecha &&
           iguales(fila.FieldGet("numero_bod").number(), cab.bodega, 0.5) &&
           iguales(fila.FieldGet("malas").number(), cab.malas, 0.005) &&
           mismo_texto(fila.FieldGet("codi_insu"), item.actividad) &&
           iguales(fila.FieldGet("codi_oper").number(), item.operario, 0.5) &&
           mismo_texto(fila.FieldGet("codi_tipo"), item.especificacion) &&
           iguales(fila.FieldGet("consumo").number(), item.cantidad_unitaria, 0.000005) &&
           iguales(fila.FieldGet("cantidad").number(), item.cantidad, 0.005);
}

}  // namespace

std::string nueva_identidad() {
    std::random_device azar;
    unsigned __int128 v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 32) | azar();
    return hex128(v);
}

std::string identidad_derivada(long n_interno, const DatosCab& cab,
                               const std::vector<DatosItm>& items) {
    std::string texto = std::to_string(n_interno) + "|" + cab.producto + "|" + cab.formula + "|" +
                        numero_sql(cab.bodega) + "|" + cab.fecha.dtos() + "|" +
                        numero_sql(cab.cantidad) + "|" + numero_sql(cab.malas);
    for (const DatosItm& i : items) {
        texto += "|" + i.actividad + "|" + numero_sql(i.operario) + "|" + i.especificacion + "|" +
                 i.hora_inicio + "|" + i.hora_termino + "|" + numero_sql(i.cantidad_unitaria) +
                 "|" + numero_sql(i.cantidad);
    }
    return hex128(fnv128(texto));
}

std::optional<Registro> buscar_identidad(Sentencias& s, std::string_view id) {
    auto q = s.probar("select nume_folio from vales_identidad where id_vale='" + s.texto(id) + "'");
    if (!q) return std::nullopt;
    if (q->NetErr()) {
        if (q->ErrorNo() == kTablaInexistente) return Registro{false, 0};
        s.detener(*q);
        return std::nullopt;
    }
    if (q->LastRec() == 0) return Registro{};
    return Registro{true, std::lround(q->FieldGet("nume_folio").number())};
}

std::optional<long> buscar_origen_anterior(Sentencias& s, std::string_view estacion,
                                           long n_interno) {
    auto q = s.probar("select nume_folio from vales_origen where estacion='" + s.texto(estacion) +
                      "' and n_interno=" + numero_sql(static_cast<double>(n_interno)));
    if (!q) return std::nullopt;
    if (q->NetErr()) {
        if (q->ErrorNo() == kTablaInexistente) return 0L;
        s.detener(*q);
        return std::nullopt;
    }
    return q->LastRec() == 0 ? 0L : std::lround(q->FieldGet("nume_folio").number());
}

std::string registro_de_identidad(const Sentencias& s, const Identidad& identidad, long folio) {
    return "insert into vales_identidad (id_vale, nume_folio, estacion, n_interno) values ('" +
           s.texto(identidad.id) + "', " + numero_sql(static_cast<double>(folio)) + ", '" +
           s.texto(identidad.estacion) + "', " +
           numero_sql(static_cast<double>(identidad.n_interno)) + ")";
}

Comparacion comparar_con_servidor(Sentencias& s, long folio, const DatosCab& cab,
                                  const std::vector<DatosItm>& items) {
    if (items.empty()) return Comparacion::distinto;  // no voucher is saved without activities
    const std::string numero = numero_sql(static_cast<double>(folio));
    // The activity rows are those with an operator; the ingredients' rows have none.
    auto filas = s.leer(
        "select codi_prod, codi_form, fecha_prod, numero_bod, malas, codi_insu, codi_oper, "
        "codi_tipo, consumo, cantidad from vales where nume_folio=" +
        numero + " and codi_oper<>0 order by id");
    auto entrada =
        s.leer("select cantidad from mov_stock where tipo_doc='7' and nume_doc=" + numero);
    if (!filas || !entrada) return Comparacion::error;
    if (filas->LastRec() != static_cast<long>(items.size()) || entrada->LastRec() != 1 ||
        !iguales(entrada->FieldGet("cantidad").number(), cab.cantidad, 0.005))
        return Comparacion::distinto;
    for (long n = 1; n <= filas->LastRec(); ++n) {
        const auto fila = filas->GetRow(n);
        if (!misma_actividad(*fila, cab, items[static_cast<std::size_t>(n - 1)]))
            return Comparacion::distinto;
    }
    return Comparacion::igual;
}

}  // namespace datos
