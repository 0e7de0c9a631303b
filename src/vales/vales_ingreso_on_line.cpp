// Saving a production voucher to the server: the formula is exploded into its
// ingredients; then, as one transaction, the voucher is numbered, the stock of the
// controlled ingredients is checked, and the voucher is written with its stock movements.
#include "vales/vales_ingreso_on_line.h"

#include <cmath>
#include <optional>
#include <string>

#include "abm/abm_rutinas.h"
#include "abm/consulta_sesion.h"
#include "abm/rutinas2.h"
#include "comun/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/forms/mask.h"
#include "runtime/lists/pick_list.h"
#include "runtime/screen/console.h"
#include "vales/origen_vales.h"

namespace vales {

namespace {

using abm::consulta;
using abm::fallo;
using abm::hay_filas;
using abm::sqlnum;
using abm::sqltexto;

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

std::optional<std::vector<Ingrediente>> leer_ingredientes(const DatosCab& cab) {
    auto res = consulta(
        "select formulas.prd_buy, formulas.codi_form, formulas.tipo_prd, formulas.consumo, "
        "if(formulas.tipo_prd='P',prodvtas.desc_prod, prodcmp.desc_prod) as nombre_producto,  "
        "if(formulas.tipo_prd='P',prodvtas.l_ctrl_stk,prodcmp.l_ctrl_stk) as control_stk, "
        "prodvtas.codi_form_rel from formulas left join prodvtas on formulas.prd_buy = "
        "prodvtas.codi_prod and formulas.codi_form = prodvtas.codi_form and formulas.tipo_prd "
        "= 'P' left join prodcmp on formulas.prd_buy = prodcmp.codi_prod and formulas.tipo_prd "
        "= 'I' where prd_sale='" +
        sqltexto(cab.producto + cab.formula) + "'  and left(formulas.prd_buy,1) <> '9'");
    if (fallo(res)) return std::nullopt;
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

cp::Oem cantidad_14(double x) {
    return rt::format_with_mask(rt::Value(x), "@E 999,999,999.99").left_padded(14);
}

// One line of the shortage window per controlled ingredient whose stock in the warehouse
// does not cover the voucher; all of them are checked.
std::vector<cp::Oem> faltantes(const DatosCab& cab, const std::vector<Ingrediente>& ingr) {
    std::vector<cp::Oem> lines;
    for (const auto& ing : ingr) {
        if (!ing.controla_stock) continue;
        const double disponible = abm::STOCK(cab.bodega, ing.tipo, ing.codigo, ing.formula_stock);
        const double requerido = redondeo(ing.consumo * cab.cantidad);
        if (requerido <= redondeo(disponible)) continue;
        const std::string claves = ing.tipo + " " + rt::pad_right(ing.codigo, 9) + " " +
                                   (ing.tipo == "P" ? rt::pad_right(ing.formula_stock, 3) : "   ");
        lines.push_back(cp::ansi_to_oem(claves) + " " + cp::ansi_to_oem(ing.nombre).padded(37) +
                        " " + cantidad_14(requerido) + " " + cantidad_14(disponible) + " " +
                        cantidad_14(redondeo(requerido - disponible)));
    }
    return lines;
}

void mostrar_faltantes(const std::vector<cp::Oem>& lines) {
    rt::Console& c = rt::con();
    const int last = rt::kCols - 1;
    abm::MSG("[\x18] [\x19]    [Esc]Salir");
    c.tone(100, 1);
    abm::BOX(10, 0, 23, last, "+w/bg");
    c.write_at(10, 1, "< Error - Stock Insuficiente >", "+gr/bg");
    c.write_at(11, 1,
               "T Producto  Frm Descripción                                Requerido          "
               "Stock       Faltante"_oem);
    abm::DISPLINEA(12, 0, last, "+w/bg");
    rt::pick_list(13, 1, 22, last - 1, lines);
}

// The writes of one voucher inside a transaction. The first failing statement stops the
// voucher: what was written for it is rolled back, so the server never keeps part of a
// voucher whose caller is told it was not saved (an upload then leaves it pending and
// sends it again later).
class Escritura {
  public:
    bool iniciar() { return !fallo(consulta("START TRANSACTION")); }

    // The result of a statement of the voucher; nothing when it failed, whose error and
    // text are then kept for the report.
    std::optional<TMySQLQuery> leer(const std::string& statement) {
        auto res = consulta(statement);
        if (!fallo(res)) return res;
        ocupado_ = res && res->Busy();
        error_ = res ? res->Error() : std::string(rt::kNoConnection);
        sentencia_ = statement;
        return std::nullopt;
    }
    // The last failure was a row that another connection kept locked (the counter, as a
    // rule): the server is busy, not wrong, and the save can simply be tried again.
    bool ocupado() const { return ocupado_; }
    bool sql(const std::string& statement) { return leer(statement).has_value(); }
    // Stock changes report their own failures on screen (message and statement).
    bool stock(double bodega, const std::string& tipo, const std::string& codigo,
               const std::string& formula, double cantidad) {
        if (abm::SUMA_STOCK(bodega, tipo, codigo, formula, cantidad)) return true;
        error_ = "No se pudo actualizar el stock de "_ansi + tipo + " " + codigo + " " + formula;
        sentencia_.clear();
        return false;
    }
    bool confirmar() { return sql("COMMIT"); }
    void deshacer() { consulta("ROLLBACK"); }

    // Tells the user that nothing of the voucher stayed on the server, and why. A server
    // that stopped answering was reported when it was given up, and its connection closed:
    // nothing more to say, unless it stopped at the commit, which it may have carried out.
    void informar(long numero) const {
        if (conexion_perdida()) {
            if (sentencia_ == "COMMIT")
                abm::MSGBOX("El servidor no confirmó el vale "_oem +
                            cp::Oem(std::to_string(numero)) +
                            ": revise si quedó grabado antes de reintentar"_oem);
            return;
        }
        std::string text =
            "El vale no se grabó en el servidor: se deshizo todo lo escrito "
            "para él y puede enviarse otra vez."_ansi;
        text += "\r\n\r\n" + error_;
        if (!sentencia_.empty()) text += "\r\n\r\n" + sentencia_;
        abm::VERMEMO(cp::ansi_to_oem(text));
    }

    static bool conexion_perdida() {
        const auto& server = ses().OSERVER;
        return !server || !server->connected();
    }

  private:
    std::string error_, sentencia_;
    bool ocupado_ = false;
};

// The voucher number: the counter is advanced and read inside the voucher's transaction,
// whose row lock keeps every other workstation from advancing it until this voucher is
// committed or rolled back. 0 when the counter could not be advanced or read. The reads
// that follow see every voucher committed before the lock was granted.
long tomar_numero(Escritura& w) {
    if (!w.sql("update paramet set num_vales = num_vales + 01")) return 0;
    auto res = w.leer("select num_vales from paramet");
    if (!res || res->LastRec() == 0) return 0;
    return std::lround(res->FieldGet("num_vales").number());
}

// The formula whose stock the product shares, when its catalogue row names one; otherwise
// its own. nullopt when the catalogue cannot be read.
std::optional<std::string> formula_de_stock(Escritura& w, const DatosCab& cab) {
    auto res = w.leer("select codi_form_rel from prodvtas where codi_prod='" +
                      sqltexto(cab.producto) + "' and codi_form='" + sqltexto(cab.formula) + "'");
    if (!res) return std::nullopt;
    // A product removed from the catalogue since an off-line voucher was recorded keeps
    // the formula the voucher names.
    if (res->LastRec() == 0) return cab.formula;
    const std::string rel = res->FieldGet(1).text();
    if (rel == "---" || rt::trim(rel).empty()) return cab.formula;
    return rel;
}

bool escribir_vale(Escritura& w, long numero, const DatosCab& cab,
                   const std::vector<DatosItm>& items, const std::vector<Ingrediente>& ingr) {
    const auto rel = formula_de_stock(w, cab);
    if (!rel) return false;
    const std::string formula = *rel;
    const std::string num = sqlnum(static_cast<double>(numero));
    const std::string fecha = cab.fecha.dtos();
    const std::string bodega = sqlnum(cab.bodega);
    const std::string usuario = sqltexto(ses().COD_USUARIO);
    const std::string cabecera_fila = "insert into vales set nume_folio=" + num + ", fecha_prod='" +
                                      fecha + "', codi_prod='" + sqltexto(cab.producto) +
                                      "', codi_form='" + sqltexto(formula) + "', cantidad=";

    if (!w.stock(cab.bodega, "P", cab.producto, formula, cab.cantidad)) return false;
    if (!w.sql("insert into mov_stock set tipo_doc='7', nume_doc=" + num + ", fecha_doc='" + fecha +
               "', rut_doc='', tipo_prd='P', codi_prod='" + sqltexto(cab.producto) +
               "', codi_form='" + sqltexto(formula) + "', cantidad=" + sqlnum(cab.cantidad) +
               ", numero_bod=" + bodega + ", bodega_rel='', l_anular=false, usuario='" + usuario +
               "'"))
        return false;

    for (const auto& item : items) {
        const double puntos = PUNTAJE(item.operario, item.actividad, item.especificacion);
        if (!w.sql(cabecera_fila + sqlnum(item.cantidad) + ", malas=" + sqlnum(cab.malas) +
                   ", numero_bod=" + bodega + ", codi_insu='" + sqltexto(item.actividad) +
                   "', form_insu='', tipo_insu='I', consumo=" + sqlnum(item.cantidad_unitaria) +
                   ", codi_oper=" + sqlnum(item.operario) + ", codi_tipo='" +
                   sqltexto(item.especificacion) + "', puntaje_un=" + sqlnum(puntos) +
                   ", c_estado='1'"))
            return false;
    }

    for (const auto& ing : ingr) {
        if (!w.sql(cabecera_fila + sqlnum(cab.cantidad) + ", malas=" + sqlnum(cab.malas) +
                   ", numero_bod=" + bodega + ", codi_insu='" + sqltexto(ing.codigo) +
                   "', form_insu='" + sqltexto(ing.formula_stock) + "', tipo_insu='" +
                   sqltexto(ing.tipo) + "', consumo=" + sqlnum(ing.consumo) +
                   ", codi_oper=0, codi_tipo='', puntaje_un=0, c_estado='1'"))
            return false;
        const double consumido = -redondeo(ing.consumo * cab.cantidad);
        if (!w.stock(cab.bodega, ing.tipo, ing.codigo, ing.formula_stock, consumido)) return false;
        if (!w.sql("insert into mov_stock set tipo_doc='8', nume_doc=" + num + ", fecha_doc='" +
                   fecha + "', rut_doc='', tipo_prd='" + sqltexto(ing.tipo) + "', codi_prod='" +
                   sqltexto(ing.codigo) + "', codi_form='" + sqltexto(ing.formula_stock) +
                   "', cantidad=" + sqlnum(consumido) + ", numero_bod=" + bodega +
                   ", bodega_rel='', l_anular=false, usuario='" + usuario + "'"))
            return false;
    }
    return true;
}

// The screen and colour as the caller had them, whatever way the save ends.
class PantallaGuardada {
  public:
    PantallaGuardada()
        : screen_(rt::con().save_screen()), colour_(rt::con().set_colour("w/bg,+w/bg")) {}
    ~PantallaGuardada() {
        rt::con().set_colour(colour_);
        rt::con().restore_screen(screen_);
    }
    PantallaGuardada(const PantallaGuardada&) = delete;
    PantallaGuardada& operator=(const PantallaGuardada&) = delete;

  private:
    rt::SavedScreen screen_;
    std::string colour_;
};

}  // namespace

long GRABARVALE_SERVIDOR(const DatosCab& header, const std::vector<DatosItm>& items,
                         bool show_shortage, const OrigenVale* origen) {
    PantallaGuardada pantalla;

    const auto ingredientes = leer_ingredientes(header);
    if (!ingredientes) {
        // A lost connection has been reported as such.
        if (!Escritura::conexion_perdida()) abm::MSGBOX("No se puede leer fórmula de producto"_oem);
        return 0;
    }

    // The stock is checked after the counter is taken: the counter's row lock makes the
    // saves of all workstations take turns, so no other voucher draws on the stock between
    // this voucher's check and its consumption. A refused voucher rolls the counter back
    // (and leaves the lock) before its window waits for the user.
    Escritura w;
    if (!w.iniciar()) return 0;
    const long numero = tomar_numero(w);
    if (numero <= 0) {  // the counter did not move: nothing written
        w.deshacer();
        // Another workstation kept the counter locked for longer than the server waits.
        if (w.ocupado()) {
            abm::MSGBOX(cp::utf8_to_oem(kServidorOcupado));
        } else if (show_shortage && !Escritura::conexion_perdida()) {
            abm::MSGBOX(cp::utf8_to_oem(kSinNumeroDeVale));
        }
        return 0;
    }
    const auto cortos = faltantes(header, *ingredientes);
    if (!cortos.empty()) {
        w.deshacer();
        if (show_shortage) mostrar_faltantes(cortos);
        return 0;
    }
    if (!escribir_vale(w, numero, header, items, *ingredientes) ||
        (origen && !w.sql(insercion_origen(*origen, numero))) || !w.confirmar()) {
        w.deshacer();
        w.informar(numero);
        return 0;
    }
    return numero;
}

double PUNTAJE(double operario, std::string_view actividad, std::string_view especificacion) {
    std::string grupo;
    {
        auto res = consulta("select codi_grupo from operario where codi_oper=" + sqlnum(operario));
        if (!hay_filas(res)) return 0;  // no operator, no group: no points
        grupo = res->FieldGet("codi_grupo").text();
    }
    // The especificación takes the first three characters of the six-character key.
    auto res =
        consulta("select prec_unid from unidmed where codi_prod='" + sqltexto(actividad) +
                 "' and codi_unid='" + sqltexto(rt::pad_right(especificacion, 3) + grupo) + "'");
    if (!hay_filas(res)) return 0;
    return res->FieldGet("prec_unid").number();
}

}  // namespace vales
