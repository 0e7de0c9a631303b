#pragma once
// Vouchers recorded off-line and sent to the test company: a scratch off-line store holding
// the local copies of this fixture's own product, and on the server that product with its
// formula, warehouse 78 and the stock of its controlled ingredient. Every row written on the
// server for warehouse 78 (vouchers, movements, stock, origins) and the counter are put back
// when the test ends.
//
// Product YPRUEBA01 001 ("Pieza de envío"): activities 900000001 and 900000003 (one each per
// unit), ingredient YCOMP0001 (2 per unit, stock controlled, 1000 in stock: 500 units take
// it all) and YCOMP0002 (0.5 per unit, not controlled).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "abm/servidor_abm.h"
#include "datos/estacion_local.h"
#include "runtime/offline/todbc.h"
#include "support/offline_store.h"
#include "support/store_rows.h"
#include "vales/fuera_de_linea/vales_ingreso_off_line.h"
#include "vales/ingreso/vale_registros.h"

namespace prueba {

class ValesLocales : public ServidorAbm {
  protected:
    ValesLocales() {
        borrar_datos_propios();
        contador_ = contador();
        sql("insert into bodegas (numero_bod, nombre_bod, l_activo, l_vales) values "
            "(78, 'Bodega de env\xEDos', 1, 1)");
        sql("insert into prodcmp (codi_prod, desc_prod, unid_med, l_ctrl_stk) values "
            "('YCOMP0001', 'Arcilla de env\xEDo', 'KG', 1), ('YCOMP0002', 'Agua de env\xEDo', "
            "'LT', 0)");
        sql("insert into prodvtas (codi_prod, codi_form, desc_prod, desc_form, unid_med, "
            "l_activo, l_vigente, l_ctrl_stk, codi_form_rel) values "
            "('YPRUEBA01', '001', 'Pieza de env\xEDo', 'Propia', 'UN', 1, 1, 1, '---')");
        sql("insert into formulas (prd_sale, prd_buy, tipo_prd, codi_form, consumo) values "
            "('YPRUEBA01001', '900000001', 'I', '', 1), ('YPRUEBA01001', '900000003', 'I', '', 1), "
            "('YPRUEBA01001', 'YCOMP0001', 'I', '', 2), ('YPRUEBA01001', 'YCOMP0002', 'I', '', "
            "0.5)");
        sql("insert into stock_bodegas (numero_bod, tipo_prd, codi_prod, codi_form, stock) values "
            "(78, 'I', 'YCOMP0001', '', 1000)");
        store.run(
            "insert into prodvtas (codi_prod, desc_prod, codi_form, desc_form, l_vigente, "
            "l_activo) values ('YPRUEBA01', 'Pieza de env\xEDo ''\xD1"
            "and\xFA''', '001', "
            "'Propia', true, true)");
    }
    ~ValesLocales() override {
        if (!sesion.OSERVER || !sesion.OSERVER->SelectDB("test")) return;
        borrar_datos_propios();
        sesion.OSERVER->Query("update paramet set num_vales=" + std::to_string(contador_));
    }
    void borrar_datos_propios() {
        for (const char* s :
             {"delete i from vales_identidad i join vales v on v.nume_folio=i.nume_folio where "
              "v.numero_bod=78",
              "delete from bodegas where numero_bod=78",
              "delete from prodcmp where codi_prod like 'Y%'",
              "delete from prodvtas where codi_prod like 'Y%'",
              "delete from formulas where prd_sale like 'Y%'",
              "delete from stock_bodegas where numero_bod=78",
              "delete from vales where numero_bod=78", "delete from mov_stock where numero_bod=78"})
            sesion.OSERVER->Query(s);
    }

    long contador() {
        return static_cast<long>(
            sesion.OSERVER->Query("select num_vales from paramet").FieldGet(1).number());
    }

    // --- the off-line store ------------------------------------------------------------
    // Local numbers and states of every voucher of the store, "n|state".
    static std::vector<std::string> estados(const testing_support::ScratchStore& s) {
        return s.rows("select n_interno, c_estado from vales_cab order by n_interno");
    }
    static std::string estacion(const testing_support::ScratchStore& s) {
        rt::TODBC db(s.connection());
        return datos::identidad_estacion(db).value_or("");
    }

    static vales::DatosCab cabecera(double cantidad, int dia = 7) {
        vales::DatosCab cab;
        cab.producto = "YPRUEBA01";
        cab.formula = "001";
        cab.bodega = 78;
        cab.fecha = *rt::Fecha::from_ymd(2026, 12, dia);
        cab.cantidad = cantidad;
        cab.malas = std::min(1.5, cantidad);  // never more than produced, as the form checks
        return cab;
    }
    static vales::DatosItm item(std::string actividad, double operario, std::string espec,
                                double cantidad, std::string inicio = "08:00",
                                std::string termino = "09:30") {
        vales::DatosItm it = vales::item_nuevo(actividad, 1, cantidad);
        it.operario = operario;
        it.especificacion = std::move(espec);
        it.hora_inicio = std::move(inicio);
        it.hora_termino = std::move(termino);
        return it;
    }
    static std::vector<vales::DatosItm> items(double cantidad) {
        return {item("900000001", 1, "A01", cantidad), item("900000003", 6, "C01", cantidad)};
    }
    // Records one voucher in the store as the off-line entry does; its local number.
    static long guardar(const testing_support::ScratchStore& s, double cantidad, int dia = 7) {
        rt::TODBC db(s.connection());
        EXPECT_TRUE(vales::GRABARVALE_LOCAL(db, cabecera(cantidad, dia), items(cantidad)));
        db.SetSQL("select Max(n_interno) as n from vales_cab");
        EXPECT_TRUE(db.Open());
        return static_cast<long>(rt::store_number(db.FieldValue("n")));
    }

    // --- the server --------------------------------------------------------------------
    std::vector<std::string> filas_servidor(const std::string& statement) {
        return prueba::filas(*sesion.OSERVER, statement);
    }
    // The identities the server registered for vouchers of a store, "n_interno|nume_folio"
    // by local number.
    std::vector<std::string> origenes(const std::string& estacion) {
        return filas_servidor("select n_interno, nume_folio from vales_identidad where estacion='" +
                              estacion + "' order by n_interno");
    }
    // Voucher rows of one folio without the folio: what must be the same whichever way the
    // voucher reached the server.
    std::vector<std::string> filas_vale(long folio) {
        return filas_servidor(
            "select concat_ws('|', fecha_prod, codi_prod, codi_form, cantidad, malas, "
            "numero_bod, codi_insu, form_insu, tipo_insu, consumo, codi_oper, codi_tipo, "
            "puntaje_un, c_estado) from vales where nume_folio=" +
            std::to_string(folio) + " order by id");
    }
    long folios_en_bodega() {
        return std::stol(
            filas_servidor("select count(distinct nume_folio) from vales where numero_bod=78")[0]);
    }

    // Runs `trabajo` in a child process with a server connection of its own and returns its
    // wait status. `al_comenzar` runs in the parent once the child is on its way (given the
    // child's id and a descriptor from which it reads what the child writes to `aviso`).
    int en_proceso(const std::function<void(int aviso)>& trabajo,
                   const std::function<void(pid_t, int)>& al_comenzar = {}) {
        int tubo[2];
        EXPECT_EQ(::pipe(tubo), 0);
        const pid_t hijo = ::fork();
        if (hijo == 0) {
            ::close(tubo[0]);
            // The parent's connection belongs to the parent: leave it untouched (no close).
            new std::shared_ptr<rt::TMySQLServer>(std::move(sesion.OSERVER));
            sesion.OSERVER = conectar_mariadb("test");
            trabajo(tubo[1]);
            ::_exit(0);
        }
        ::close(tubo[1]);
        if (al_comenzar) al_comenzar(hijo, tubo[0]);
        int status = 0;
        EXPECT_EQ(::waitpid(hijo, &status, 0), hijo);
        ::close(tubo[0]);
        return status;
    }

    testing_support::ScratchStore store;
    long contador_ = 0;
};

}  // namespace prueba
