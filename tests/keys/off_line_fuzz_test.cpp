// Random keys through the off-line operations on the fuzz terminal: the off-line entry
// (header form, item list, split, edit form, the product and operator help lists), the list
// of off-line entries and the batch upload, over a scratch store holding master data and
// pending vouchers (each visit to the entry types a good header first), with no server (a login
// fails at once). After every key: no crash; every few hundred keys: Esc brings the main menu back.
// The store stays readable and every voucher in it keeps at least one item.
//
// VALES_FUZZ_KEYS sets how many keys (10,000 by default), VALES_FUZZ_SEED the seed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "datos/sesion.h"
#include "keys/fuzz_terminal.h"
#include "runtime/offline/todbc.h"
#include "runtime/screen/console.h"
#include "runtime/screen/virtual_backend.h"
#include "support/offline_store.h"
#include "support/store_rows.h"
#include "vales/fuera_de_linea/DatosHacia_Servidor.h"
#include "vales/fuera_de_linea/lista_ingresos.h"
#include "vales/fuera_de_linea/vales_ingreso_off_line.h"
#include "vales/operaciones.h"
#include "vales/vales.h"

namespace {

long from_environment(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::atol(text) : fallback;
}

// Master data for one product with two activities, one warehouse, an active and an
// inactive operator; and three pending vouchers.
void llenar(const std::string& conexion) {
    rt::TODBC db(conexion);
    for (const char* sql : {
             "insert into bodegas (numero_bod,nombre_bod) values (1, 'Central')",
             "insert into prodvtas (codi_prod, desc_prod, codi_form, desc_form, l_vigente, "
             "l_activo) values ('L01AA0110', 'Ladrillo \xD1' || 'and\xFA', '001', 'Est', true, "
             "true), ('M02BB0220', 'Mortero', '001', 'Saco', false, true)",
             "insert into formulas (prd_sale,prd_buy,tipo_prd,consumo,codi_form) values "
             "('L01AA0110001', '900000001', 'I', 1, '   '), "
             "('L01AA0110001', '900000003', 'I', 0.5, '   ')",
             "insert into prodcmp (codi_prod, desc_prod, unid_med) values "
             "('900000001', 'Moldeo', 'UN '), ('900000003', 'Cocci\xF3n', 'UN ')",
             "insert into unidmed (codi_prod, codi_unid, desc_unid) values "
             "('900000001', 'A01   ', 'Normal'), ('900000001', 'A02   ', 'Compleja'), "
             "('900000003', 'C01   ', 'Horno')",
             "insert into operario (codi_oper, nom_oper, codi_grupo, ope_activo, rut, "
             "digito_verif) values (1, 'Pedro Mu\xF1oz', 'G01', true, '12345678', '5'), "
             "(2, 'Ana Pe\xF1"
             "a', 'G01', false, '87654321', 'K')",
         }) {
        db.SetSQL(sql);
        EXPECT_TRUE(db.Open()) << sql << "\n" << db.SQLErrorMessage();
    }
    for (int i = 1; i <= 3; ++i) {
        vales::DatosCab cab;
        cab.producto = "L01AA0110", cab.formula = "001", cab.bodega = 1, cab.cantidad = 10 * i;
        cab.fecha = *rt::Fecha::from_ymd(2026, 12, i);
        vales::DatosItm item = vales::item_nuevo("900000001", 1, cab.cantidad);
        item.operario = 1, item.especificacion = "A01";
        EXPECT_TRUE(vales::GRABARVALE_LOCAL(db, cab, {item}));
    }
}

TEST(OffLineFuzz, RandomKeysThroughTheOffLineOperations) {
    const long keys = from_environment("VALES_FUZZ_KEYS", 10'000);
    const auto seed = static_cast<std::uint32_t>(from_environment("VALES_FUZZ_SEED", 20261209));
    testing_support::TempFolder folder;
    const auto previous_dir = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    setenv("VALES_SERVIDOR_LOCAL", "127.0.0.1:1", 1);  // no server answers there
    testing_support::ScratchStore store;
    llenar(store.connection());
    datos::Sesion sesion;
    datos::Sesion* previous_sesion = datos::install_sesion(&sesion);

    fuzz::FuzzTerminal term(seed, keys);
    rt::Console console(term);
    rt::Console* previous_console = rt::install_console(&console);
    std::map<std::string, long> visits;
    vales::Operaciones ops = vales::operaciones_del_programa();
    ops.VALES_INGRESO_OFF_LINE = [&] {
        // A good header typed ahead: the random keys then reach the item list, its edit
        // form, splits, saves and the help lists.
        ++visits["entry"];
        console.put_keys(cp::OemView("\r1\rL01AA0110\r001\r10\r0\r"));
        vales::VALES_INGRESO_OFF_LINE(store.connection());
    };
    ops.LISTA_INGRESOS = [&] {
        ++visits["list"];
        vales::LISTA_INGRESOS(store.connection());
    };
    ops.DATOSHACIA_SERVIDOR = [&] {
        ++visits["upload"];
        vales::DATOSHACIA_SERVIDOR(store.connection());
    };
    ops.VALES_INGRESO_ON_LINE = {};
    ops.DATOSDESDE_SERVIDOR = {};
    ops.IMPRIMIRVALES = {};
    console.set_key_handler(fuzz::kProbe, [&](const std::string& proc, int, const std::string&) {
        if (proc == "MAIN") term.at_home();
    });

    const auto started = std::chrono::steady_clock::now();
    std::string failure;
    try {
        for (;;) vales::MAIN(ops);
    } catch (const rt::ScriptExhausted&) {
    } catch (const fuzz::FuzzFailure& e) {
        failure = e.what();
    }
    rt::install_console(previous_console);
    datos::install_sesion(previous_sesion);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    EXPECT_EQ(failure, "") << "seed " << seed << ", after " << term.figures().keys << " keys";
    std::printf("keys %ld, homings %ld (longest %ld keys), %.1f s\n", term.figures().keys,
                term.figures().homings, term.figures().longest_homing, seconds);
    for (const auto& [name, count] : visits) std::printf("  %s: %ld\n", name.c_str(), count);
    if (keys >= 10'000) {
        for (const char* name : {"entry", "list", "upload"}) EXPECT_GT(visits[name], 0) << name;
    }
    rt::TODBC db(store.connection());
    EXPECT_EQ(testing_support::store_rows(db,
                                          "select count(*) from vales_cab where n_interno not in "
                                          "(select n_interno from vales_itm)"),
              std::vector<std::string>{"0"})
        << "a voucher without items";
    std::printf("  vouchers in the store: %s\n",
                testing_support::store_rows(db, "select count(*) from vales_cab")[0].c_str());
    unsetenv("VALES_SERVIDOR_LOCAL");
    std::filesystem::current_path(previous_dir);
}

}  // namespace
