// Product cost: the formula's lines read from the server, components at their price in the
// cost currency, intermediate products at their own cost, each times its consumption.
#include "abm/abm_rutinas2.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "abm/consulta_sesion.h"
#include "runtime/common/texto.h"

namespace abm {

namespace {

// The currency table of the run and where it comes from.
struct Costos {
    FuenteMonedas fuente = MONEDAS;
    TablaMonedas monedas;
};

Costos& costos() {
    static Costos c;
    return c;
}

// A price kept as text read as the number it starts with ("125.50", " 3500", "1,85" is 1):
// blanks, a sign, digits and one decimal point; anything else ends it.
double valor_texto(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size() && t[i] == ' ') ++i;
    double signo = 1;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) signo = t[i++] == '-' ? -1 : 1;
    double valor = 0, escala = 0;
    for (; i < t.size(); ++i) {
        const char ch = t[i];
        if (ch == '.' && escala == 0) {
            escala = 1;
        } else if (ch >= '0' && ch <= '9') {
            if (escala > 0) {
                escala /= 10;
                valor += (ch - '0') * escala;
            } else {
                valor = valor * 10 + (ch - '0');
            }
        } else {
            break;
        }
    }
    return signo * valor;
}

// A code as it stands in the fixed-width key of a formula line: blank-padded to its width.
std::string ancho_fijo(std::string_view codigo, std::size_t ancho) {
    std::string s(codigo);
    if (s.size() < ancho) s.resize(ancho, ' ');
    return s;
}

class Explosion {
  public:
    explicit Explosion(bool estricto) : estricto_(estricto) {}

    double costo(std::string_view producto, std::string_view formula) {
        const std::string clave = ancho_fijo(producto, 9) + ancho_fijo(formula, 3);
        if (std::find(camino_.begin(), camino_.end(), clave) != camino_.end()) return 0;
        camino_.push_back(clave);
        const double c = lineas(clave);
        camino_.pop_back();
        return c;
    }

  private:
    double lineas(const std::string& clave) {
        auto res = consulta(
            "select formulas.prd_buy, formulas.codi_form, formulas.tipo_prd, formulas.consumo, "
            "prodcmp.codi_prod as codi_insumo, prodcmp.prec_comp, prodcmp.moneda from formulas "
            "left join prodcmp on formulas.prd_buy=prodcmp.codi_prod and formulas.tipo_prd='I' "
            "where formulas.prd_sale='" +
            sqltexto(clave) + "' order by formulas.tipo_prd");
        if (fallo(res)) return 0;
        double total = 0;
        for (long n = 1; n <= res->LastRec(); ++n) {
            const auto fila = res->GetRow(n);
            const std::string tipo = rt::trim(fila->FieldGet("tipo_prd").text());
            if (tipo != "I" && tipo != "P") continue;
            const std::optional<double> aporte =
                tipo == "I" ? componente(*fila) : intermedio(*fila);
            if (aporte) {
                total += *aporte;
            } else if (estricto_) {
                return 0;
            }
        }
        return total;
    }

    // Price x consumption x factor of the price's currency; nothing when the line cannot be
    // priced.
    static std::optional<double> componente(const TMySQLRow& fila) {
        if (rt::trim(fila.FieldGet("codi_insumo").text()).empty()) return std::nullopt;
        const double precio = valor_texto(fila.FieldGet("prec_comp").text());
        if (precio == 0) return std::nullopt;
        const double moneda = fila.FieldGet("moneda").number();
        const auto& tabla = costos().monedas;
        auto m = std::find_if(tabla.begin(), tabla.end(),
                              [&](const Moneda& x) { return x.codigo == moneda; });
        if (m == tabla.end()) return std::nullopt;
        const double consumo = fila.FieldGet("consumo").number();
        if (consumo == 0) return std::nullopt;
        return precio * consumo * m->factor;
    }

    // The intermediate product's own cost x consumption; nothing when either is 0.
    std::optional<double> intermedio(const TMySQLRow& fila) {
        const double consumo = fila.FieldGet("consumo").number();
        if (consumo == 0) return std::nullopt;
        const double sub =
            costo(fila.FieldGet("prd_buy").text(), fila.FieldGet("codi_form").text());
        if (sub == 0) return std::nullopt;
        return sub * consumo;
    }

    bool estricto_;
    std::vector<std::string> camino_;  // the products being costed, outermost first
};

}  // namespace

TablaMonedas MONEDAS() {
    return {};
}

FuenteMonedas instalar_fuente_monedas(FuenteMonedas fuente) {
    Costos& c = costos();
    c.monedas.clear();
    return std::exchange(c.fuente, std::move(fuente));
}

double CALCULACOSTO(std::string_view producto, std::string_view formula, bool estricto) {
    Costos& c = costos();
    if (c.monedas.empty() && c.fuente) c.monedas = c.fuente();
    return Explosion(estricto).costo(producto, formula);
}

}  // namespace abm
