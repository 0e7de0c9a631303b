#include "datos/grabar_vale.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <random>
#include <thread>

#include "datos/identidad.h"
#include "datos/puntos_de_falla.h"
#include "datos/stock.h"
#include "datos/transaccion.h"
#include "runtime/common/texto.h"

namespace datos {
namespace {

// One formula row that is not an activity.
struct Ingrediente {
    std::string codigo;         // formulas.prd_buy
    std::string formula_stock;  // formula whose stock it draws on; empty for a component
    std::string tipo;           // "P" product, "I" component
    double consumo = 0;         // quantity per unit produced
    bool controla_stock = false;
    std::string nombre;  // as stored on the server
};

// Quantities are products of a quantity with two decimals and a consumption with five:
// rounding to seven decimals removes the binary noise that would otherwise make an exact
// stock look short by 1e-17.
double redondeo(double x) {
    return std::round(x * 1e7) / 1e7;
}

bool es_uno(const rt::MySQLValue& v) {
    return v.is_logical() ? v.logical() : v.number() == 1;
}

std::optional<std::vector<Ingrediente>> leer_ingredientes(Sentencias& s, const DatosCab& cab) {
    auto res = s.leer(
        "select formulas.prd_buy, formulas.codi_form, formulas.tipo_prd, formulas.consumo, "
        "if(formulas.tipo_prd='P',prodvtas.desc_prod, prodcmp.desc_prod) as nombre_producto,  "
        "if(formulas.tipo_prd='P',prodvtas.l_ctrl_stk,prodcmp.l_ctrl_stk) as control_stk, "
        "prodvtas.codi_form_rel from formulas left join prodvtas on formulas.prd_buy = "
        "prodvtas.codi_prod and formulas.codi_form = prodvtas.codi_form and formulas.tipo_prd "
        "= 'P' left join prodcmp on formulas.prd_buy = prodcmp.codi_prod and formulas.tipo_prd "
        "= 'I' where prd_sale='" +
        s.texto(cab.producto + cab.formula) + "'  and left(formulas.prd_buy,1) <> '9'");
    if (!res) return std::nullopt;
    std::vector<Ingrediente> out;
    for (long n = 1; n <= res->LastRec(); ++n) {
        const auto fila = res->GetRow(n);
        Ingrediente ing;
        ing.codigo = fila->FieldGet("prd_buy").text();
        ing.tipo = fila->FieldGet("tipo_prd").text();
        ing.consumo = fila->FieldGet("consumo").number();
        ing.controla_stock = es_uno(fila->FieldGet("control_stk"));
        ing.nombre = fila->FieldGet("nombre_producto").text();
        // No matching product row (always so for a component) reads as blanks: no formula.
        const std::string rel = fila->FieldGet("codi_form_rel").text();
        if (rel == "---")
            ing.formula_stock = fila->FieldGet("codi_form").text();
        else if (!rt::trim(rel).empty())
            ing.formula_stock = rel;
        out.push_back(std::move(ing));
    }
    return out;
}

// The voucher number: the counter is advanced and read inside the voucher's transaction,
// whose row lock keeps every other workstation from advancing it until this voucher is
// committed or rolled back. 0 when the counter could not be advanced or read. The reads
// that follow see every voucher committed before the lock was granted.
long tomar_numero(Transaccion& t) {
    if (!t.escribir("update paramet set num_vales = num_vales + 01")) return 0;
    auto res = t.leer("select num_vales from paramet");
    if (!res || res->LastRec() == 0) return 0;
    return std::lround(res->FieldGet("num_vales").number());
}

// The controlled ingredients that the warehouse cannot cover, all of them checked; nothing
// when a stock could not be read (a failed read is never taken for an empty stock).
std::optional<std::vector<Faltante>> faltantes(Transaccion& t, const DatosCab& cab,
                                               const std::vector<Ingrediente>& ingr) {
    std::vector<Faltante> out;
    for (const auto& ing : ingr) {
        if (!ing.controla_stock) continue;
        const auto disponible = leer_stock(t, cab.bodega, ing.tipo, ing.codigo, ing.formula_stock);
        if (!disponible) return std::nullopt;
        const double requerido = redondeo(ing.consumo * cab.cantidad);
        if (requerido <= redondeo(*disponible)) continue;
        out.push_back(
            {ing.tipo, ing.codigo, ing.formula_stock, ing.nombre, requerido, *disponible});
    }
    return out;
}

// The formula whose stock the product shares, when its catalogue row names one; otherwise
// its own. nullopt when the catalogue cannot be read.
std::optional<std::string> formula_de_stock(Transaccion& t, const DatosCab& cab) {
    auto res = t.leer("select codi_form_rel from prodvtas where codi_prod='" +
                      t.texto(cab.producto) + "' and codi_form='" + t.texto(cab.formula) + "'");
    if (!res) return std::nullopt;
    // A product removed from the catalogue since an off-line voucher was recorded keeps
    // the formula the voucher names.
    if (res->LastRec() == 0) return cab.formula;
    const std::string rel = res->FieldGet(1).text();
    if (rel == "---" || rt::trim(rel).empty()) return cab.formula;
    return rel;
}

std::string movimiento(Transaccion& t, const std::string& tipo_doc, const std::string& numero,
                       const DatosCab& cab, const std::string& tipo, const std::string& codigo,
                       const std::string& formula, double cantidad, const std::string& usuario) {
    return "insert into mov_stock set tipo_doc='" + tipo_doc + "', nume_doc=" + numero +
           ", fecha_doc='" + cab.fecha.dtos() + "', rut_doc='', tipo_prd='" + t.texto(tipo) +
           "', codi_prod='" + t.texto(codigo) + "', codi_form='" + t.texto(formula) +
           "', cantidad=" + numero_sql(cantidad) + ", numero_bod=" + numero_sql(cab.bodega) +
           ", bodega_rel='', l_anular=false, usuario='" + t.texto(usuario) + "'";
}

bool escribir_vale(Transaccion& t, long numero, const Vale& vale,
                   const std::vector<Ingrediente>& ingr, const std::string& usuario) {
    const DatosCab& cab = vale.cabecera;
    const auto rel = formula_de_stock(t, cab);
    if (!rel) return false;
    const std::string formula = *rel;
    const std::string num = numero_sql(static_cast<double>(numero));
    const std::string fila_vale = "insert into vales set nume_folio=" + num + ", fecha_prod='" +
                                  cab.fecha.dtos() + "', codi_prod='" + t.texto(cab.producto) +
                                  "', codi_form='" + t.texto(formula) + "', cantidad=";
    const std::string malas_y_bodega =
        ", malas=" + numero_sql(cab.malas) + ", numero_bod=" + numero_sql(cab.bodega);

    if (!sumar_stock(t, cab.bodega, "P", cab.producto, formula, cab.cantidad) ||
        !t.escribir(
            movimiento(t, "7", num, cab, "P", cab.producto, formula, cab.cantidad, usuario)))
        return false;

    for (const auto& item : vale.items) {
        const auto puntos = puntaje(t, item.operario, item.actividad, item.especificacion);
        if (!puntos ||
            !t.escribir(fila_vale + numero_sql(item.cantidad) + malas_y_bodega + ", codi_insu='" +
                        t.texto(item.actividad) + "', form_insu='', tipo_insu='I', consumo=" +
                        numero_sql(item.cantidad_unitaria) + ", codi_oper=" +
                        numero_sql(item.operario) + ", codi_tipo='" + t.texto(item.especificacion) +
                        "', puntaje_un=" + numero_sql(*puntos) + ", c_estado='1'"))
            return false;
    }

    for (const auto& ing : ingr) {
        const double consumido = -redondeo(ing.consumo * cab.cantidad);
        if (!t.escribir(fila_vale + numero_sql(cab.cantidad) + malas_y_bodega + ", codi_insu='" +
                        t.texto(ing.codigo) + "', form_insu='" + t.texto(ing.formula_stock) +
                        "', tipo_insu='" + t.texto(ing.tipo) +
                        "', consumo=" + numero_sql(ing.consumo) +
                        ", codi_oper=0, codi_tipo='', puntaje_un=0, c_estado='1'") ||
            !sumar_stock(t, cab.bodega, ing.tipo, ing.codigo, ing.formula_stock, consumido) ||
            !t.escribir(movimiento(t, "8", num, cab, ing.tipo, ing.codigo, ing.formula_stock,
                                   consumido, usuario)))
            return false;
    }
    return true;
}

void pausar(const Reintentos& r, double segundos) {
    if (r.pausar) {
        r.pausar(segundos);
    } else {
        std::this_thread::sleep_for(std::chrono::duration<double>(segundos));
    }
}

// Between half and the whole of a pause that doubles with each try: two workstations that
// met once do not meet again at the same moment.
double pausa_tras(const Reintentos& r, int intento) {
    const double tope = std::min(r.pausa_maxima, r.primera_pausa * std::pow(2.0, intento - 1));
    std::random_device azar;
    return tope * (0.5 + 0.5 * std::uniform_real_distribution<double>(0, 1)(azar));
}

enum class Paso { fin, reintentar };

class Intento {
  public:
    Intento(TMySQLServer& servidor, const Vale& vale, const std::vector<Ingrediente>& ingr,
            const std::string& usuario, Grabacion& r)
        : servidor_(servidor), vale_(vale), ingr_(ingr), usuario_(usuario), r_(r) {}

    Paso correr() {
        if (const auto paso = buscar_en_servidor()) return *paso;
        Transaccion t(servidor_);
        const long numero = tomar_numero(t);
        if (numero <= 0) return detenido(t, Grabacion::sin_numero);
        falla::punto(falla::kNumeroTomado);
        const auto cortos = faltantes(t, vale_.cabecera, ingr_);
        if (!cortos) return detenido(t, Grabacion::fallido);
        if (!cortos->empty()) {
            r_.deshecho = t.deshacer();
            r_.faltantes = *cortos;
            return terminar(Grabacion::faltante);
        }
        if (!escribir_vale(t, numero, vale_, ingr_, usuario_))
            return detenido(t, Grabacion::fallido);
        if (registra()) {
            auto q = t.probar(registro_de_identidad(t, vale_.identidad, numero));
            // Saved meanwhile by another copy of the program (the key refused this one):
            // the next try finds it.
            if (q && q->NetErr() && q->ErrorNo() == kClaveRepetida) {
                t.deshacer();
                return Paso::reintentar;
            }
            if (!q || !t.aceptar(*q)) return detenido(t, Grabacion::fallido);
        }
        r_.numero = numero;
        if (t.confirmar()) return terminar(Grabacion::grabado);
        if (servidor_.connected() || t.fallo().ocupado()) return detenido(t, Grabacion::fallido);
        r_.fallo = t.fallo();
        return verificar();
    }

  private:
    bool registra() const { return !vale_.identidad.id.empty() && !r_.sin_registro; }

    Paso terminar(Grabacion::Estado estado) {
        r_.estado = estado;
        return Paso::fin;
    }

    // The failure that stopped the transaction, which is undone. One caused by another
    // workstation is worth another try.
    Paso detenido(Transaccion& t, Grabacion::Estado estado) {
        r_.fallo = t.fallo();
        r_.deshecho = t.deshacer();
        if (r_.fallo.ocupado()) return Paso::reintentar;
        return terminar(estado);
    }

  public:
    // Whether the server holds the voucher already; nothing when it is to be written.
    std::optional<Paso> buscar_en_servidor() {
        const Identidad& id = vale_.identidad;
        if (id.id.empty()) return std::nullopt;
        Sentencias s(servidor_);
        const auto registro = buscar_identidad(s, id.id);
        if (!registro) return consulta_fallida(s);
        r_.sin_registro = !registro->existe;
        if (registro->folio > 0) {
            switch (comparar_con_servidor(s, registro->folio, vale_.cabecera, vale_.items)) {
                case Comparacion::igual:
                    r_.numero = registro->folio;
                    return terminar(Grabacion::ya_estaba);
                case Comparacion::distinto:
                    r_.numero = registro->folio;
                    return terminar(Grabacion::distinto);
                case Comparacion::error:
                    return consulta_fallida(s);
            }
        }
        if (!id.anterior) return std::nullopt;
        // A record of an earlier version names the store and the local number, which a copy
        // of the store shares with vouchers typed after the copy: it is this voucher only
        // when the server's rows say so.
        const auto folio = buscar_origen_anterior(s, id.estacion, id.n_interno);
        if (!folio) return consulta_fallida(s);
        if (*folio == 0) return std::nullopt;
        switch (comparar_con_servidor(s, *folio, vale_.cabecera, vale_.items)) {
            case Comparacion::igual:
                r_.numero = *folio;
                return terminar(Grabacion::ya_estaba);
            case Comparacion::distinto:
                return std::nullopt;
            case Comparacion::error:
                break;
        }
        return consulta_fallida(s);
    }

  private:
    Paso consulta_fallida(Sentencias& s) {
        r_.fallo = s.fallo();
        r_.deshecho = true;  // nothing was written
        if (r_.fallo.ocupado()) return Paso::reintentar;
        return terminar(Grabacion::fallido);
    }

    // The answer to the commit was lost with the connection. Another connection waits for
    // the voucher's transaction to end (the locking read waits for its locks) and then
    // sees whether its identity was registered.
    Paso verificar() {
        if (!registra()) return terminar(Grabacion::incierto);
        auto otra = servidor_.OpenAnother();
        if (otra->NetErr()) return terminar(Grabacion::incierto);
        Sentencias s(*otra);
        auto q = s.leer("select nume_folio from vales_identidad where id_vale='" +
                        s.texto(vale_.identidad.id) + "' lock in share mode");
        if (!q) return terminar(Grabacion::incierto);
        if (q->LastRec() == 0) {
            r_.deshecho = true;
            return terminar(Grabacion::fallido);
        }
        r_.numero = std::lround(q->FieldGet("nume_folio").number());
        return terminar(Grabacion::grabado);
    }

    TMySQLServer& servidor_;
    const Vale& vale_;
    const std::vector<Ingrediente>& ingr_;
    const std::string& usuario_;
    Grabacion& r_;
};

}  // namespace

Grabacion grabar_vale(TMySQLServer& servidor, const Vale& vale, const std::string& usuario,
                      const Reintentos& reintentos) {
    Grabacion r;
    Sentencias s(servidor);
    const auto ingredientes = leer_ingredientes(s, vale.cabecera);
    if (!ingredientes) {
        r.fallo = s.fallo();
        r.deshecho = true;
        r.estado = Grabacion::sin_formula;
        return r;
    }
    int esperas = 0;
    for (r.intentos = 1; r.intentos <= reintentos.maximo; ++r.intentos) {
        r.faltantes.clear();
        if (Intento(servidor, vale, *ingredientes, usuario, r).correr() == Paso::fin) return r;
        // A lock held for as long as the server waits is held by something long (not another
        // save, which takes milliseconds): it is waited for once more, not ten times.
        if (r.fallo.espera_agotada() && ++esperas > 1) break;
        if (r.intentos < reintentos.maximo) pausar(reintentos, pausa_tras(reintentos, r.intentos));
    }
    r.intentos = std::min(r.intentos, reintentos.maximo);
    // The last try may have met the voucher saved meanwhile through another copy of the
    // program (its identity refused as repeated): then it is on the server, not refused.
    const Grabacion ocupado = r;
    if (const auto paso = Intento(servidor, vale, *ingredientes, usuario, r).buscar_en_servidor();
        paso && r.en_servidor())
        return r;
    r = ocupado;
    r.estado = Grabacion::ocupado;
    return r;
}

std::optional<double> puntaje(Sentencias& s, double operario, std::string_view actividad,
                              std::string_view especificacion) {
    std::string grupo;
    {
        auto res =
            s.leer("select codi_grupo from operario where codi_oper=" + numero_sql(operario));
        if (!res) return std::nullopt;
        if (res->LastRec() == 0) return 0.0;  // no operator, no group: no points
        grupo = res->FieldGet("codi_grupo").text();
    }
    // The especificación takes the first three characters of the six-character key.
    auto res =
        s.leer("select prec_unid from unidmed where codi_prod='" + s.texto(actividad) +
               "' and codi_unid='" + s.texto(rt::pad_right(especificacion, 3) + grupo) + "'");
    if (!res) return std::nullopt;
    return res->LastRec() == 0 ? 0.0 : res->FieldGet("prec_unid").number();
}

}  // namespace datos
