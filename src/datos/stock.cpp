#include "datos/stock.h"

namespace datos {

std::string condicion_stock(const Sentencias& s, double bodega, std::string_view tipo,
                            std::string_view codigo, std::string_view formula) {
    std::string w = "where numero_bod=" + numero_sql(bodega) + " and tipo_prd='" + s.texto(tipo) +
                    "' and codi_prod='" + s.texto(codigo) + "' ";
    if (tipo == "P") w += " and codi_form='" + s.texto(formula) + "'";
    return w;
}

std::optional<double> leer_stock(Sentencias& s, double bodega, std::string_view tipo,
                                 std::string_view codigo, std::string_view formula) {
    auto res = s.leer("select stock from stock_bodegas " +
                      condicion_stock(s, bodega, tipo, codigo, formula));
    if (!res) return std::nullopt;
    return res->LastRec() > 0 ? res->FieldGet("stock").number() : 0.0;
}

bool sumar_stock(Sentencias& s, double bodega, std::string_view tipo, std::string_view codigo,
                 std::string_view formula, double cantidad) {
    const std::string donde = condicion_stock(s, bodega, tipo, codigo, formula);
    const std::string suma =
        "update stock_bodegas set stock=stock+" + numero_sql(cantidad) + " " + donde;
    auto existe = s.leer("select * from stock_bodegas " + donde);
    if (!existe) return false;
    if (existe->LastRec() > 0) return s.escribir(suma);
    const bool marcada_antes = s.servidor().NetErr();
    auto alta = s.probar("insert into stock_bodegas set stock=" + numero_sql(cantidad) +
                         ", numero_bod=" + numero_sql(bodega) + ", tipo_prd='" + s.texto(tipo) +
                         "', codi_prod='" + s.texto(codigo) + "', codi_form='" +
                         (tipo == "P" ? s.texto(formula) : std::string()) + "'");
    if (!alta) return false;
    // Another workstation created the record between our look and our insert: the amount
    // goes onto that record instead of being lost.
    // The refused insert is no failure for a caller that checks the connection's flag.
    if (alta->NetErr() && alta->ErrorNo() == kClaveRepetida) {
        if (!s.escribir(suma)) return false;
        if (!marcada_antes) s.servidor().Error();
        return true;
    }
    return s.aceptar(*alta);
}

std::optional<std::vector<StockBodega>> stock_por_bodega(Sentencias& s, std::string_view tipo,
                                                         std::string_view codigo,
                                                         std::string_view formula,
                                                         bool solo_distinto_de_cero) {
    std::string sql =
        "select bodegas.*, stock_bodegas.stock from bodegas left join stock_bodegas on "
        "bodegas.numero_bod=stock_bodegas.numero_bod and stock_bodegas.tipo_prd='" +
        s.texto(tipo) + "' and stock_bodegas.codi_prod='" + s.texto(codigo) + "' ";
    if (tipo == "P") sql += "and stock_bodegas.codi_form='" + s.texto(formula) + "' ";
    sql +=
        solo_distinto_de_cero ? "where bodegas.l_activo and stock<>0 " : "where bodegas.l_activo ";
    sql += "order by bodegas.l_pedidos desc, bodegas.l_vales desc";
    auto res = s.leer(sql);
    if (!res) return std::nullopt;
    std::vector<StockBodega> out;
    for (long n = 1; n <= res->LastRec(); ++n) {
        const auto fila = res->GetRow(n);
        out.push_back({fila->FieldGet("nombre_bod").text(), fila->FieldGet("stock").number()});
    }
    return out;
}

bool transferencias_pendientes(Sentencias& s, std::string_view tipo, std::string_view codigo,
                               std::optional<std::string_view> formula, bool misma_formula) {
    std::string sql =
        "select trfbodi.n_transfer from trfbodi inner join trfbodc on "
        "trfbodi.n_transfer=trfbodc.n_transfer where trfbodi.tipo_prd='" +
        s.texto(tipo) + "' and trfbodi.codi_prod='" + s.texto(codigo) + "' ";
    if (tipo == "P" && formula) {
        sql += std::string("and trfbodi.codi_form") + (misma_formula ? "=" : "<>") + "'" +
               s.texto(*formula) + "' ";
    }
    sql += "and trfbodc.c_estado='1'";
    auto res = s.probar(sql);
    return res && !res->NetErr() && res->LastRec() > 0;
}

}  // namespace datos
