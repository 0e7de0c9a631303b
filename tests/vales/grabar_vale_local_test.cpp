// Vouchers stored in the off-line store, and the store's workstation identity.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "datos/vales_locales.h"
#include "vales/vales_locales_fixture.h"

namespace {

using namespace vales;
using Filas = std::vector<std::string>;

class GrabarValeLocal : public prueba::ValesLocales {};

// Two vouchers, the first of them with a split item (the copy above its source) and texts
// with quotes: every value stored as given, numbered by the store's counter from 1.
TEST_F(GrabarValeLocal, StoresHeaderAndItemsNumberedByTheStore) {
    DatosCab cab = cabecera(150.5, 6);
    cab.malas = 0.25;
    const std::vector<DatosItm> partido = {item("900000001", 1, "A01", 75.25, "07:05", "08:00"),
                                           item("900000001", 1, "A01", 75.25, "08:00", "23:59"),
                                           item("900000003", 6, "C'1", 150.5, " 9:30", "10:00")};
    rt::TODBC RS(store.connection());
    ASSERT_TRUE(GRABARVALE_LOCAL(RS, cab, partido));
    ASSERT_TRUE(GRABARVALE_LOCAL(RS, cabecera(7), items(7)));
    EXPECT_EQ(store.rows("select n_interno, codi_prod, codi_form, num_bodega, fecha, cantidad, "
                         "malas, c_estado from vales_cab order by n_interno"),
              (Filas{"1|YPRUEBA01|001|78|2026-12-06 00:00:00|150.5|0.25|1",
                     "2|YPRUEBA01|001|78|2026-12-07 00:00:00|7|1.5|1"}));
    // Each voucher gets an identity of its own from the store.
    const Filas ids = store.rows("select id_vale from vales_cab");
    EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), 2u);
    for (const auto& id : ids) {
        EXPECT_EQ(id.size(), 32u);
        EXPECT_EQ(id.find_first_not_of("0123456789abcdef"), std::string::npos) << id;
    }
    EXPECT_EQ(
        store.rows("select * from vales_itm order by rowid"),
        (Filas{"1|900000001|1|A01|07:05|08:00|1|75.25", "1|900000001|1|A01|08:00|23:59|1|75.25",
               "1|900000003|6|C'1| 9:30|10:00|1|150.5", "2|900000001|1|A01|08:00|09:30|1|7",
               "2|900000003|6|C01|08:00|09:30|1|7"}));
    EXPECT_EQ(mensajes(), prueba::Mensajes{});
}

// Whatever part of a voucher the store refuses, none of it is kept, its number is not used,
// and the user is told.
TEST_F(GrabarValeLocal, RefusedPartLeavesNothingOfTheVoucher) {
    struct Case {
        const char* what;
        DatosCab cab;
        std::vector<DatosItm> items;
    };
    DatosCab sin_fecha = cabecera(10);
    sin_fecha.fecha = {};
    std::vector<DatosItm> item_largo = items(10);
    item_largo.push_back(item("9000000011", 1, "A01", 10));  // too long for its column
    const std::vector<Case> cases = {
        {"an item", cabecera(10), item_largo},
        {"the header", sin_fecha, items(10)},
        {"no item at all", cabecera(10), {}},
    };
    rt::TODBC RS(store.connection());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(GRABARVALE_LOCAL(RS, c.cab, c.items));
        EXPECT_EQ(mensajes(),
                  prueba::Mensajes{"Error: No se puede grabar vale en archivos temporales"});
        EXPECT_EQ(store.rows("select count(*) from vales_cab"), Filas{"0"});
        EXPECT_EQ(store.rows("select count(*) from vales_itm"), Filas{"0"});
    }
    ASSERT_TRUE(GRABARVALE_LOCAL(RS, cabecera(10), items(10)));
    EXPECT_EQ(store.rows("select n_interno, count(*) from vales_itm group by n_interno"),
              Filas{"1|2"});
}

// A full disk in the middle of a voucher: the store undoes it by itself, and nothing of it
// may be committed afterwards item by item.
TEST_F(GrabarValeLocal, FullStoreKeepsNothingOfTheVoucher) {
    rt::TODBC RS(store.connection());
    RS.SetSQL("PRAGMA page_count");
    ASSERT_TRUE(RS.Open());
    // Room for the header and a few items, not for all of them.
    const long paginas = std::stol(RS.FieldValue("page_count")) + 2;
    RS.SetSQL("PRAGMA max_page_count=" + std::to_string(paginas));
    ASSERT_TRUE(RS.Open());
    std::vector<DatosItm> muchos;
    for (int i = 0; i < 400; ++i) muchos.push_back(item("900000001", 1, "A01", 1));
    EXPECT_FALSE(GRABARVALE_LOCAL(RS, cabecera(1), muchos));
    EXPECT_EQ(mensajes(),
              prueba::Mensajes{"Error: No se puede grabar vale en archivos temporales"});
    EXPECT_EQ(store.rows("select count(*) from vales_cab"), Filas{"0"});
    EXPECT_EQ(store.rows("select count(*) from vales_itm"), Filas{"0"});
}

TEST_F(GrabarValeLocal, EveryStoreHasItsOwnLastingIdentity) {
    const std::string id = estacion(store);
    EXPECT_EQ(id.size(), 32u);
    EXPECT_EQ(id.find_first_not_of("0123456789abcdef"), std::string::npos) << id;
    EXPECT_EQ(estacion(store), id) << "read again, never made anew";
    testing_support::ScratchStore otra;
    EXPECT_NE(estacion(otra), id);
}

// A store made before the identities existed (of the store, of its vouchers) gets them the
// first time they are needed, and keeps every voucher it held: the older vouchers without
// an identity of their own, the next ones with theirs.
TEST_F(GrabarValeLocal, OlderStoreGetsIdentitiesAndLosesNothing) {
    store.run("drop trigger vales_cab_identidad");
    store.run("alter table vales_cab drop column id_vale");
    guardar(store, 5);
    store.run("drop table estacion");
    const Filas antes = store.rows("select * from vales_cab");
    const std::string id = estacion(store);
    EXPECT_EQ(id.size(), 32u);
    EXPECT_EQ(estacion(store), id);
    EXPECT_EQ(store.rows("select count(*) from estacion"), Filas{"1"});

    rt::TODBC RS(store.connection());
    ASSERT_TRUE(datos::asegurar_identidad_de_vales(RS));
    ASSERT_TRUE(datos::asegurar_identidad_de_vales(RS)) << "once is enough, twice does no harm";
    EXPECT_EQ(store.rows("select n_interno, codi_prod, codi_form, num_bodega, fecha, cantidad, "
                         "malas, c_estado from vales_cab"),
              antes);
    guardar(store, 6);
    EXPECT_EQ(store.rows("select n_interno, length(id_vale) from vales_cab"),
              (Filas{"1|", "2|32"}));
}

}  // namespace
