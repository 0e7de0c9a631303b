#pragma once
// The rows a voucher leaves on the server, each as its columns joined by "|", in the order
// they were written: what the tests of the voucher save and of the on-line entry compare.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/server/tmysql.h"

namespace prueba {

inline std::vector<std::string> filas(TMySQLServer& srv, const std::string& select,
                                      const std::string& table, const std::string& where) {
    auto q = srv.Query("select concat_ws('|', " + select + ") from " + table + " where " + where +
                       " order by id");
    EXPECT_FALSE(q.NetErr()) << q.Error();
    std::vector<std::string> out;
    for (long n = 1; n <= q.LastRec(); ++n) out.push_back(q.GetRow(n)->Raw(1));
    return out;
}

// The `vales` rows of a voucher in warehouse `bodega`.
inline std::vector<std::string> vales_de(TMySQLServer& srv, long numero, int bodega) {
    return filas(
        srv,
        "fecha_prod, codi_prod, codi_form, cantidad, malas, numero_bod, codi_insu, "
        "form_insu, tipo_insu, consumo, codi_oper, codi_tipo, puntaje_un, c_estado",
        "vales",
        "nume_folio=" + std::to_string(numero) + " and numero_bod=" + std::to_string(bodega));
}

// The stock movements of a voucher in warehouse `bodega`.
inline std::vector<std::string> movimientos_de(TMySQLServer& srv, long numero, int bodega) {
    return filas(
        srv,
        "tipo_doc, fecha_doc, tipo_prd, codi_prod, codi_form, cantidad, numero_bod, "
        "l_anular, usuario",
        "mov_stock",
        "nume_doc=" + std::to_string(numero) + " and numero_bod=" + std::to_string(bodega));
}

// Every stock record of a warehouse: kind, code, formula and amount.
inline std::vector<std::string> stock_de(TMySQLServer& srv, int bodega) {
    auto q = srv.Query(
        "select concat_ws('|', tipo_prd, codi_prod, codi_form, stock) from stock_bodegas where "
        "numero_bod=" +
        std::to_string(bodega) + " order by tipo_prd, codi_prod, codi_form");
    EXPECT_FALSE(q.NetErr()) << q.Error();
    std::vector<std::string> out;
    for (long n = 1; n <= q.LastRec(); ++n) out.push_back(q.GetRow(n)->Raw(1));
    return out;
}

inline long contador_vales(TMySQLServer& srv) {
    return static_cast<long>(srv.Query("select num_vales from paramet").FieldGet(1).number());
}

}  // namespace prueba
