// Printing through a real CUPS server: the private daemon of the test run (fixture "cups",
// scripts/cups-start.sh) with the queues Prueba, its default, and Oficina, each writing the
// PDF it receives to a file. The printers are chosen in the program's own dialogs.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "impresion/comandos.h"
#include "vales/impresion_fixture.h"
#include "vales/imprimir/print_vales.h"

namespace {

namespace fs = std::filesystem;
using rt::key::kEnter;
using rt::key::kEsc;
using rt::key::kUp;

std::string leer_linea(const std::string& ruta) {
    std::ifstream in(ruta);
    std::string linea;
    std::getline(in, linea);
    return linea;
}

class ImprimirEnCupsTest : public testing_support::ImpresionTest {
  protected:
    void SetUp() override {
        const std::string estado = VALES_TEST_CUPS_DIR;
        direccion_ = leer_linea(estado + "/address");
        if (direccion_.empty()) {
            const std::string motivo = leer_linea(estado + "/motivo");
            if (!motivo.empty()) GTEST_SKIP() << "no hay servidor CUPS de prueba: " << motivo;
            FAIL() << "no hay servidor CUPS de prueba: ejecute las pruebas con ctest (fixture "
                      "\"cups\", scripts/cups-start.sh "
                   << estado << ")";
        }
        salida_ = leer_linea(estado + "/dir") + "/salida/";
        setenv("CUPS_SERVER", direccion_.c_str(), 1);
    }
    void TearDown() override { unsetenv("CUPS_SERVER"); }

    // The jobs the server has taken so far, finished or not.
    int trabajos() const {
        const auto r =
            impresion::ejecutar_comando({"lpstat", "-h", direccion_, "-W", "all", "-o"}, 20);
        EXPECT_TRUE(r.ok()) << r.salida;
        int n = 0;
        for (char ch : r.salida) n += ch == '\n';
        return n;
    }

    // The PDF the queue wrote, once the whole of it is there ("" after 30 s without it).
    std::string recibido(const std::string& cola) const {
        const std::string ruta = salida_ + cola + ".pdf";
        const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < fin) {
            const std::string pdf = leer(ruta);
            if (pdf.size() > 6 && pdf.compare(pdf.size() - 6, 6, "%%EOF\n") == 0) return ruta;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return {};
    }

    std::string direccion_;
    std::string salida_;
};

// What a queue receives for the folios 990002 to 990004, as poppler reads it on a grid of
// 6-point characters (pdftotext -fixed 3.6), page by page: 990002 and the blank block of
// 990003, which the server does not hold, on the first page; 990004 on the second. The
// 14-point folio numbers take lines of their own, and push the bold descriptions of the
// right-hand copy onto the lines after them.
const char* const kPaginasRecibidas[] = {
    R"(     (Original)                                                                        (Copia)
     Fecha   : 03/12/2026    Bodega: 1       Folio Nº:                                 Fecha   : 03/12/2026    Bodega: 1      Folio Nº:
     Producto: M02BB0220
                                                        990002
                          Mortero refractario fraguado al aire                         Producto: M02BB0220  Mortero refractario fraguado
                                                                                                                                         990002
                                                                                                                                         al aire
     Fórmula:  001        Saco 25 kg                                                   Fórmula:  001        Saco 25 kg
     Cantidad:      25,00                                                              Cantidad:      25,00
     ------------------------------------------------------------------------------    ------------------------------------------------------------------------------
     Actividad                 Operario             Especificación         Cantidad    Actividad                 Operario             Especificación         Cantidad
     ------------------------------------------------------------------------------    ------------------------------------------------------------------------------
     Rectificado de aristas y  Juan Francisco de la Acabado fino de prec      25,00    Rectificado de aristas y  Juan Francisco de la Acabado fino de prec      25,00




     (Original)                                                                        (Copia)
     Fecha   :   /  /        Bodega: 0       Folio Nº:                                 Fecha   :   /  /        Bodega: 0      Folio Nº:
     Producto:
                                                        0                              Producto:
                                                                                                                                         0
     Fórmula:                                                                          Fórmula:
     Cantidad:       0,00                                                              Cantidad:       0,00
     ------------------------------------------------------------------------------    ------------------------------------------------------------------------------
     Actividad                 Operario             Especificación         Cantidad    Actividad                 Operario             Especificación         Cantidad
     ------------------------------------------------------------------------------    ------------------------------------------------------------------------------
)",
    R"(     (Original)                                                                        (Copia)
     Fecha   : 04/12/2026    Bodega: 6       Folio Nº:                                 Fecha   : 04/12/2026    Bodega: 6      Folio Nº:
     Producto: L01AA0110
                                                        990004
                          Ladrillo refractario 'Súper' 230x114x65                      Producto: L01AA0110  Ladrillo refractario 'Súper'
                                                                                                                                         990004
                                                                                                                                         230x114x65
     Fórmula:  002        Alta alúmina                                                 Fórmula:  002        Alta alúmina
     Cantidad:      10,00                                                              Cantidad:      10,00
     ------------------------------------------------------------------------------    ------------------------------------------------------------------------------
     Actividad                 Operario             Especificación         Cantidad    Actividad                 Operario             Especificación         Cantidad
     ------------------------------------------------------------------------------    ------------------------------------------------------------------------------
     Prensado                  José O'Ryan Díaz     Prensa hidráulica         10,00    Prensado                  José O'Ryan Díaz     Prensa hidráulica         10,00
)",
};

// The first screen that shows the printer chooser.
const rt::VirtualBackend::Snapshot* selector(const rt::VirtualBackend& term) {
    for (const auto& s : term.snapshots()) {
        for (int r = 0; r < rt::kRows; ++r) {
            if (testing_support::grid_row_text(s.grid, r).find("Seleccione impresora") !=
                std::string::npos) {
                return &s;
            }
        }
    }
    return nullptr;
}

TEST_F(ImprimirEnCupsTest, ElDialogoListaLasImpresorasYElValeSalePorLaElegida) {
    struct Caso {
        const char* nombre;
        std::vector<int> teclas;  // in the printer chooser
        const char* cola;         // the queue that gets the job; nullptr: none
    } casos[] = {
        {"Esc no imprime ni avisa", {kEsc}, nullptr},
        {"Enter: la impresora por omision", {kEnter}, "prueba"},
        {"una arriba: Oficina", {kUp, kEnter}, "oficina"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        fs::remove(salida_ + "prueba.pdf");
        fs::remove(salida_ + "oficina.pdf");
        const int antes = trabajos();
        term.keys({kEnter});  // "Impresora" is chosen first: Print
        for (int k : c.teclas) term.keys({k});
        vales::PRINT_VALE(vales::PRINTVALE, 990002, 990004);
        EXPECT_TRUE(term.script_empty());

        // Both printers are offered, in CUPS's order, the server's default one highlighted.
        const auto* s = selector(term);
        ASSERT_NE(s, nullptr) << screen_dump();
        EXPECT_EQ(testing_support::grid_row_text(s->grid, 10, 30, 41),
                  std::string("Oficina") + std::string(34, ' '));
        EXPECT_EQ(testing_support::grid_row_text(s->grid, 11, 30, 41),
                  std::string("Prueba") + std::string(35, ' '));
        EXPECT_NE(s->grid[11][30].attr, s->grid[10][30].attr);

        EXPECT_EQ(trabajos(), antes + (c.cola ? 1 : 0));
        if (!c.cola) {
            EXPECT_FALSE(fs::exists(salida_ + "prueba.pdf"));
            EXPECT_FALSE(fs::exists(salida_ + "oficina.pdf"));
            continue;
        }
        const std::string pdf = recibido(c.cola);
        ASSERT_FALSE(pdf.empty()) << "la cola " << c.cola << " no escribió el trabajo";
        const auto texto =
            impresion::ejecutar_comando({"pdftotext", "-fixed", "3.6", pdf, "-"}, 20);
        ASSERT_TRUE(texto.ok()) << texto.salida;
        std::vector<std::string> paginas;
        std::istringstream in(texto.salida);
        for (std::string pagina; std::getline(in, pagina, '\f');) paginas.push_back(pagina);
        ASSERT_EQ(paginas.size(), std::size(kPaginasRecibidas));
        for (std::size_t i = 0; i < paginas.size(); ++i) {
            EXPECT_EQ(paginas[i], kPaginasRecibidas[i]) << "pagina " << i + 1;
        }
        // Nothing is left behind in temp/: the job's file went to the server.
        EXPECT_TRUE(nuevos().empty());
    }
}

}  // namespace
