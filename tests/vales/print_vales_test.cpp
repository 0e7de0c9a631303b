// Voucher printing against the test server: the page layout of a range, the range form,
// the destination dialog and the documents each destination leaves behind.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/common/texto.h"
#include "runtime/common/codepage.h"
#include "support/servidor_prueba.h"
#include "vales/impresion/comandos.h"
#include "vales/print_vales.h"
#include "vales/vales_fixture.h"

namespace {

namespace fs = std::filesystem;
using impresion::Pagina;
using impresion::TextoImpreso;
using rt::key::kDown;
using rt::key::kEnter;
using rt::key::kEsc;
using rt::key::kTab;
using rt::key::kUp;

// Vouchers 990001, 990002 and 990004 (990003 and 990005 do not exist). 990002 has an
// activity whose description is 30 characters long, done by the operator with a name
// longer than 20 characters, with a 25-character especificación.
const char* const kDatos[] = {
    "insert into prodcmp (codi_prod, desc_prod, unid_med, l_ctrl_stk, prec_comp, moneda) "
    "values ('900000099', 'Rectificado de aristas y caras', 'UN', 0, '0', 1)",
    "insert into unidmed (codi_prod, codi_unid, desc_unid, prec_unid) values "
    "('900000099', 'Z01   ', 'Acabado fino de precisión', 0)",
    "insert into vales (nume_folio, fecha_prod, codi_prod, codi_form, cantidad, malas, "
    "numero_bod, codi_insu, form_insu, tipo_insu, consumo, codi_oper, codi_tipo, puntaje_un, "
    "c_estado) values "
    "(990001, '2026-12-02', 'L01AA0110', '001', 1234.5, 0, 2, '900000001', '', 'I', 1, 1, "
    "'A01', 1.5, '1'),"
    "(990001, '2026-12-02', 'L01AA0110', '001', 1234.5, 0, 2, '100000001', '', 'I', 2.5, 0, "
    "'', 0, '1'),"
    "(990002, '2026-12-03', 'M02BB0220', '001', 25, 0, 1, '900000099', '', 'I', 1, 5, 'Z01', "
    "1, '1'),"
    "(990004, '2026-12-04', 'L01AA0110', '002', 10, 0, 6, '900000002', '', 'I', 1, 2, 'B01', "
    "0.8, '1')",
};

const char* const kLimpieza[] = {
    "delete from vales where nume_folio between 990000 and 990099",
    "delete from unidmed where codi_prod='900000099'",
    "delete from prodcmp where codi_prod='900000099'",
};

class PrintValesTest : public testing_support::ValesTest {
  protected:
    PrintValesTest() {
        sesion.OSERVER = prueba::conectar_mariadb("test");
        sesion.LCONECTADO = true;
        limpiar();
        for (const char* sql : kDatos) {
            auto q = sesion.OSERVER->Query(cp::utf8_to_ansi(sql));
            EXPECT_FALSE(q.NetErr()) << q.Error();
        }
        // Documents are never handed to a desktop viewer from the tests.
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        antes_ = documentos();
    }
    ~PrintValesTest() override {
        limpiar();
        for (const std::string& d : documentos()) {
            if (!antes_.count(d)) fs::remove(d);
        }
    }
    void limpiar() {
        for (const char* sql : kLimpieza) sesion.OSERVER->Query(sql);
    }
    static std::set<std::string> documentos() {
        std::set<std::string> out;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator("temp", ec)) out.insert(e.path().string());
        return out;
    }
    // The documents the test wrote.
    std::vector<std::string> nuevos() const {
        std::vector<std::string> out;
        for (const std::string& d : documentos()) {
            if (!antes_.count(d)) out.push_back(d);
        }
        return out;
    }
    bool se_vio(const std::string& utf8) const {
        for (const auto& s : term.snapshots()) {
            for (int r = 0; r < rt::kRows; ++r) {
                if (testing_support::grid_row_text(s.grid, r).find(utf8) != std::string::npos) {
                    return true;
                }
            }
        }
        return false;
    }
    static std::string leer(const std::string& ruta) {
        std::ifstream in(ruta, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

  private:
    std::set<std::string> antes_;
};

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

TEST_F(PrintValesTest, DosValesPorPaginaConOriginalYCopiaLadoALado) {
    std::vector<std::string> avisos;
    impresion::TPRINT job("PDFPRINT", {.carpeta = "temp/", .avisar = [&](std::string_view a) {
                                           avisos.emplace_back(a);
                                       }});
    job.BeginDoc("Vale produccion");
    const vales::ResumenImpresion resumen =
        vales::imprimir_rango(job, *sesion.OSERVER, 990001, 990005);
    EXPECT_EQ(resumen.impresos, 3);
    EXPECT_EQ(resumen.omitidos, 2);
    EXPECT_EQ(resumen.primeros_omitidos, (std::vector<long>{990003, 990005}));

    const auto& paginas = job.documento().paginas;
    ASSERT_EQ(paginas.size(), 2u);
    // 32 header texts and 8 per item in each block.
    EXPECT_EQ(paginas[0].textos.size(), 80u);
    EXPECT_EQ(paginas[1].textos.size(), 40u);

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
    // 990004 (990003 does not exist): alone in the upper half of page 2.
    comprobar_bloque(paginas[1], 0,
                     {
                         {0, 0, 82, "(Original)", 6, false},
                         {1, 22, 57, "990004", 14, true},
                         {1, 24, 106, "Bodega: 6", 6, false},
                         {3, 21, 103, "Alta alúmina", 6, true},
                         {7.6, 26, 108, "José O'Ryan Díaz", 6, true},
                         {7.6, 47, 129, "Prensa hidráulica", 6, false},
                     });
    for (const TextoImpreso& t : paginas[1].textos) EXPECT_LT(t.fila, 33) << t.texto;
    EXPECT_TRUE(avisos.empty());
}

TEST_F(PrintValesTest, VariosItemsBajanSeisDecimasDeFila) {
    // Voucher 1000 of the demo data has three activities, in the server's order.
    impresion::TPRINT job("PDFPRINT");
    job.BeginDoc("Vale produccion");
    vales::imprimir_rango(job, *sesion.OSERVER, 1000, 1000);
    ASSERT_EQ(job.documento().paginas.size(), 1u);
    std::multiset<std::string> actividades;
    for (double fila : {7.6, 8.2, 8.8}) {
        const TextoImpreso* t = en(job.documento().paginas[0], fila, 0);
        ASSERT_NE(t, nullptr) << fila;
        actividades.insert(cp::ansi_to_utf8(rt::rtrim(t->texto)));
    }
    EXPECT_EQ(actividades, (std::multiset<std::string>{"Moldeo a mano", "Cocción en horno túnel",
                                                       "Empaque y paletizado"}));
    EXPECT_EQ(en(job.documento().paginas[0], 9.4, 0), nullptr);
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

    const auto texto = impresion::ejecutar({"pdftotext", "-layout", escritos[0], "-"}, 20);
    ASSERT_TRUE(texto.ok()) << texto.salida;
    for (const char* s : {"(Original)", "(Copia)", "990001", "990002",
                          "Folio Nº:", "Pedro Muñoz Soto", "Juan Francisco de la", "1.234,50"}) {
        EXPECT_NE(texto.salida.find(s), std::string::npos) << s << "\n" << texto.salida;
    }
    EXPECT_EQ(texto.salida.find("Juan Francisco de la Barra"), std::string::npos);
}

TEST_F(PrintValesTest, HtmlYRtfConLosTextosDelVale) {
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

TEST_F(PrintValesTest, RangoVacioOFolioInexistenteNoDejanDocumento) {
    // First folio after the last: nothing to print, the service says so.
    term.keys({kEnter});
    vales::PRINTVALE("PDFPRINT", 990002, 990001);
    EXPECT_TRUE(se_vio("El documento no tiene páginas"));
    EXPECT_FALSE(se_vio("No se imprimieron"));
    // A folio the server does not hold: the user is told, and no blank voucher is printed.
    term.keys({kEnter, kEnter});
    vales::PRINTVALE("PDFPRINT", 990003, 990003);
    EXPECT_TRUE(se_vio("No se imprimieron 1 vale(s) del rango"));
    EXPECT_TRUE(se_vio("Folios: 990003"));
    EXPECT_TRUE(nuevos().empty());
    EXPECT_TRUE(term.script_empty());
}

TEST_F(PrintValesTest, UnRangoEnormeSinValesNoRecorreCadaNumero) {
    impresion::TPRINT job("PDFPRINT");
    job.BeginDoc("Vale produccion");
    const auto resumen = vales::imprimir_rango(job, *sesion.OSERVER, 990002, 99999999);
    EXPECT_EQ(resumen.impresos, 2);  // 990002 and 990004
    EXPECT_EQ(resumen.omitidos, 99999999 - 990002 + 1 - 2);
    EXPECT_EQ(resumen.primeros_omitidos.front(), 990003);
}

TEST_F(PrintValesTest, SinServidorCupsLaImpresoraAvisaYNoSeCuelga) {
    setenv("CUPS_SERVER", "127.0.0.1:1", 1);
    term.keys({kEnter});
    vales::PRINTVALE("PRINTER", 990001, 990001);
    unsetenv("CUPS_SERVER");
    EXPECT_TRUE(se_vio("No hay impresoras disponibles")) << screen_dump();
    EXPECT_TRUE(term.script_empty());
    EXPECT_TRUE(nuevos().empty());
}

}  // namespace
