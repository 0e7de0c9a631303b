// Stock per warehouse on the server: reading, adding, and pending transfers.
#include "abm/abm_rutinas.h"
#include "abm/consulta_sesion.h"
#include "abm/rutinas2.h"
#include "comun/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/lists/alert.h"

namespace abm {

namespace {

// The condition that picks one stock record. For components the formula plays no part.
std::string condicion_stock(double warehouse, std::string_view kind, std::string_view code,
                            std::string_view formula) {
    std::string w = "where numero_bod=" + sqlnum(warehouse) + " and tipo_prd='" + sqltexto(kind) +
                    "' and codi_prod='" + sqltexto(code) + "' ";
    if (kind == "P") w += " and codi_form='" + sqltexto(formula) + "'";
    return w;
}

}  // namespace

double STOCK(double warehouse, std::string_view kind, std::string_view code,
             std::string_view formula, double needed, bool msg_if_short) {
    double stock = 0;
    {
        auto res = consulta("select stock from stock_bodegas " +
                            condicion_stock(warehouse, kind, code, formula));
        if (fallo(res)) {
            MSGBOX("ERROR: No se puede encontrar stock de producto");
            return 0;
        }
        if (res->LastRec() > 0) stock = res->FieldGet("stock").number();
    }
    if (msg_if_short && needed > stock) MSGBOX("Stock insuficiente...");
    return stock;
}

bool SUMA_STOCK(double warehouse, std::string_view kind, std::string_view code,
                std::string_view formula, double amount) {
    const std::string where = condicion_stock(warehouse, kind, code, formula);
    auto existe = [&]() -> std::optional<bool> {
        auto res = consulta("select * from stock_bodegas " + where);
        if (fallo(res)) return std::nullopt;
        return res->LastRec() > 0;
    };
    const std::optional<bool> exists = existe();
    if (!exists) {
        MSGBOX("ERROR: No se puede conectar a registros de stock");
        return false;
    }
    const std::string update =
        "update stock_bodegas set stock=stock+" + sqlnum(amount) + " " + where;
    std::string sql = *exists ? update
                              : "insert into stock_bodegas set stock=" + sqlnum(amount) +
                                    ", numero_bod=" + sqlnum(warehouse) + ", tipo_prd='" +
                                    sqltexto(kind) + "', codi_prod='" + sqltexto(code) +
                                    "', codi_form='" +
                                    (kind == "P" ? sqltexto(formula) : std::string()) + "'";
    auto& server = vales::ses().OSERVER;
    const bool flagged_before = server && server->NetErr();
    bool failed = fallo(consulta(sql));
    // Another workstation may have created the record between our look and our insert:
    // the amount then goes onto that record instead of being lost, and the refused insert
    // is no failure for a caller that checks the connection's flag afterwards.
    if (failed && !*exists && existe().value_or(false)) {
        sql = update;
        failed = fallo(consulta(sql));
        if (!failed && !flagged_before) server->Error();
    }
    if (failed) {
        MSGBOX("ERROR: No se puede actualizar registro de stock");
        rt::alert(cp::ansi_to_oem(sql));
        return false;
    }
    return true;
}

bool EXISTEN_TRANSF_PEND(std::string_view kind, std::string_view code,
                         std::optional<std::string_view> formula, bool same_formula) {
    std::string sql =
        "select trfbodi.n_transfer from trfbodi inner join trfbodc on "
        "trfbodi.n_transfer=trfbodc.n_transfer where trfbodi.tipo_prd='" +
        sqltexto(kind) + "' and trfbodi.codi_prod='" + sqltexto(code) + "' ";
    if (kind == "P" && formula) {
        sql += std::string("and trfbodi.codi_form") + (same_formula ? "=" : "<>") + "'" +
               sqltexto(*formula) + "' ";
    }
    sql += "and trfbodc.c_estado='1'";
    return hay_filas(consulta(sql));
}

}  // namespace abm
