// The batch upload of the vouchers recorded off-line: what reaches the server, in which
// order, what stays pending, and that every voucher reaches it exactly once however the
// upload is stopped.
#include "vales/fuera_de_linea/DatosHacia_Servidor.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "datos/envio.h"
#include "datos/objetos_adicionales.h"
#include "datos/puntos_de_falla.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "support/modo_sql.h"
#include "vales/fuera_de_linea/DatosDesde_Servidor.h"
#include "vales/preparar_servidor.h"
#include "vales/vales_locales_fixture.h"

namespace {

using namespace vales;
namespace falla = datos::falla;
using Filas = std::vector<std::string>;

// Whether the child has ended (it is left to be waited for).
bool terminado(pid_t hijo) {
    siginfo_t info{};
    return ::waitid(P_PID, hijo, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == hijo;
}

class DatosHaciaServidor : public prueba::ValesLocales {
  protected:
    ~DatosHaciaServidor() override { falla::instalar({}); }

    // The batch upload on `s`, confirmed.
    void enviar(const testing_support::ScratchStore& s) {
        term.keys({'S'});
        DATOSHACIA_SERVIDOR(s.connection());
    }
    // Vouchers of one unit each, as many as asked.
    static void guardar_varios(const testing_support::ScratchStore& s, int cuantos) {
        rt::TODBC db(s.connection());
        for (int i = 0; i < cuantos; ++i) ASSERT_TRUE(GRABARVALE_LOCAL(db, cabecera(1), items(1)));
    }
    // After every interruption and a last complete upload: the server holds each voucher
    // of the store once, under a folio of its own with all its rows, and the store has
    // every voucher marked sent.
    void cada_vale_una_vez(const testing_support::ScratchStore& s, int cuantos) {
        const Filas origen = origenes(estacion(s));
        ASSERT_EQ(origen.size(), static_cast<std::size_t>(cuantos));
        std::set<std::string> folios;
        for (int n = 1; n <= cuantos; ++n) {
            const std::string fila = origen[static_cast<std::size_t>(n - 1)];
            EXPECT_EQ(fila.substr(0, fila.find('|')), std::to_string(n));
            const std::string folio = fila.substr(fila.find('|') + 1);
            folios.insert(folio);
            EXPECT_EQ(filas_vale(std::stol(folio)).size(), 4u) << "folio " << folio;
        }
        EXPECT_EQ(folios.size(), static_cast<std::size_t>(cuantos));
        for (const auto& e : estados(s)) EXPECT_EQ(e.substr(e.find('|')), "|2") << e;
    }
};

// Three pending vouchers, the second short of stock on the server: the others are sent in
// the order they were recorded, the refused one stays pending, and a second run sends
// nothing more. The message line counts the vouchers as they go.
TEST_F(DatosHaciaServidor, SendsInLocalOrderAndLeavesTheRefusedOnePending) {
    guardar(store, 10, 5);
    guardar(store, 600, 6);  // 1,200 of YCOMP0001, which has 1,000
    guardar(store, 20, 7);
    Filas avance;
    falla::instalar([&](std::string_view punto) {
        if (punto == falla::kAntesDeEnviar)
            avance.push_back(rt::trim(testing_support::grid_row_text(console.grid(), 35)));
    });
    enviar(store);
    EXPECT_EQ(mensajes(), prueba::Mensajes{"De 3 vales 2 fueron grabados correctamente"});
    EXPECT_EQ(avance,
              (Filas{"Enviando vale 1 de 3", "Enviando vale 2 de 3", "Enviando vale 3 de 3"}));
    EXPECT_EQ(estados(store), (Filas{"1|2", "2|1", "3|2"}));
    const long f = contador_ + 1;
    EXPECT_EQ(origenes(estacion(store)),
              (Filas{"1|" + std::to_string(f), "3|" + std::to_string(f + 1)}));
    EXPECT_EQ(
        filas_vale(f),
        (Filas{
            "2026-12-05|YPRUEBA01|001|10.0000000|1.5000000|78|900000001||I|1.00000|1|A01|1.5000|1",
            "2026-12-05|YPRUEBA01|001|10.0000000|1.5000000|78|900000003||I|1.00000|6|C01|0.5000|1",
            "2026-12-05|YPRUEBA01|001|10.0000000|1.5000000|78|YCOMP0001||I|2.00000|0||0.0000|1",
            "2026-12-05|YPRUEBA01|001|10.0000000|1.5000000|78|YCOMP0002||I|0.50000|0||0.0000|1",
        }));
    EXPECT_EQ(filas_vale(f + 1)[0].substr(0, 35), "2026-12-07|YPRUEBA01|001|20.0000000");
    EXPECT_EQ(contador(), f + 1);

    enviar(store);
    EXPECT_EQ(mensajes(), prueba::Mensajes{"De 1 vales 0 fueron grabados correctamente"});
    EXPECT_EQ(estados(store), (Filas{"1|2", "2|1", "3|2"}));
    EXPECT_EQ(contador(), f + 1);
    EXPECT_EQ(folios_en_bodega(), 2);
}

// Nothing pending: nothing sent. Then a voucher whose product the server retires, and a
// download after that leaves out of the local copy: still the store's voucher, listed and
// sent like any other (a list that joined the copy lost it for ever).
TEST_F(DatosHaciaServidor, VoucherOfARetiredProductIsStillSent) {
    enviar(store);
    EXPECT_EQ(mensajes(), prueba::Mensajes{"De 0 vales 0 fueron grabados correctamente"});
    guardar(store, 3);
    sql("update prodvtas set l_activo=0 where codi_prod='YPRUEBA01'");
    term.keys({rt::key::kEnter, 'x', rt::key::kEsc});  // "Todos", "Proceso terminado", leave
    DATOSDESDE_SERVIDOR(store.connection());
    ASSERT_EQ(store.rows("select count(*) from prodvtas where codi_prod='YPRUEBA01'"), Filas{"0"});
    mensajes();
    enviar(store);
    EXPECT_EQ(mensajes(), prueba::Mensajes{"De 1 vales 1 fueron grabados correctamente"});
    cada_vale_una_vez(store, 1);
    EXPECT_EQ(contador(), contador_ + 1);
}

// A product listed twice in the local copy (a download of a server with a repeated row)
// neither lists nor sends nor counts its vouchers twice.
TEST_F(DatosHaciaServidor, ProductTwiceInTheLocalCopyCountsItsVouchersOnce) {
    store.run(
        "insert into prodvtas (codi_prod, desc_prod, codi_form, desc_form, l_vigente, "
        "l_activo) values ('YPRUEBA01', 'Otra vez', '001', 'Propia', true, true)");
    guardar(store, 3);
    enviar(store);
    EXPECT_EQ(mensajes(), prueba::Mensajes{"De 1 vales 1 fueron grabados correctamente"});
    cada_vale_una_vez(store, 1);
    EXPECT_EQ(contador(), contador_ + 1);
}

// Vouchers typed against another company's data (the store holds what was downloaded
// while that company was connected) are not sent to the session's company: they stay
// pending for their own, and go once it is the one connected.
TEST_F(DatosHaciaServidor, VouchersOfAnotherCompanyAreNotSentHere) {
    guardar(store, 3);
    store.run("insert into empresa (unica, cod_empresa) values (1, '225')");
    enviar(store);
    EXPECT_EQ(mensajes(), prueba::Mensajes{"Los vales de la base local son de la empresa 225: "
                                           "conéctese a esa empresa para enviarlos"});
    EXPECT_EQ(estados(store), Filas{"1|1"});
    EXPECT_EQ(contador(), contador_);
    sesion.COD_EMPRESA = "225";
    enviar(store);
    EXPECT_EQ(mensajes(), prueba::Mensajes{"De 1 vales 1 fueron grabados correctamente"});
    cada_vale_una_vez(store, 1);
}

TEST_F(DatosHaciaServidor, RefusedWithoutConnectionOrConfirmation) {
    guardar(store, 3);
    sesion.LCONECTADO = false;
    DATOSHACIA_SERVIDOR(store.connection());
    EXPECT_EQ(mensajes(), prueba::Mensajes{"No existe conexión con el servidor"});
    sesion.LCONECTADO = true;
    term.keys({'N'});
    DATOSHACIA_SERVIDOR(store.connection());
    EXPECT_EQ(mensajes(), prueba::Mensajes{});
    EXPECT_EQ(estados(store), Filas{"1|1"});
    EXPECT_EQ(contador(), contador_);
}

// The program killed at the worst moments: after the server committed a voucher and before
// the store knew it, alone or in the middle of a batch of 50, and just before a voucher is
// sent. After a restart and a new upload, every voucher is on the server exactly once and
// marked sent in the store; the summary counts those found on the server as sent.
TEST_F(DatosHaciaServidor, KilledUploadSendsEachVoucherOnceAfterARestart) {
    struct Case {
        const char* what;
        int vales;
        std::string_view punto;
        int en;        // the point's n-th passage
        int enviados;  // on the server when the program died
        int marcados;  // of them, marked sent in the store
    };
    const Case cases[] = {
        {"after the server's commit", 1, falla::kServidorConfirmo, 1, 1, 0},
        {"after the 25th commit of 50", 50, falla::kServidorConfirmo, 25, 25, 24},
        {"before the 26th of 50 is sent", 50, falla::kAntesDeEnviar, 26, 25, 25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::ScratchStore s;
        s.run(
            "insert into prodvtas (codi_prod, desc_prod, codi_form, desc_form, l_vigente, "
            "l_activo) values ('YPRUEBA01', 'Pieza', '001', 'Propia', true, true)");
        guardar_varios(s, c.vales);
        const int status = en_proceso(
            [&](int aviso) {
                int vistos = 0;
                falla::instalar([&](std::string_view punto) {
                    if (punto != c.punto || ++vistos != c.en) return;
                    if (::write(aviso, "x", 1) != 1) ::_exit(5);
                    ::pause();  // killed here
                });
                enviar(s);
            },
            [](pid_t hijo, int aviso) {
                char x = 0;
                if (::read(aviso, &x, 1) == 1) ::kill(hijo, SIGKILL);
            });
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
        EXPECT_EQ(origenes(estacion(s)).size(), static_cast<std::size_t>(c.enviados));
        const Filas e = estados(s);
        EXPECT_EQ(std::count_if(e.begin(), e.end(), [](auto& f) { return f.ends_with("|2"); }),
                  c.marcados);

        mensajes();
        enviar(s);
        const std::string pendientes = std::to_string(c.vales - c.marcados);
        EXPECT_EQ(mensajes(), prueba::Mensajes{"De " + pendientes + " vales " + pendientes +
                                               " fueron grabados correctamente"});
        cada_vale_una_vez(s, c.vales);
        enviar(s);
        EXPECT_EQ(mensajes(), prueba::Mensajes{"De 0 vales 0 fueron grabados correctamente"});
    }
    EXPECT_EQ(contador(), contador_ + 101);
    EXPECT_EQ(folios_en_bodega(), 101);
}

// A kill from outside at whatever moment the upload has reached (in a statement, inside a
// voucher's transaction, between two vouchers).
TEST_F(DatosHaciaServidor, KillAtAnyMomentLosesAndDuplicatesNothing) {
    guardar_varios(store, 50);
    const std::string id = estacion(store);
    const int status =
        en_proceso([&](int) { enviar(store); },
                   [&](pid_t hijo, int) {
                       auto servidor = prueba::conectar_mariadb("test");
                       const std::string cuenta =
                           "select count(*) from vales_identidad where estacion='" + id + "'";
                       // (a child that died meanwhile is a zombie: the
                       // signal then finds it and does nothing)
                       while (servidor->Query(cuenta).FieldGet(1).number() < 10 && !terminado(hijo))
                           ::usleep(2000);
                       ::usleep(7000);
                       ::kill(hijo, SIGKILL);
                   });
    ASSERT_TRUE(WIFSIGNALED(status)) << "the upload ended before it could be killed";
    const Filas e = estados(store);
    const auto pendientes = std::to_string(
        std::count_if(e.begin(), e.end(), [](auto& f) { return f.ends_with("|1"); }));
    enviar(store);
    EXPECT_EQ(mensajes(), prueba::Mensajes{"De " + pendientes + " vales " + pendientes +
                                           " fueron grabados correctamente"});
    cada_vale_una_vez(store, 50);
    EXPECT_EQ(folios_en_bodega(), 50);
}

// Vouchers of a store edited by hand, each with what the entry form refuses: none is sent,
// each stays pending, and the user is shown which and why; the sound one goes. A tiny
// consumption, which the driver gives as "5.0e-05", reaches the server as it was typed.
TEST_F(DatosHaciaServidor, VouchersTheEntryFormWouldRefuseStayPendingAndAreShown) {
    struct Case {
        const char* cambio;  // on voucher n, the n-th of the table
        const char* motivo;
    };
    const Case cases[] = {
        {"update vales_cab set cantidad=-100 where n_interno=1", "cantidad no mayor que 0"},
        {"update vales_cab set malas=500 where n_interno=2",
         "malas fuera del rango de 0 a la cantidad"},
        {"update vales_itm set hora_ini='25:00' where n_interno=3",
         "actividad 1: hora de inicio no válida"},
        {"update vales_itm set codi_oper=0 where n_interno=4 and codi_actividad='900000003'",
         "actividad 2: sin operario"},
        {"update vales_cab set cantidad='diez' where n_interno=5",
         "valor no numérico en CANTIDAD 'diez'"},
        {"update vales_cab set codi_prod='' where n_interno=6", "sin producto o fórmula"},
        // What the form's masks cannot hold, which the server would round without a word.
        {"update vales_itm set codi_oper=1.5 where n_interno=7 and codi_oper=1",
         "actividad 1: operario no válido"},
        {"update vales_cab set num_bodega=78.6 where n_interno=8", "bodega no válida"},
        {"update vales_itm set hora_fin='ab:cd' where n_interno=9 and codi_oper=6",
         "actividad 2: hora de término no válida"},
        {"update vales_cab set malas=0.125 where n_interno=10", "cantidad no válida"},
        {"delete from vales_itm where n_interno=11", "sin actividades en la base local"},
    };
    Filas memo = {"Vales no enviados, que se mantienen pendientes:"};
    for (const auto& c : cases) {
        const long n = guardar(store, 10);
        store.run(c.cambio);
        memo.push_back("Vale local " + std::to_string(n) + ": " + c.motivo);
    }
    rt::TODBC RS(store.connection());
    std::vector<DatosItm> fino = items(10);
    fino[0].cantidad_unitaria = 0.00005;
    ASSERT_TRUE(GRABARVALE_LOCAL(RS, cabecera(10), fino));
    ASSERT_EQ(store.rows("select consumo from vales_itm where n_interno=12 and codi_oper=1"),
              Filas{"5.0e-05"});

    term.keys({'S'}).pause(3).keys({rt::key::kEsc});
    DATOSHACIA_SERVIDOR(store.connection());
    EXPECT_EQ(mensajes(), prueba::Mensajes{"De 12 vales 1 fueron grabados correctamente"});
    Filas mostrado;  // the viewer's lines, inside its frame
    for (int r = 7; r < 7 + static_cast<int>(memo.size()); ++r)
        mostrado.push_back(
            rt::trim(testing_support::grid_row_text(term.snapshots().back().grid, r, 3, 93)));
    EXPECT_EQ(mostrado, memo);
    Filas pendientes;
    for (int n = 1; n <= 11; ++n) pendientes.push_back(std::to_string(n) + "|1");
    pendientes.push_back("12|2");
    EXPECT_EQ(estados(store), pendientes);
    EXPECT_EQ(filas_servidor("select consumo from vales where numero_bod=78 and codi_oper=1"),
              Filas{"0.00005"});
    EXPECT_EQ(contador(), contador_ + 1);
}

// A store restored from a copy taken before its last upload holds again, as pending, the
// vouchers that were sent since: they are found on the server (only marked), and the
// vouchers typed after the restore, numbered by the store as the ones it lost, are sent as
// the new vouchers they are.
TEST_F(DatosHaciaServidor, StoreRestoredFromACopySendsItsNewVouchersAndNoneTwice) {
    guardar(store, 3);
    guardar(store, 4);
    const std::filesystem::path copia = store.file().string() + ".copia";
    std::filesystem::copy_file(store.file(), copia);
    guardar(store, 5);
    enviar(store);
    EXPECT_EQ(mensajes(), prueba::Mensajes{"De 3 vales 3 fueron grabados correctamente"});
    std::filesystem::copy_file(copia, store.file(),
                               std::filesystem::copy_options::overwrite_existing);
    guardar(store, 6);  // local number 3, as the voucher of 5 units had
    guardar(store, 7);
    EXPECT_EQ(estados(store), (Filas{"1|1", "2|1", "3|1", "4|1"}));
    enviar(store);
    EXPECT_EQ(mensajes(), prueba::Mensajes{"De 4 vales 4 fueron grabados correctamente"});
    EXPECT_EQ(folios_en_bodega(), 5);
    EXPECT_EQ(contador(), contador_ + 5);
    EXPECT_EQ(filas_servidor("select cantidad from mov_stock where numero_bod=78 and tipo_doc='7' "
                             "order by nume_doc"),
              (Filas{"3.0000000", "4.0000000", "5.0000000", "6.0000000", "7.0000000"}));
}

// A voucher on the server whose mark in the store was lost is found again and only marked,
// also when the server's catalogue changed since it was saved (its product removed, or its
// formula no longer sharing another's stock), and also when an earlier version recorded it
// by store and local number only. Sending it twice would double its stock movements.
TEST_F(DatosHaciaServidor, VoucherOnTheServerIsFoundAgainAfterItsCatalogueRowChanged) {
    struct Case {
        const char* cambio;
        bool anterior;  // recorded by an earlier version, before identities
    };
    const Case cases[] = {
        {"delete from prodvtas where codi_prod='YPRUEBA01'", false},
        {"update prodvtas set codi_form_rel='---' where codi_prod='YPRUEBA01'", false},
        {"delete from prodvtas where codi_prod='YPRUEBA01'", true},
    };
    sql("create table vales_origen (estacion char(32) not null, n_interno int not null, "
        "nume_folio int not null, primary key (estacion, n_interno))");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cambio);
        sql("delete from prodvtas where codi_prod='YPRUEBA01'");
        sql("insert into prodvtas (codi_prod, codi_form, desc_prod, unid_med, l_activo, "
            "l_ctrl_stk, codi_form_rel) values ('YPRUEBA01', '001', 'Pieza', 'UN', 1, 1, '009')");
        const long n = guardar(store, 10);
        rt::TODBC RS(store.connection());
        if (c.anterior)
            store.run("update vales_cab set id_vale=NULL where n_interno=" + std::to_string(n));
        datos::ValeLocal local;
        ASSERT_EQ(datos::leer_vale_local(RS, n, local), datos::Lectura::leido);
        datos::Vale vale{local.cabecera, local.items,
                         datos::identidad_de(local, estacion(store), n)};
        if (c.anterior) vale.identidad = {};  // the earlier version's save, and its record
        const datos::Grabacion antes = datos::grabar_vale(*sesion.OSERVER, vale, "antes");
        sql("insert into vales_origen values ('" + estacion(store) + "', " + std::to_string(n) +
            ", " + std::to_string(antes.numero) + ")");
        sql(c.cambio);
        const datos::Envio otra_vez =
            datos::enviar_vale_local(RS, *sesion.OSERVER, "otra", estacion(store), n);
        EXPECT_EQ(otra_vez.grabacion.estado, datos::Grabacion::ya_estaba);
        EXPECT_EQ(otra_vez.grabacion.numero, antes.numero);
        EXPECT_TRUE(otra_vez.marcado);
    }
    EXPECT_EQ(folios_en_bodega(), 3);
    sql("drop table vales_origen");
}

// A store made before vouchers (and the store itself) had identities, copied to a second
// workstation or kept as a backup before this version first used it: its pending voucher
// is one voucher, sent once whichever copy sends it.
TEST_F(DatosHaciaServidor, StoreOlderThanIdentitiesCopiedBeforeTheUpgradeSendsItsVoucherOnce) {
    for (const bool restaurar : {false, true}) {
        SCOPED_TRACE(restaurar ? "backup restored" : "second workstation");
        testing_support::ScratchStore original, copia;
        original.run("drop trigger vales_cab_identidad");
        original.run("alter table vales_cab drop column id_vale");
        original.run("drop table estacion");
        guardar(original, restaurar ? 4 : 3);
        std::filesystem::copy_file(original.file(), copia.file(),
                                   std::filesystem::copy_options::overwrite_existing);
        enviar(original);
        if (restaurar)
            std::filesystem::copy_file(copia.file(), original.file(),
                                       std::filesystem::copy_options::overwrite_existing);
        enviar(restaurar ? original : copia);
        EXPECT_EQ(mensajes(), (prueba::Mensajes{"De 1 vales 1 fueron grabados correctamente",
                                                "De 1 vales 1 fueron grabados correctamente"}));
    }
    EXPECT_EQ(folios_en_bodega(), 2);
}

// The store refuses to mark the vouchers sent: the server keeps them, the user learns that
// they are still to be marked, and the next upload only marks them.
TEST_F(DatosHaciaServidor, UnmarkedVouchersAreOnlyMarkedByTheNextUpload) {
    guardar_varios(store, 2);
    store.run(
        "create trigger no_marcar before update on vales_cab begin select raise(abort, "
        "'disco lleno'); end");
    enviar(store);
    EXPECT_EQ(mensajes(),
              (prueba::Mensajes{"De 2 vales 2 fueron grabados correctamente",
                                "2 vales grabados en el servidor no se marcaron en la base local: "
                                "se marcarán en el próximo envío"}));
    EXPECT_EQ(estados(store), (Filas{"1|1", "2|1"}));
    store.run("drop trigger no_marcar");
    enviar(store);
    EXPECT_EQ(mensajes(), prueba::Mensajes{"De 2 vales 2 fueron grabados correctamente"});
    cada_vale_una_vez(store, 2);
    EXPECT_EQ(contador(), contador_ + 2);
}

// Two workstations upload at the same time, each from its own store: every voucher of
// both reaches the server once, under folios that never repeat.
TEST_F(DatosHaciaServidor, TwoWorkstationsUploadingTogether) {
    testing_support::ScratchStore otra;
    otra.run(
        "insert into prodvtas (codi_prod, desc_prod, codi_form, desc_form, l_vigente, "
        "l_activo) values ('YPRUEBA01', 'Pieza', '001', 'Propia', true, true)");
    guardar_varios(store, 25);
    guardar_varios(otra, 25);
    int listos[2];
    ASSERT_EQ(::pipe(listos), 0);
    // The first upload runs in this test's child, held until the second is about to start
    // in a process of its own.
    const int status = en_proceso(
        [&](int) {
            ::close(listos[1]);
            char x;
            if (::read(listos[0], &x, 1) != 0) ::_exit(6);  // released when the pipe closes
            enviar(store);
        },
        [&](pid_t, int) {
            ::close(listos[1]);
            const int otro = en_proceso([&](int) { enviar(otra); });
            EXPECT_TRUE(WIFEXITED(otro) && WEXITSTATUS(otro) == 0) << otro;
        });
    ::close(listos[0]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    cada_vale_una_vez(store, 25);
    cada_vale_una_vez(otra, 25);
    EXPECT_EQ(folios_en_bodega(), 50);
    EXPECT_EQ(contador(), contador_ + 50);
}

// Without its work table the upload ends after saying so, and sends nothing.
TEST_F(DatosHaciaServidor, EndsWhenItsWorkTableCannotBeOpened) {
    guardar(store, 3);
    sesion.CARPETA_TEMP = store.file().string() + "/";  // a file, where a folder should be
    enviar(store);
    EXPECT_EQ(mensajes(), prueba::Mensajes{"ERROR: No se puede abrir archivo de VALES"});
    EXPECT_EQ(estados(store), Filas{"1|1"});
    EXPECT_EQ(contador(), contador_);
}

// A company database made before the register of identities, and an account with no right
// to create tables: vouchers are sent as before, and the user is told once per session, on
// the message line, that the administrator step is missing. After that step (vales
// --preparar-servidor) a voucher whose mark was lost is only marked.
TEST_F(DatosHaciaServidor, WithoutTheRegisterSendingWorksAndTheAdministratorStepAddsIt) {
    auto admin = prueba::conectar_mariadb("test");
    // Whatever happens here, the tests after this one find the register again.
    struct Devolver {
        TMySQLServer& admin;
        ~Devolver() {
            datos::crear_objetos_adicionales(admin);
            admin.Query("drop user if exists 'vales_min'@'%'");
        }
    } devolver{*admin};
    admin->Query("drop user if exists 'vales_min'@'%'");
    ASSERT_FALSE(admin->Query("create user 'vales_min'@'%' identified by 'minima'").NetErr());
    ASSERT_FALSE(
        admin->Query("grant select, insert, update, delete on test.* to 'vales_min'@'%'").NetErr());
    ASSERT_FALSE(admin->Query("drop table vales_identidad").NetErr());
    sesion.OSERVER = TMySQLServer::New(prueba::direccion_mariadb(), "vales_min", "minima");
    ASSERT_TRUE(sesion.OSERVER->SelectDB("test"));
    // How many of the screens waiting for a key showed the notice.
    std::size_t visto = 0;
    auto avisos = [&] {
        int n = 0;
        for (; visto < term.snapshots().size(); ++visto) {
            const std::string linea =
                testing_support::grid_row_text(term.snapshots()[visto].grid, 35);
            if (linea.find("falta preparar el servidor") != std::string::npos) ++n;
        }
        return n;
    };

    guardar_varios(store, 2);
    enviar(store);
    EXPECT_EQ(mensajes(), prueba::Mensajes{"De 2 vales 2 fueron grabados correctamente"});
    EXPECT_EQ(avisos(), 1);
    guardar_varios(store, 1);
    enviar(store);
    EXPECT_EQ(mensajes(), prueba::Mensajes{"De 1 vales 1 fueron grabados correctamente"});
    EXPECT_EQ(avisos(), 0) << "once per session";

    ::setenv("VALES_SERVIDOR_LOCAL", prueba::direccion_mariadb().c_str(), 1);
    EXPECT_EQ(preparar_servidor(), 0);
    ::unsetenv("VALES_SERVIDOR_LOCAL");
    guardar_varios(store, 1);
    enviar(store);
    store.run("update vales_cab set c_estado='1' where n_interno=4");  // the mark lost
    enviar(store);
    EXPECT_EQ(mensajes(), (prueba::Mensajes{"De 1 vales 1 fueron grabados correctamente",
                                            "De 1 vales 1 fueron grabados correctamente"}));
    EXPECT_EQ(folios_en_bodega(), 4);
    EXPECT_EQ(contador(), contador_ + 4);
    EXPECT_EQ(origenes(estacion(store)).size(), 1u);
}

using DatosHaciaServidorEnModo = prueba::EnModoSql<DatosHaciaServidor>;

// The identities looked up and written under every SQL mode of the server.
TEST_P(DatosHaciaServidorEnModo, SendsOnceUnderEverySqlMode) {
    guardar_varios(store, 2);
    enviar(store);
    EXPECT_EQ(mensajes(), prueba::Mensajes{"De 2 vales 2 fueron grabados correctamente"});
    store.run("update vales_cab set c_estado='1'");  // as if the marks had been lost
    enviar(store);
    EXPECT_EQ(mensajes(), prueba::Mensajes{"De 2 vales 2 fueron grabados correctamente"});
    cada_vale_una_vez(store, 2);
    EXPECT_EQ(contador(), contador_ + 2);
}

INSTANTIATE_TEST_SUITE_P(Modos, DatosHaciaServidorEnModo, testing::ValuesIn(prueba::modos_sql()),
                         prueba::nombre_modo);

}  // namespace
