// Opening stock balances: one movement per item and warehouse where the movements on
// record do not add up to the stock.
#include "abm/saldos_anteriores.h"

#include <cmath>
#include <string>
#include <vector>

#include "abm/abm_rutinas.h"
#include "abm/catalogo_sql.h"
#include "abm/consola_lineas.h"
#include "abm/consulta_sesion.h"
#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/lists/alert.h"
#include "runtime/server/tmysql.h"
#include "ui/resguardo.h"
#include "ui/rutinas2.h"

namespace abm {

namespace {

// Products have a formula and start at the ninth warehouse; components have none.
struct Clase {
    std::string tipo;  // "P" or "I"
    std::string lectura;
    std::size_t primera_bodega;
};

// Quantities come from decimal columns: rounding to seven decimals removes the binary
// noise of the difference, so equal amounts give exactly 0.
double redondeo(double x) {
    return std::round(x * 1e7) / 1e7;
}

// Whether a statement failed since the flag was last cleared (STOCK reports its own
// failures and gives 0, which must not be taken for a stock of 0).
bool fallo_servidor() {
    auto& s = datos::ses().OSERVER;
    return !s || s->NetErr();
}
// The connection was lost waiting for an answer.
bool sin_respuesta() {
    auto& s = datos::ses().OSERVER;
    return s && !s->connected();
}
void limpiar_fallo() {
    if (auto& s = datos::ses().OSERVER) s->Error();
}

class Saldos {
  public:
    Saldos(const Clase& clase, ConsolaLineas& consola) : clase_(clase), consola_(consola) {}

    // False when a statement failed: the part is undone and the user told.
    bool correr(const std::vector<double>& bodegas) {
        auto inicio = consulta("START TRANSACTION");
        if (fallo(inicio)) return abandonar(inicio);
        auto items = consulta(clase_.lectura);
        if (fallo(items)) return abandonar(items);
        limpiar_fallo();
        for (std::size_t b = clase_.primera_bodega; b < bodegas.size(); ++b) {
            consola_.limpiar();
            for (long n = 1; n <= items->LastRec(); ++n) {
                const auto fila = items->GetRow(n);
                if (!item(bodegas[b], fila->FieldGet("codi_prod").text(),
                          clase_.tipo == "P" ? fila->FieldGet("codi_form").text() : ""))
                    return false;
            }
        }
        auto fin = consulta("COMMIT");
        if (fallo(fin) && sin_respuesta()) {
            // The server may have committed all the same.
            rt::alert(
                "El servidor no confirmó los saldos de esta parte:;revise si quedaron "
                "grabados antes de reintentar"_oem);
            return false;
        }
        if (fallo(fin)) return abandonar(fin);
        return true;
    }

  private:
    bool item(double numero, const std::string& codigo, const std::string& formula) {
        const bool producto = clase_.tipo == "P";
        const std::string bodega = sqlnum(numero);
        consola_.linea(cp::ansi_to_oem("Bodega: " + bodega + "  =>  " + codigo + " " +
                                       (producto ? formula + " " : std::string())));
        std::string suma = "select sum(cantidad) as total from mov_stock where tipo_prd='" +
                           clase_.tipo + "' and codi_prod='" + sqltexto(codigo) + "' ";
        if (producto) suma += "and codi_form='" + sqltexto(formula) + "' ";
        suma += "and numero_bod=" + bodega + " ";
        auto total = consulta(suma);
        if (fallo(total)) return abandonar(total);
        const double stock = STOCK(numero, clase_.tipo, codigo, producto ? formula : std::string());
        if (fallo_servidor()) return abandonar();
        const double diferencia = redondeo(stock - total->FieldGet("total").number());
        if (diferencia == 0) return true;
        auto alta = consulta(
            "insert into mov_stock set nume_doc=99999999, fecha_doc='1980-01-01', tipo_prd='" +
            clase_.tipo + "', codi_prod='" + sqltexto(codigo) + "', codi_form='" +
            (producto ? sqltexto(formula) : std::string("   ")) +
            "', cantidad=" + sqlnum(diferencia) + ", numero_bod=" + bodega + " ");
        if (fallo(alta)) return abandonar(alta);
        consola_.seguir("  Registro insertado");
        return true;
    }

    bool abandonar(std::optional<TMySQLQuery>& q) {
        const std::string error = error_servidor(q);
        consulta("ROLLBACK");
        rt::alert("Error:;" + cp::ansi_to_oem(error) +
                  ";No se grabó ningún saldo de esta parte."_oem);
        return false;
    }
    bool abandonar() {
        consulta("ROLLBACK");
        rt::alert("No se pudo leer el stock: no se grabó ningún saldo de esta parte."_oem);
        return false;
    }

    const Clase& clase_;
    ConsolaLineas& consola_;
};

}  // namespace

void SALDOS_ANTERIORES() {
    ui::Resguardo resguardo;
    auto res = consulta("select numero_bod from bodegas");
    if (fallo(res)) {
        mostrar_error(res);
        return;
    }
    std::vector<double> bodegas;
    for (long n = 1; n <= res->LastRec(); ++n)
        bodegas.push_back(res->GetRow(n)->FieldGet("numero_bod").number());

    const Clase productos{"P", "select codi_prod, codi_form from prodvtas", 8};
    const Clase insumos{"I", "select codi_prod from prodcmp", 0};
    if (ui::CONFIRMA("Crear registro saldo anterior para PRODVTAS (productos)")) {
        ConsolaLineas consola;
        if (Saldos(productos, consola).correr(bodegas)) rt::alert("listo");
    }
    if (ui::CONFIRMA("Crear registro saldo anterior para PRODCMP (insumos)")) {
        ConsolaLineas consola;
        if (Saldos(insumos, consola).correr(bodegas)) rt::alert("listo");
    }
}

}  // namespace abm
