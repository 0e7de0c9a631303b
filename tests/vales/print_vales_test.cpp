// Voucher printing against the test server: the page layout of a range, the range form,
// the destination dialog and the documents each destination leaves behind.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "impresion/comandos.h"
#include "impresion/cups.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "support/modo_sql.h"
#include "vales/impresion_fixture.h"
#include "vales/imprimir/print_vales.h"

namespace {

namespace fs = std::filesystem;
using impresion::Pagina;
using impresion::TextoImpreso;
using rt::key::kDown;
using rt::key::kEnter;
using rt::key::kEsc;
using rt::key::kTab;
using rt::key::kUp;

class PrintValesTest : public testing_support::ImpresionTest {};

// The text drawn at (fila, columna) of the page, without the blanks that pad stored codes.
const TextoImpreso* en(const Pagina& p, double fila, double columna) {
    for (const TextoImpreso& t : p.textos) {
        if (std::abs(t.fila - fila) < 1e-9 && std::abs(t.columna - columna) < 1e-9) return &t;
    }
    return nullptr;
}

struct Esperado {
    double fila, izquierda, derecha;
    const char* texto;  // UTF-8
    double puntos;
    bool negrita;
};

void comprobar_bloque(const Pagina& p, double r, const std::vector<Esperado>& esperados) {
    for (const Esperado& e : esperados) {
        for (double col : {e.izquierda, e.derecha}) {
            const TextoImpreso* t = en(p, r + e.fila, col);
            ASSERT_NE(t, nullptr) << "nada en fila " << r + e.fila << ", columna " << col << " ("
                                  << e.texto << ")";
            const std::string texto = e.texto;
            // Stored texts come padded to their column's width.
            EXPECT_EQ(cp::ansi_to_utf8(rt::rtrim(t->texto)),
                      col == e.derecha && texto == "(Original)" ? "(Copia)" : rt::rtrim(texto))
                << "fila " << r + e.fila << ", columna " << col;
            EXPECT_EQ(t->puntos, e.puntos) << e.texto;
            EXPECT_EQ(t->negrita, e.negrita) << e.texto;
        }
    }
}

const std::string kGuiones(78, '-');
const char* const kTitulos =
    "Actividad                 Operario             Especificación         Cantidad";

// The header of a folio the server holds no voucher under: every field empty, numbers 0.
const std::vector<Esperado> kBloqueEnBlanco = {
    {0, 0, 82, "(Original)", 6, false},  {1, 0, 82, "Fecha   :   /  /", 6, false},
    {1, 24, 106, "Bodega: 0", 6, false}, {1, 40, 122, "Folio Nº:", 6, false},
    {1, 22, 57, "0", 14, true},          {2, 0, 82, "Producto:", 6, false},
    {2, 10, 92, "", 6, false},           {2, 21, 103, "", 6, true},
    {3, 0, 82, "Fórmula:", 6, false},    {3, 10, 92, "", 6, false},
    {3, 21, 103, "", 6, true},           {4, 0, 82, "Cantidad:", 6, false},
    {4, 10, 92, "      0,00", 6, true},  {5, 0, 82, kGuiones.c_str(), 6, false},
    {6, 0, 82, kTitulos, 6, false},      {7, 0, 82, kGuiones.c_str(), 6, false},
};

TEST_F(PrintValesTest, DosValesPorPaginaConOriginalYCopiaLadoALado) {
    // 990003 and 990005 do not exist: they still take their blocks, so every voucher stands
    // where the pre-printed numbering expects it.
    vales::ResumenImpresion resumen;
    const auto paginas = paginas_de(990001, 990005, &resumen);
    EXPECT_EQ(resumen.impresos, 5);
    EXPECT_EQ(resumen.sin_leer.total, 0);
    EXPECT_EQ(resumen.sin_actividades.total, 0);
    EXPECT_FALSE(resumen.cancelado);

    ASSERT_EQ(paginas.size(), 3u);
    // 32 header texts and 8 per item in each block; the blank blocks have no items.
    EXPECT_EQ(paginas[0].textos.size(), 80u);
    EXPECT_EQ(paginas[1].textos.size(), 72u);
    EXPECT_EQ(paginas[2].textos.size(), 32u);

    // 990001: upper half of page 1.
    comprobar_bloque(paginas[0], 0,
                     {
                         {0, 0, 82, "(Original)", 6, false},
                         {1, 0, 82, "Fecha   : 02/12/2026", 6, false},
                         {1, 24, 106, "Bodega: 2", 6, false},
                         {1, 40, 122, "Folio Nº:", 6, false},
                         {1, 22, 57, "990001", 14, true},
                         {2, 0, 82, "Producto:", 6, false},
                         {2, 10, 92, "L01AA0110", 6, false},
                         {2, 21, 103, "Ladrillo refractario 'Súper' 230x114x65", 6, true},
                         {3, 0, 82, "Fórmula:", 6, false},
                         {3, 10, 92, "001", 6, false},
                         {3, 21, 103, "Estándar", 6, true},
                         {4, 0, 82, "Cantidad:", 6, false},
                         {4, 10, 92, "  1.234,50", 6, true},
                         {5, 0, 82, kGuiones.c_str(), 6, false},
                         {6, 0, 82, kTitulos, 6, false},
                         {7, 0, 82, kGuiones.c_str(), 6, false},
                         {7.6, 0, 82, "Moldeo a mano", 6, false},
                         {7.6, 26, 108, "Pedro Muñoz Soto", 6, true},
                         {7.6, 47, 129, "Normal", 6, false},
                         {7.6, 68, 150, "  1.234,50", 6, false},
                     });
    // 990002: lower half of page 1; long texts are cut to their columns.
    comprobar_bloque(paginas[0], 33,
                     {
                         {0, 0, 82, "(Original)", 6, false},
                         {1, 22, 57, "990002", 14, true},
                         {1, 24, 106, "Bodega: 1", 6, false},
                         {2, 10, 92, "M02BB0220", 6, false},
                         {4, 10, 92, "     25,00", 6, true},
                         {7.6, 0, 82, "Rectificado de aristas y ", 6, false},
                         {7.6, 26, 108, "Juan Francisco de la", 6, true},
                         {7.6, 47, 129, "Acabado fino de prec", 6, false},
                     });
    // 990003 (no voucher): a blank upper half of page 2; 990004 below it.
    comprobar_bloque(paginas[1], 0, kBloqueEnBlanco);
    comprobar_bloque(paginas[1], 33,
                     {
                         {0, 0, 82, "(Original)", 6, false},
                         {1, 22, 57, "990004", 14, true},
                         {1, 24, 106, "Bodega: 6", 6, false},
                         {3, 21, 103, "Alta alúmina", 6, true},
                         {7.6, 26, 108, "José O'Ryan Díaz", 6, true},
                         {7.6, 47, 129, "Prensa hidráulica", 6, false},
                     });
    // 990005 (no voucher): alone, blank, in the upper half of page 3.
    comprobar_bloque(paginas[2], 0, kBloqueEnBlanco);
    for (const TextoImpreso& t : paginas[2].textos) EXPECT_LT(t.fila, 33) << t.texto;
    // The job was dropped before its end: nothing is left in temp/.
    EXPECT_TRUE(nuevos().empty());
}

TEST_F(PrintValesTest, VariosItemsBajanSeisDecimasDeFila) {
    // Voucher 1000 of the demo data has three activities, in the server's order.
    const auto paginas = paginas_de(1000, 1000);
    ASSERT_EQ(paginas.size(), 1u);
    std::multiset<std::string> actividades;
    for (double fila : {7.6, 8.2, 8.8}) {
        const TextoImpreso* t = en(paginas[0], fila, 0);
        ASSERT_NE(t, nullptr) << fila;
        actividades.insert(cp::ansi_to_utf8(rt::rtrim(t->texto)));
    }
    EXPECT_EQ(actividades, (std::multiset<std::string>{"Moldeo a mano", "Cocción en horno túnel",
                                                       "Empaque y paletizado"}));
    EXPECT_EQ(en(paginas[0], 9.4, 0), nullptr);
}

TEST_F(PrintValesTest, SinConexionElMenuSoloAvisa) {
    sesion.LCONECTADO = false;
    vales::IMPRIMIRVALES();
    EXPECT_TRUE(se_vio("No existe una conexión con el servidor"));
    EXPECT_FALSE(se_vio("Desde:"));
}

TEST_F(PrintValesTest, HastaMenorQueDesdeRetieneElCursorYEscNoImprime) {
    const std::string antes = row_text(26);
    term.keys({kEnter});            // "Desde" 0 is refused
    term.type("5").keys({kEnter});  // Desde 5
    term.type("3").keys({kEnter});  // Hasta 3 is refused
    term.keys({kEsc});
    vales::IMPRIMIRVALES();
    const auto& shots = term.snapshots();
    ASSERT_GE(shots.size(), 5u);
    // The wait after the refused 0 is still in "Desde"; the one after the refused 3 in "Hasta".
    EXPECT_EQ(shots[1].cursor.row, 26);
    EXPECT_EQ(shots[1].cursor.col, 59);
    EXPECT_EQ(shots[4].cursor.row, 26);
    EXPECT_GE(shots[4].cursor.col, 76);
    EXPECT_NE(testing_support::grid_row_text(shots[4].grid, 26)
                  .find("Imprimir vales de producción:  Desde:        5  Hasta: 3"),
              std::string::npos)
        << testing_support::grid_row_text(shots[4].grid, 26);
    EXPECT_FALSE(se_vio("Módulo de impresión"));
    EXPECT_EQ(row_text(26), antes);
    EXPECT_TRUE(nuevos().empty());
}

TEST_F(PrintValesTest, ElDialogoOfreceLosCuatroDestinosYLlamaConLaClave) {
    struct Caso {
        const char* nombre;
        std::vector<int> teclas;
        const char* destino;  // nullptr: the routine is not called
    } casos[] = {
        {"Print con la primera opcion", {kEnter}, "PRINTER"},
        {"una abajo: PDF", {kDown, kEnter}, "PDFPRINT"},
        {"tres abajo: RTF", {kDown, kDown, kDown, kEnter}, "RTFPRINT"},
        {"no pasa de la ultima", {kDown, kDown, kDown, kDown, kDown, kEnter}, "RTFPRINT"},
        {"no pasa de la primera", {kUp, kEnter}, "PRINTER"},
        {"por numero: HTML", {'3', kEnter}, "HTMLPRINT"},
        {"Salir con Tab y Enter", {kDown, kTab, kEnter}, nullptr},
        {"Esc es Salir", {kDown, kEsc}, nullptr},
        {"Tab dos veces vuelve a Print", {kTab, kTab, kEnter}, "PRINTER"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        for (int k : c.teclas) term.keys({k});
        console.write_at(12, 40, "debajo del dialogo");
        const std::string antes = row_text(12);
        std::vector<std::string> llamadas;
        vales::PRINT_VALE(
            [&](const std::string& destino, long primero, long ultimo) {
                llamadas.push_back(destino + " " + std::to_string(primero) + "-" +
                                   std::to_string(ultimo));
            },
            7, 9);
        if (c.destino) {
            EXPECT_EQ(llamadas, (std::vector<std::string>{std::string(c.destino) + " 7-9"}));
        } else {
            EXPECT_TRUE(llamadas.empty());
        }
        EXPECT_EQ(row_text(12), antes);
        EXPECT_TRUE(term.script_empty());
    }
    // The first wait shows the dialog with "Impresora" chosen and the focus on "Print".
    const auto& primera = term.snapshots().front().grid;
    std::string dialogo;
    for (int r = 11; r <= 23; ++r)
        dialogo += testing_support::grid_row_text(primera, r, 33, 34) + "\n";
    EXPECT_NE(dialogo.find("Módulo de impresión"), std::string::npos) << dialogo;
    for (const char* s : {"Destino:", "(*) Impresora", "( ) PDF", "( ) HTML", "( ) RTF",
                          "[ Print ]", "[ Salir ]"}) {
        EXPECT_NE(dialogo.find(s), std::string::npos) << s << "\n" << dialogo;
    }
    EXPECT_LT(dialogo.find("Impresora"), dialogo.find("PDF"));
    EXPECT_LT(dialogo.find("HTML"), dialogo.find("RTF"));
}

TEST_F(PrintValesTest, DelMenuAUnPdfConLosValesDelRango) {
    term.type("990001").keys({kEnter}).type("990002").keys({kEnter});
    term.keys({kDown, kEnter});  // PDF, Print
    term.keys({kEnter});         // the alert that tells where the document is
    vales::IMPRIMIRVALES();
    EXPECT_TRUE(term.script_empty());
    EXPECT_TRUE(se_vio("Documento guardado en"));
    const auto escritos = nuevos();
    ASSERT_EQ(escritos.size(), 1u);
    EXPECT_EQ(fs::path(escritos[0]).extension(), ".pdf");
    EXPECT_NE(escritos[0].find("vale_produccion_20261206_0900"), std::string::npos);
    EXPECT_TRUE(se_vio(fs::path(escritos[0]).filename().string()));

    const auto texto = impresion::ejecutar_comando({"pdftotext", "-layout", escritos[0], "-"}, 20);
    ASSERT_TRUE(texto.ok()) << texto.salida;
    for (const char* s : {"(Original)", "(Copia)", "990001", "990002",
                          "Folio Nº:", "Pedro Muñoz Soto", "Juan Francisco de la", "1.234,50"}) {
        EXPECT_NE(texto.salida.find(s), std::string::npos) << s << "\n" << texto.salida;
    }
    EXPECT_EQ(texto.salida.find("Juan Francisco de la Barra"), std::string::npos);
}

// With the server in each SQL mode a plant may use.
using PrintValesEnModo = prueba::EnModoSql<PrintValesTest>;
INSTANTIATE_TEST_SUITE_P(Modos, PrintValesEnModo, testing::ValuesIn(prueba::modos_sql()),
                         prueba::nombre_modo);

TEST_P(PrintValesEnModo, HtmlYRtfConLosTextosDelVale) {
    struct Caso {
        const char* destino;
        const char* extension;
        std::vector<std::string> textos;  // as the file holds them
    } casos[] = {
        {"HTMLPRINT", ".html", {"990004", "José O'Ryan Díaz", "Alta alúmina", "(Copia)"}},
        {"RTFPRINT", ".rtf", {"990004", "Jos\\'e9 O'Ryan D\\'edaz", "Alta al\\'famina", "(Copia)"}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.destino);
        term.keys({kEnter});  // the alert with the document's place
        const auto antes = nuevos();
        vales::PRINTVALE(c.destino, 990004, 990004);
        auto escritos = nuevos();
        std::erase_if(escritos, [&](const std::string& d) {
            return std::find(antes.begin(), antes.end(), d) != antes.end();
        });
        ASSERT_EQ(escritos.size(), 1u);
        EXPECT_EQ(fs::path(escritos[0]).extension(), c.extension);
        const std::string contenido = leer(escritos[0]);
        for (const std::string& s : c.textos) {
            EXPECT_NE(contenido.find(s), std::string::npos) << s;
        }
    }
}

TEST_F(PrintValesTest, RangoVacioNoDejaDocumentoYFolioInexistenteSaleEnBlanco) {
    // First folio after the last: nothing to print, the service says so.
    term.keys({kEnter});
    vales::PRINTVALE("PDFPRINT", 990002, 990001);
    EXPECT_TRUE(se_vio("El documento no tiene páginas"));
    EXPECT_TRUE(nuevos().empty());
    // A folio the server does not hold prints as a blank voucher with zeros, without a word
    // of complaint: the pre-printed form it goes on is used up all the same.
    term.keys({kEnter});  // the alert with the document's place
    vales::PRINTVALE("PDFPRINT", 990003, 990003);
    EXPECT_FALSE(se_vio("No se pudieron leer"));
    const auto escritos = nuevos();
    ASSERT_EQ(escritos.size(), 1u);
    const std::string texto = texto_pdf(escritos[0]);
    for (const char* s : {"(Original)", "(Copia)", "Folio Nº:", "Bodega: 0", "0,00"}) {
        EXPECT_NE(texto.find(s), std::string::npos) << s << "\n" << texto;
    }
    EXPECT_TRUE(term.script_empty());
}

// Renames a table of the test database for the length of a test, so that the statements
// that read it fail on the server.
class TablaRenombrada {
  public:
    TablaRenombrada(TMySQLServer& server, std::string tabla)
        : server_(server), tabla_(std::move(tabla)) {
        auto q = server_.Query("rename table " + tabla_ + " to " + tabla_ + "_fuera");
        EXPECT_FALSE(q.NetErr()) << q.Error();
    }
    ~TablaRenombrada() { server_.Query("rename table " + tabla_ + "_fuera to " + tabla_); }

  private:
    TMySQLServer& server_;
    std::string tabla_;
};

TEST_F(PrintValesTest, UnErrorDelServidorSeInformaYNoPasaPorUnValeImpreso) {
    struct Caso {
        const char* tabla;    // made unreadable
        std::size_t paginas;  // of the range 990001..990002
        std::size_t textos;   // on the first page
        const char* aviso;    // UTF-8, as the alert shows it
    } casos[] = {
        // The header statement joins the warehouses: no voucher can be read, none is drawn.
        {"bodegas", 0, 0, "No se pudieron leer del servidor 2 vale(s): no se imprimieron"},
        // The item statement joins the operators: the vouchers print without their items.
        {"operario", 1, 64, "2 vale(s) se imprimieron sin sus actividades"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.tabla);
        vales::ResumenImpresion resumen;
        std::vector<impresion::Pagina> paginas;
        {
            TablaRenombrada fuera(*sesion.OSERVER, c.tabla);
            paginas = paginas_de(990001, 990002, &resumen);
        }
        ASSERT_EQ(paginas.size(), c.paginas);
        if (c.paginas > 0) {
            EXPECT_EQ(paginas[0].textos.size(), c.textos);
        }
        term.keys({kEnter});
        vales::avisar_resumen(resumen);
        EXPECT_TRUE(se_vio(c.aviso)) << screen_dump();
        EXPECT_TRUE(se_vio("Folios: 990001, 990002")) << screen_dump();
        EXPECT_TRUE(term.script_empty());
    }
}

TEST_F(PrintValesTest, UnRangoLargoSeConfirmaYSePuedeCancelarConEsc) {
    const long ultimo = 990001 + vales::kFoliosSinConfirmar;  // one folio over the limit
    // Refused: back to the form, where the range can be corrected; Esc leaves.
    term.type("990001").keys({kEnter}).type(std::to_string(ultimo)).keys({kEnter});
    term.keys({'N', kEsc});
    vales::IMPRIMIRVALES();
    EXPECT_TRUE(se_vio("El rango tiene 3.001 folios (1.501 hojas): ¿imprimirlos todos?"))
        << screen_dump();
    EXPECT_FALSE(se_vio("Módulo de impresión"));
    EXPECT_TRUE(term.script_empty());

    // Confirmed: the run starts, shows where it stands every hundred folios, and Esc (a key
    // already pressed when it looks) drops the whole job.
    term.type("990001").keys({kEnter}).type(std::to_string(ultimo)).keys({kEnter});
    term.keys({'S', kDown, kEnter});  // yes; PDF, Print
    term.type_ahead(kEsc);
    term.keys({kEnter});  // the alert that says so
    vales::IMPRIMIRVALES();
    EXPECT_TRUE(term.script_empty());
    EXPECT_TRUE(se_vio("Impresión cancelada: no se imprimió ningún vale")) << screen_dump();
    EXPECT_TRUE(se_vio("Imprimiendo el vale 990101 (101 de 3001)  [Esc] Cancelar"))
        << screen_dump();
    EXPECT_TRUE(nuevos().empty());
}

TEST_F(PrintValesTest, SinServidorCupsLaImpresoraAvisaYNoSeCuelga) {
    setenv("CUPS_SERVER", "127.0.0.1:1", 1);
    term.keys({kEnter});
    vales::PRINTVALE("PRINTER", 990001, 990001);
    unsetenv("CUPS_SERVER");
    EXPECT_TRUE(se_vio("No hay impresoras disponibles")) << screen_dump();
    EXPECT_TRUE(se_vio("Servidor: 127.0.0.1:1")) << screen_dump();
    EXPECT_TRUE(term.script_empty());
    EXPECT_TRUE(nuevos().empty());
}

// A print server that takes the connection and never says a word: a socket that listens
// and is never read.
class ServidorMudo {
  public:
    ServidorMudo() {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t largo = sizeof a;
        EXPECT_EQ(bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        EXPECT_EQ(listen(fd_, 8), 0);
        getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &largo);
        direccion_ = "127.0.0.1:" + std::to_string(ntohs(a.sin_port));
    }
    ~ServidorMudo() { close(fd_); }
    const std::string& direccion() const { return direccion_; }

  private:
    int fd_ = -1;
    std::string direccion_;
};

TEST_F(PrintValesTest, UnServidorCupsQueNoContestaSeDejaAlLimite) {
    ServidorMudo mudo;
    setenv("CUPS_SERVER", mudo.direccion().c_str(), 1);
    const std::string esperado =
        cp::utf8_to_ansi("El servidor de impresión CUPS no responde;Servidor: ") + mudo.direccion();
    // Listing the printers.
    std::vector<std::string> avisos;
    impresion::TPRINT job("PRINTER", {.avisar = [&](std::string_view a) { avisos.emplace_back(a); },
                                      .limite_cups = 0.5});
    job.Init();
    job.SelPrinter(true, false, false, 1);
    EXPECT_TRUE(job.lPrError());
    EXPECT_EQ(avisos, std::vector<std::string>{esperado});
    // Sending a job.
    fs::create_directories("temp");
    const std::string pdf = "temp/mudo_prueba.pdf";
    std::ofstream(pdf) << impresion::documento_pdf({"Prueba", {{}}});
    EXPECT_EQ(impresion::enviar_a_cups("Prueba", "Vale produccion", pdf, 0.5), esperado);
    fs::remove(pdf);
    unsetenv("CUPS_SERVER");
}

TEST_F(PrintValesTest, UnDocumentoQueNoCabeEnElDiscoNoQuedaNiSeDaPorImpreso) {
    // The process may write files of at most 4 KiB: the document's bytes fail past that, as
    // on a full disk.
    signal(SIGXFSZ, SIG_IGN);
    rlimit antes{};
    getrlimit(RLIMIT_FSIZE, &antes);
    rlimit limite = antes;
    limite.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);
    std::vector<std::string> avisos;
    impresion::TPRINT job("PDFPRINT",
                          {.avisar = [&](std::string_view a) { avisos.emplace_back(a); }});
    job.SelPrinter(true, false, false, 1);
    job.BeginDoc("Vale produccion");
    const auto resumen = vales::imprimir_rango(job, *sesion.OSERVER, 990001, 990099);
    job.EndDoc();
    setrlimit(RLIMIT_FSIZE, &antes);
    signal(SIGXFSZ, SIG_DFL);

    EXPECT_TRUE(job.lPrError());
    EXPECT_TRUE(job.archivo().empty());
    ASSERT_EQ(avisos.size(), 1u);
    EXPECT_EQ(avisos[0].rfind("No se pudo escribir el documento en temp/", 0), 0u) << avisos[0];
    // The run stopped at the failure instead of reading the rest of the range.
    EXPECT_LT(resumen.impresos, 99);
    EXPECT_TRUE(nuevos().empty());
}

}  // namespace
