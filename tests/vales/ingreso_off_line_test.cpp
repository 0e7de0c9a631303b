// The off-line voucher entry: vouchers typed without a server into the off-line store, the
// help lists of its forms, and what it refuses.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "datos/estacion_local.h"
#include "vales/fuera_de_linea/DatosHacia_Servidor.h"
#include "vales/ingreso_off_line_fixture.h"

namespace {

using namespace rt::key;
using testing_support::picture;
using Filas = std::vector<std::string>;

class IngresoOffLineTest : public prueba::IngresoOffLine {};

// A whole voucher typed with no server at all, its first activity split: the store holds
// it pending under its first number, the split-off copy before its source; a new header
// follows with the same date and warehouse. Sent later, it leaves on the server the rows
// of the same voucher saved on-line.
TEST_F(IngresoOffLineTest, AVoucherTypedWithoutServerIsStoredPending) {
    cabecera("001", "10", "1");
    term.keys({kF2, kEnter});  // the first item split: 5 to the copy
    editar(0, "801", "0800", "0930");
    term.keys({kDown});
    editar(1, "804", "0930", "1000");
    term.keys({kDown});
    editar(0, "802", "1000", "1200");
    term.keys({kF8});
    esperar_mensaje();
    term.keys({kEsc});
    correr();
    EXPECT_TRUE(term.script_empty());
    ASSERT_EQ(esperas(), 79u);
    EXPECT_EQ(en_espera(76), picture(R"(



 ┌─────────────────────────────────────────────< Ingreso de Vales OFF-LINE >┐
 │Fecha: 06/12/2026   Bodega:  78                                           │
 │Producto: YPRUEBA01 Pieza de ingreso                                      │
 │Fórmula : 001       Con actividades                                       │
 │Cantidad:          10,00   Malas:           1,00                          │
 └──────────────────────────────────────────────────────────────────────────┘

 ┌────────────────────────────────────────────────────────────────────────────────────────────────┐
 │Actividad                           Operario             Especificación                 Cantidad│
 ├────────────────────────────────────────────────────────────────────────────────────────────────┤
 │Moldeo manual de piezas especiales  PERALTA SOTO JUAN    Compleja                           5,00│
 │Moldeo manual de piezas especiales  ANA MARIA PERALTA    Normal                             5,00│
 │Cocción en horno                    PEREIRA ANA          Horno                             10,00│
 │                                                                                                │
 │                                                                                                │
 │                                                                                                │
 │                                                                                                │
 │                                                                                                │
 │                                                                                                │
 │                                                                                                │
 └────────────────────────────────────────────────────────────────────────────────────────────────┘
)"));
    EXPECT_EQ(mensajes(), prueba::Mensajes{"Vale de producción grabado correctamente"});
    EXPECT_EQ(en_espera(78), picture(R"(



 ┌─────────────────────────────────────────────< Ingreso de Vales OFF-LINE >┐
 │Fecha: 06/12/2026   Bodega:  78                                           │
 │Producto:                                                                 │
 │Fórmula :                                                                 │
 │Cantidad:           0,00   Malas:           0,00                          │
 └──────────────────────────────────────────────────────────────────────────┘
)"));
    EXPECT_EQ(store.rows("select n_interno, codi_prod, codi_form, num_bodega, fecha, cantidad, "
                         "malas, c_estado, length(id_vale) from vales_cab"),
              Filas{"1|YPRUEBA01|001|78|2026-12-06 00:00:00|10|1|1|32"});
    EXPECT_EQ(store.rows("select * from vales_itm order by rowid"),
              (Filas{"1|9Y0000001|801|Y02|08:00|09:30|1|5", "1|9Y0000001|804|Y01|09:30|10:00|1|5",
                     "1|9Y0000002|802|Y03|10:00|12:00|1|10"}));
    EXPECT_EQ(screen_text(), picture("")) << "the screen is put back";

    // Sent to the server, it is the voucher typed on-line.
    sesion.OSERVER = servidor_;
    sesion.LCONECTADO = true;
    term.keys({'S'});
    vales::DATOSHACIA_SERVIDOR(store.connection());
    EXPECT_EQ(mensajes(), prueba::Mensajes{"De 1 vales 1 fueron grabados correctamente"});
    vales::DatosCab cab;
    cab.producto = "YPRUEBA01", cab.formula = "001", cab.bodega = 78, cab.cantidad = 10;
    cab.fecha = *rt::Fecha::from_ymd(2026, 12, 6), cab.malas = 1;
    auto item = [](const char* act, double oper, const char* spec, double q) {
        vales::DatosItm it = vales::item_nuevo(act, 1, q);
        it.operario = oper, it.especificacion = spec;
        return it;
    };
    const long en_linea = vales::GRABARVALE_SERVIDOR(
        cab, {item("9Y0000001", 801, "Y02", 5), item("9Y0000001", 804, "Y01", 5),
              item("9Y0000002", 802, "Y03", 10)});
    ASSERT_EQ(en_linea, contador_ + 2);
    EXPECT_EQ(vales(contador_ + 1), vales(en_linea));
    EXPECT_EQ(vales(en_linea).size(), 6u);
}

// What the entry refuses, each in a run of its own: codes not in the store's copies, an
// inactive operator, an incomplete voucher; a warehouse inactive on the server is taken
// once downloaded. Nothing is stored.
TEST_F(IngresoOffLineTest, RefusesWhatTheStoresCopiesDoNotAllow) {
    struct Case {
        const char* what;
        std::function<void()> teclas;
        prueba::Mensajes mensajes;
    };
    const std::vector<Case> cases = {
        {"a warehouse not in the copy",
         [&] {
             term.keys({kEnter}).type("77").keys({kEnter});
             esperar_mensaje();
             term.keys({kEsc});
         },
         {"Bodega no existe"}},
        {"a formula without activities (the inactive warehouse 79 taken)",
         [&] {
             term.keys({kEnter}).type("79").keys({kEnter}).type("YPRUEBA01").keys({kEnter});
             term.type("002").keys({kEnter}).type("5").keys({kEnter, kEnter});
             esperar_mensaje();
             term.keys({kEsc});
         },
         {"Fórmula de producción no contiene actividades"}},
        {"a product not in the copy",
         [&] {
             term.keys({kEnter}).type("78").keys({kEnter}).type("YPRUEBA99").keys({kEnter});
             esperar_mensaje();
             term.keys({kEsc});
         },
         {"Código no existe"}},
        {"an inactive operator, then F8 with items lacking one, then abandoned",
         [&] {
             cabecera("001", "10", "0");
             term.keys({kEnter, kEnter}).type("803").keys({kEnter});
             esperar_mensaje();
             term.keys({kEsc, kF8});
             esperar_mensaje();
             term.keys({kEsc, 'S', kEsc});
         },
         {"Usuario no activo", "ERROR: Datos incompletos"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.teclas();
        correr();
        EXPECT_TRUE(term.script_empty());
        EXPECT_EQ(mensajes(), c.mensajes);
    }
    EXPECT_EQ(store.rows("select count(*) from vales_cab"), Filas{"0"});
    EXPECT_EQ(store.rows("select count(*) from vales_itm"), Filas{"0"});
}

// A store whose activities cannot be read ends the entry after saying so.
TEST_F(IngresoOffLineTest, UnreadableActivitiesEndTheEntry) {
    store.run("drop table prodcmp");
    cabecera("001", "10", "0");
    esperar_mensaje();
    correr();
    EXPECT_TRUE(term.script_empty());
    EXPECT_EQ(mensajes(), prueba::Mensajes{"No se puede leer formula de producto"});
    EXPECT_EQ(screen_text(), picture(""));
}

// A store that cannot be opened says so at once, instead of refusing every warehouse as
// unknown once the user has begun a voucher.
TEST_F(IngresoOffLineTest, AStoreThatCannotBeOpenedIsSaidAtOnce) {
    const std::string antes = screen_text();
    esperar_mensaje();
    vales::VALES_INGRESO_OFF_LINE(
        rt::offline_connection_string_for((store.file().parent_path() / "no_existe.mdb").string()));
    EXPECT_TRUE(term.script_empty());
    EXPECT_EQ(mensajes(), prueba::Mensajes{"ERROR: No se puede abrir la base de datos local "
                                           "datos/vales.mdb"});
    EXPECT_EQ(screen_text(), antes);
}

}  // namespace
