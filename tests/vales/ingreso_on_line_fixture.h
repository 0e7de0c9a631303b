#pragma once
// The on-line entry against the test company, on the virtual terminal, with data of its
// own (warehouse 78, codes beginning with "Y" and "9Y", operators 801-806), put back after
// each test together with the voucher counter and every row written in warehouse 78:
//
//   YPRUEBA01 001  two activities (9Y0000001, 9Y0000002), a stock-controlled component
//                  (YCOMP0001, 2.5 a unit, 1000 in stock), an uncontrolled one (YCOMP0002,
//                  0.5, no stock record) and a sub-product (YSUBPR001 001, 0.25, 200)
//   YPRUEBA01 002  components only: no activities
//   especificaciones: 9Y0000001 "Normal" Y01 and "Compleja" Y02, 9Y0000002 "Horno" Y03;
//   points: Y01/YG1 1.5, Y02/YG1 3, Y02/YG2 2.5, Y03/YG2 0.5
//   operators: 801 PERALTA SOTO JUAN (YG1), 802 PEREIRA ANA (YG2), 803 PEREZ LUIS (YG1,
//   inactive), 804 ANA MARIA PERALTA (YG2), 805 O'HIGGINS ÑUÑEZ, 806 TASA 100% FIJA
#include <string>
#include <vector>

#include "abm/servidor_abm.h"
#include "runtime/screen/keys.h"
#include "vales/en_linea/vales_ingreso_on_line.h"
#include "vales/filas_servidor.h"

namespace prueba {

class IngresoOnLine : public ServidorAbm {
  protected:
    static constexpr int kBodega = 78;

    IngresoOnLine() {
        borrar_datos_propios();
        contador_ = contador_vales(*sesion.OSERVER);
        sql("insert into bodegas (numero_bod, nombre_bod, l_activo, l_vales) values "
            "(78, 'Bodega de ingreso', 1, 1), (79, 'Bodega cerrada', 0, 1)");
        sql("insert into prodcmp (codi_prod, desc_prod, unid_med, l_ctrl_stk) values "
            "('9Y0000001', 'Moldeo manual de piezas especiales en taller', 'UN', 0), "
            "('9Y0000002', 'Cocci\xF3n en horno', 'UN', 0), "
            "('YCOMP0001', 'Arena de prueba', 'KG', 1), "
            "('YCOMP0002', 'Agua de prueba', 'LT', 0)");
        sql("insert into prodvtas (codi_prod, codi_form, desc_prod, desc_form, unid_med, "
            "l_ctrl_stk, codi_form_rel) values "
            "('YPRUEBA01', '001', 'Pieza de ingreso', 'Con actividades', 'UN', 1, '---'), "
            "('YPRUEBA01', '002', 'Pieza de ingreso', 'Sin actividades', 'UN', 1, '---'), "
            "('YSUBPR001', '001', 'Mezcla de ingreso', 'Propia', 'KG', 1, '---')");
        sql("insert into formulas (prd_sale, prd_buy, tipo_prd, codi_form, consumo) values "
            "('YPRUEBA01001', '9Y0000001', 'I', '', 1), "
            "('YPRUEBA01001', '9Y0000002', 'I', '', 1), "
            "('YPRUEBA01001', 'YCOMP0001', 'I', '', 2.5), "
            "('YPRUEBA01001', 'YCOMP0002', 'I', '', 0.5), "
            "('YPRUEBA01001', 'YSUBPR001', 'P', '001', 0.25), "
            "('YPRUEBA01002', 'YCOMP0002', 'I', '', 1)");
        sql("insert into unidmed (codi_prod, codi_unid, desc_unid, prec_unid) values "
            "('9Y0000001', 'Y01   ', 'Normal', 0), ('9Y0000001', 'Y01YG1', 'Normal', 1.5), "
            "('9Y0000001', 'Y02   ', 'Compleja', 0), ('9Y0000001', 'Y02YG1', 'Compleja', 3), "
            "('9Y0000001', 'Y02YG2', 'Compleja', 2.5), ('9Y0000002', 'Y03   ', 'Horno', 0), "
            "('9Y0000002', 'Y03YG2', 'Horno', 0.5)");
        sql("insert into operario (codi_oper, nom_oper, codi_grupo, ope_activo, rut, "
            "digito_verif) values "
            "(801, 'PERALTA SOTO JUAN', 'YG1', 1, '11111111', '1'), "
            "(802, 'PEREIRA ANA', 'YG2', 1, '22222222', '2'), "
            "(803, 'PEREZ LUIS', 'YG1', 0, '33333333', '3'), "
            "(804, 'ANA MARIA PERALTA', 'YG2', 1, '44444444', '4'), "
            "(805, 'O''HIGGINS \xD1U\xD1\x45Z', 'YG1', 1, '55555555', '5'), "
            "(806, 'TASA 100% FIJA', 'YG1', 1, '66666666', '6')");
        sql("insert into stock_bodegas (numero_bod, tipo_prd, codi_prod, codi_form, stock) "
            "values (78, 'I', 'YCOMP0001', '', 1000), (78, 'P', 'YSUBPR001', '001', 200)");
    }
    ~IngresoOnLine() override {
        rt::con().set_key_handler(rt::key::kF1);
        if (!sesion.OSERVER || !sesion.OSERVER->SelectDB("test")) return;
        borrar_datos_propios();
        sesion.OSERVER->Query("update paramet set num_vales=" + std::to_string(contador_));
    }
    void borrar_datos_propios() {
        for (const char* s :
             {"delete from bodegas where numero_bod in (78, 79)",
              "delete from prodcmp where codi_prod like 'Y%' or codi_prod like '9Y%'",
              "delete from prodvtas where codi_prod like 'Y%'",
              "delete from formulas where prd_sale like 'Y%'",
              "delete from unidmed where codi_prod like '9Y%'",
              "delete from operario where codi_oper between 801 and 806",
              "delete from stock_bodegas where numero_bod=78",
              "delete from vales where numero_bod=78", "delete from mov_stock where numero_bod=78",
              "delete from usuarios where usuario='ysinvales'"})
            sesion.OSERVER->Query(s);
    }

    long contador() { return contador_vales(*sesion.OSERVER); }
    std::vector<std::string> vales(long numero) {
        return vales_de(*sesion.OSERVER, numero, kBodega);
    }
    std::vector<std::string> movimientos(long numero) {
        return movimientos_de(*sesion.OSERVER, numero, kBodega);
    }
    std::vector<std::string> stock() { return stock_de(*sesion.OSERVER, kBodega); }
    long filas_propias(const std::string& table) {
        return sesion.OSERVER->Query("select * from " + table + " where numero_bod=78").LastRec();
    }

    // --- keys of a user at the entry ------------------------------------------------
    // The header: the date as it stands, warehouse 78, product, formula and quantities.
    void cabecera(const char* formula, const char* cantidad, const char* malas) {
        term.keys({rt::key::kEnter}).type("78").keys({rt::key::kEnter});
        term.type("YPRUEBA01").keys({rt::key::kEnter});
        term.type(formula).keys({rt::key::kEnter});
        term.type(cantidad).keys({rt::key::kEnter}).type(malas).keys({rt::key::kEnter});
    }
    // Enter on the highlighted item: the especificación `abajo` rows below the first of
    // the list, then operator and times.
    void editar(int abajo, const char* operario, const char* inicio, const char* termino) {
        term.keys({rt::key::kEnter});
        for (int i = 0; i < abajo; ++i) term.keys({rt::key::kDown});
        term.keys({rt::key::kEnter});
        term.type(operario).keys({rt::key::kEnter});
        term.type(inicio).keys({rt::key::kEnter}).type(termino).keys({rt::key::kEnter});
    }
    // A message box goes by itself after three seconds.
    void esperar_mensaje() { term.pause(3); }

    long contador_ = 0;
};

}  // namespace prueba
