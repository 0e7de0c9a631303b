// The list of vouchers recorded off-line: what it shows, sending the highlighted voucher to
// the server and deleting it from the store.
#include "vales/fuera_de_linea/lista_ingresos.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "datos/envio.h"
#include "vales/en_linea/vales_ingreso_on_line.h"
#include "vales/vales_locales_fixture.h"

namespace {

using namespace vales;
using rt::key::kDel;
using rt::key::kDown;
using rt::key::kEsc;
using rt::key::kF8;
using testing_support::picture;
using Filas = std::vector<std::string>;

class ListaIngresos : public prueba::ValesLocales {
  protected:
    ListaIngresos() {
        console.write_at(0, 0, "Refractarios Velmo Ltda.");
        guardar(store, 150.5, 5);
        guardar(store, 20, 6);
        guardar(store, 10, 7);
        store.run("update vales_cab set c_estado='2' where n_interno=3");  // sent before
        guardar(store, 1234567, 8);
        // A product no longer in the local copy: still the store's voucher, listed without
        // the product's name.
        store.run(
            "insert into vales_cab (codi_prod, codi_form, num_bodega, fecha, cantidad, malas, "
            "c_estado) values('YOTRO0001', '001', 78, '09/12/2026', 5.00, 0.00, '1')");
    }
    void correr(std::initializer_list<int> keys) {
        term.keys(keys);
        correr();
    }
    // With the keys already given (a message box lets a pause go by).
    void correr() {
        LISTA_INGRESOS(store.connection());
        EXPECT_EQ(term.keys_left(), 0u);
    }
};

const std::string kPie = R"(
 ──────────────────────────────────────────────────────────────────────────────────────────────────
               [↑] [↓]    [F8]Grabar en servidor    [Del]Eliminar vale    [Esc]Salir
)";

// The pending vouchers in the order they were recorded (those of `lineas`, by position);
// quantities without decimals, the product's name with its own letters.
std::string pantalla_lista(const std::vector<int>& lineas) {
    std::string texto = R"(
Refractarios Velmo Ltda.


 Fecha      Bod Producto  Frm Descripción                           Cantidad     Malas       Estado
 ──────────────────────────────────────────────────────────────────────────────────────────────────
)";
    const char* const todas[] = {
        " 05/12/2026  78 YPRUEBA01 001 Pieza de envío 'Ñandú'                     151         2    "
        "Pendiente\n",
        " 06/12/2026  78 YPRUEBA01 001 Pieza de envío 'Ñandú'                      20         2    "
        "Pendiente\n",
        " 08/12/2026  78 YPRUEBA01 001 Pieza de envío 'Ñandú'               1.234.567         2    "
        "Pendiente\n",
        " 09/12/2026  78 YOTRO0001 001                                              5         0    "
        "Pendiente\n",
    };
    for (int l : lineas) texto += todas[l];
    for (std::size_t r = 5 + lineas.size(); r < 34; ++r) texto += "\n";
    return picture(texto + kPie.substr(1));
}

TEST_F(ListaIngresos, ShowsThePendingVouchersWithTheHighlightOnTheFirst) {
    correr({kDown, kEsc});
    EXPECT_EQ(shown_screen(1), pantalla_lista({0, 1, 2, 3}));
    const std::map<std::string, char> colores = {{"W/B", '.'}, {"+W/R", 'h'}};
    EXPECT_EQ(shown_colours(colores, 5, 1, 7, 10, 1), picture(R"(
hhhhhhhhhh
..........
..........)",
                                                              3));
    EXPECT_EQ(shown_colours(colores, 5, 1, 7, 10, 0), picture(R"(
..........
hhhhhhhhhh
..........)",
                                                              3));
    EXPECT_EQ(screen_text(), picture("Refractarios Velmo Ltda.")) << "the screen is put back";
}

// F8 sends the highlighted voucher: its rows on the server are those of the same voucher
// saved on-line, it is marked sent in the store and leaves the list.
TEST_F(ListaIngresos, F8SendsTheHighlightedVoucherWhichLeavesTheList) {
    correr({kDown, kF8, 'S', 'N', kEsc});
    EXPECT_EQ(shown_screen(), pantalla_lista({0, 2, 3}));
    EXPECT_EQ(estados(store), (Filas{"1|1", "2|2", "3|2", "4|1", "5|1"}));
    const long folio = contador_ + 1;
    EXPECT_EQ(origenes(estacion(store)), Filas{"2|" + std::to_string(folio)});
    const long en_linea = GRABARVALE_SERVIDOR(cabecera(20, 6), items(20));
    ASSERT_EQ(en_linea, folio + 1);
    EXPECT_EQ(filas_vale(folio), filas_vale(en_linea));
    EXPECT_EQ(filas_vale(folio).size(), 4u);
    // The print offer came once the server had numbered it.
    EXPECT_NE(shown_screen(1).find("Vale de producción grabado correctamente - Desea imprimir?"),
              std::string::npos);

    // The next run lists what is still pending.
    correr({kEsc});
    EXPECT_EQ(shown_screen(), pantalla_lista({0, 2, 3}));
}

// What F8 meets besides a plain save: no connection, a shortage on the server (its window,
// the voucher stays), a voucher the server already holds (only marked, nothing sent), and
// one whose identity the server holds under another content (refused, still pending).
TEST_F(ListaIngresos, F8WithoutConnectionShortageOrVoucherAlreadyOnTheServer) {
    sesion.LCONECTADO = false;
    term.keys({kF8, 'S'}).pause(3).keys({kEsc});
    correr();
    EXPECT_EQ(mensajes(), prueba::Mensajes{"No existe conexión con el servidor"});
    sesion.LCONECTADO = true;

    correr({kDown, kDown, kF8, 'S', kEsc, kEsc});  // 1,234,567 units: short of everything
    EXPECT_NE(shown_screen(1).find("< Error - Stock Insuficiente >"), std::string::npos);
    EXPECT_EQ(shown_screen(), pantalla_lista({0, 1, 2, 3}));

    // Sent before, but the mark was lost: the server's voucher is this one, only marked.
    rt::TODBC RS(store.connection());
    const datos::Envio antes =
        datos::enviar_vale_local(RS, *sesion.OSERVER, "otro", estacion(store), 1);
    ASSERT_EQ(antes.grabacion.estado, datos::Grabacion::grabado);
    store.run("update vales_cab set c_estado='1' where n_interno=1");
    term.keys({kF8, 'S'}).pause(3).keys({kEsc});
    correr();
    EXPECT_EQ(mensajes(),
              prueba::Mensajes{"El vale ya estaba grabado en el servidor con el número " +
                               std::to_string(antes.grabacion.numero)});
    EXPECT_EQ(shown_screen(), pantalla_lista({1, 2, 3}));
    EXPECT_EQ(estados(store), (Filas{"1|2", "2|1", "3|2", "4|1", "5|1"}));
    EXPECT_EQ(contador(), contador_ + 1);

    // The server holds the identity of the next voucher under another voucher's content (a
    // store edited by hand): refused, still pending.
    sql("insert into vales_identidad (id_vale, nume_folio) values ('" +
        store.rows("select id_vale from vales_cab where n_interno=2")[0] + "', " +
        std::to_string(antes.grabacion.numero) + ")");
    term.keys({kF8, 'S'}).pause(3).keys({kEsc});
    correr();
    EXPECT_EQ(mensajes(),
              prueba::Mensajes{"ERROR: El servidor guarda otro vale con esta identificación "
                               "(número " +
                               std::to_string(antes.grabacion.numero) + "): no se grabó"});
    EXPECT_EQ(shown_screen(), pantalla_lista({1, 2, 3}));
    EXPECT_EQ(estados(store), (Filas{"1|2", "2|1", "3|2", "4|1", "5|1"}));
    EXPECT_EQ(contador(), contador_ + 1);
    sql("delete from vales_identidad where nume_folio=" + std::to_string(antes.grabacion.numero));
}

// Del removes the voucher with its items (after a "no" nothing changes); deleting the
// first line puts the highlight on the new first line.
TEST_F(ListaIngresos, DelRemovesTheVoucherWithItsItems) {
    correr({kDel, 'N', kDown, kDel, 'S', kEsc});
    EXPECT_EQ(shown_screen(), pantalla_lista({0, 2, 3}));
    EXPECT_EQ(store.rows("select distinct n_interno from vales_itm order by 1"),
              (Filas{"1", "3", "4"}));
    EXPECT_EQ(store.rows("select n_interno from vales_cab order by 1"),
              (Filas{"1", "3", "4", "5"}));

    correr({kDel, 'S', kEsc});
    EXPECT_EQ(shown_screen(), pantalla_lista({2, 3}));
    const std::map<std::string, char> colores = {{"W/B", '.'}, {"+W/R", 'h'}};
    EXPECT_EQ(shown_colours(colores, 5, 1, 6, 4), picture(R"(
hhhh
....)",
                                                          2));
    EXPECT_EQ(store.rows("select count(*) from vales_itm where n_interno=1"), Filas{"0"});
}

// A deletion the store refuses half way leaves the voucher whole, and listed.
TEST_F(ListaIngresos, RefusedDeletionKeepsHeaderAndItems) {
    store.run(
        "create trigger no_borrar before delete on vales_itm begin select raise(abort, "
        "'bloqueado'); end");
    term.keys({kDel, 'S'}).pause(3).keys({kEsc});
    correr();
    EXPECT_EQ(mensajes(), prueba::Mensajes{"ERROR: No se puede eliminar vale"});
    EXPECT_EQ(shown_screen(), pantalla_lista({0, 1, 2, 3}));
    EXPECT_EQ(store.rows("select count(*) from vales_cab where n_interno=1"), Filas{"1"});
    EXPECT_EQ(store.rows("select count(*) from vales_itm where n_interno=1"), Filas{"2"});
}

// The hidden F5 of old printed a fixed range of server vouchers: it does nothing now.
TEST_F(ListaIngresos, F5DoesNothing) {
    correr({rt::key::kF5, kEsc});
    EXPECT_EQ(shown_screen(), shown_screen(1));
    EXPECT_EQ(shown_screen(), pantalla_lista({0, 1, 2, 3}));
}

TEST_F(ListaIngresos, EmptyListShowsTheHeadingAndIgnoresF8AndDel) {
    store.run("delete from vales_cab");
    correr({kF8, kDel, kEsc});
    for (std::size_t shot = 0; shot < 3; ++shot) EXPECT_EQ(shown_screen(shot), pantalla_lista({}));
}

// Without its work table the list ends after saying so (and waits for no key).
TEST_F(ListaIngresos, EndsWhenItsWorkTableCannotBeOpened) {
    sesion.CARPETA_TEMP = store.file().string() + "/";  // a file, where a folder should be
    correr({});
    EXPECT_EQ(mensajes(), prueba::Mensajes{"ERROR: No se puede abrir archivo de VALES"});
    EXPECT_EQ(screen_text(), picture("Refractarios Velmo Ltda."));
}

}  // namespace
