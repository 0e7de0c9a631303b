// The print service's page model and the documents it writes, read back with the tools a
// user would open them with (pdftotext/pdfinfo for PDF) or as the text they are.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <zlib.h>

#include "impresion/comandos.h"
#include "impresion/documento.h"
#include "impresion/formatos.h"
#include "runtime/common/codepage.h"

namespace {

using impresion::Documento;
using impresion::TextoImpreso;

namespace fs = std::filesystem;

// Two pages: texts with the characters each format must escape and accented letters.
Documento muestra() {
    Documento d;
    d.nombre = "Vale produccion";
    d.paginas.push_back({{
        {0, 0, "(Original)", 6, false},
        {0, 82, "(Copia)", 6, false},
        {1, 40, "Folio Nº:"_ansi, 6, false},
        {1, 22, "1000", 14, true},
        {3, 0, "Fórmula:"_ansi, 6, false},
        {4, 10, "a\\b{c}<d>&e\"f", 6, true},
    }});
    d.paginas.push_back({{{33, 0, "Segunda página"_ansi, 6, false}}});
    return d;
}

std::string escribir(const std::string& bytes, const std::string& nombre) {
    fs::create_directories("temp");
    const std::string ruta = "temp/" + nombre;
    std::ofstream(ruta, std::ios::binary) << bytes;
    return ruta;
}

TEST(GeometriaImpresion, ColumnasDependenDelTamanoYFilasSonFijas) {
    struct Caso {
        double fila, columna, puntos, x, y;
    } casos[] = {
        {0, 0, 6, 6.4865, 7.2727},       {1, 40, 6, 57.0128, 11.3544},  // the label "Folio Nº:"
        {1, 22, 14, 71.3286, 11.3544},  // the folio number: right of the label
        {33, 82, 6, 110.0654, 141.9666}, {7.6, 150, 6, 195.9601, 38.2925},
    };
    for (const Caso& c : casos) {
        EXPECT_NEAR(impresion::x_mm(c.columna, c.puntos), c.x, 1e-3) << c.columna;
        EXPECT_NEAR(impresion::y_mm(c.fila), c.y, 1e-3) << c.fila;
    }
    // The right copy's last column ends inside a Letter page.
    EXPECT_LT(impresion::x_mm(150, 6) + impresion::ancho_mm(10, 6), impresion::kAnchoPaginaMm);
}

TEST(DocumentoPdf, SeLeeConPopplerConSusTextosYPaginas) {
    const std::string ruta = escribir(impresion::documento_pdf(muestra()), "formato_prueba.pdf");
    const auto info = impresion::ejecutar_comando({"pdfinfo", ruta}, 20);
    ASSERT_TRUE(info.ok()) << info.salida;
    const auto paginas = info.salida.find("Pages:");
    ASSERT_NE(paginas, std::string::npos) << info.salida;
    EXPECT_EQ(info.salida.substr(info.salida.find_first_not_of(' ', paginas + 6), 2), "2\n");
    EXPECT_NE(info.salida.find("Vale produccion"), std::string::npos);
    EXPECT_NE(info.salida.find("612 x 792 pts (letter)"), std::string::npos) << info.salida;

    const auto texto = impresion::ejecutar_comando({"pdftotext", "-layout", ruta, "-"}, 20);
    ASSERT_TRUE(texto.ok()) << texto.salida;
    for (const char* esperado : {"(Original)", "(Copia)", "Folio Nº:", "1000",
                                 "Fórmula:", "a\\b{c}<d>&e\"f", "Segunda página"}) {
        EXPECT_NE(texto.salida.find(esperado), std::string::npos) << esperado << "\n"
                                                                  << texto.salida;
    }
    // The second page starts after a form feed.
    const auto salto = texto.salida.find('\f');
    ASSERT_NE(salto, std::string::npos);
    EXPECT_GT(texto.salida.find("Segunda"), salto);
    fs::remove(ruta);
}

// The content streams of a PDF, inflated.
std::vector<std::string> contenidos_pdf(const std::string& pdf) {
    std::vector<std::string> out;
    for (auto p = pdf.find("/Filter /FlateDecode >>\nstream\n"); p != std::string::npos;
         p = pdf.find("/Filter /FlateDecode >>\nstream\n", p + 1)) {
        const auto inicio = pdf.find("stream\n", p) + 7;
        const auto fin = pdf.find("\nendstream", inicio);
        const std::string z = pdf.substr(inicio, fin - inicio);
        std::string texto(64 * 1024, '\0');
        uLongf largo = texto.size();
        EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(texto.data()), &largo,
                             reinterpret_cast<const Bytef*>(z.data()), z.size()),
                  Z_OK);
        texto.resize(largo);
        out.push_back(texto);
    }
    return out;
}

TEST(DocumentoPdf, ElContenidoDeCadaPaginaVaComprimido) {
    const std::string pdf = impresion::documento_pdf(muestra());
    // No drawing operator is left in the clear.
    EXPECT_EQ(pdf.find(" Tj"), std::string::npos);
    const auto contenidos = contenidos_pdf(pdf);
    ASSERT_EQ(contenidos.size(), 2u);
    EXPECT_EQ(contenidos[0],
              "BT /F1 6.00 Tf 1 0 0 1 18.39 766.58 Tm (\\(Original\\)) Tj ET\n"
              "BT /F1 6.00 Tf 1 0 0 1 312.00 766.58 Tm (\\(Copia\\)) Tj ET\n"
              "BT /F1 6.00 Tf 1 0 0 1 161.61 755.01 Tm (Folio N\\272:) Tj ET\n"
              "BT /F2 14.00 Tf 1 0 0 1 202.19 748.61 Tm (1000) Tj ET\n"
              "BT /F1 6.00 Tf 1 0 0 1 18.39 731.87 Tm (F\\363rmula:) Tj ET\n"
              "BT /F2 6.00 Tf 1 0 0 1 54.19 720.30 Tm (a\\\\b{c}<d>&e\"f) Tj ET\n");
    EXPECT_NE(contenidos[1].find("(Segunda p\\341gina) Tj"), std::string::npos) << contenidos[1];
}

TEST(DocumentoPdf, SinPaginasSigueSiendoUnArchivoBienFormado) {
    const std::string pdf = impresion::documento_pdf(Documento{"Vacio", {}});
    EXPECT_NE(pdf.find("/Count 0"), std::string::npos);
    EXPECT_EQ(pdf.substr(pdf.size() - 6), "%%EOF\n");
}

TEST(DocumentoHtml, CadaTextoEnSuLugarYEscapado) {
    const std::string html = impresion::documento_html(muestra());
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(html.find("<title>Vale produccion</title>"), std::string::npos);
    for (const char* esperado :
         {"<span style=\"left:6.49mm;top:7.27mm;font-size:6pt\">(Original)</span>",
          "<span style=\"left:110.07mm;top:7.27mm;font-size:6pt\">(Copia)</span>",
          "<span class=\"b\" style=\"left:71.33mm;top:11.35mm;font-size:14pt\">1000</span>",
          "<span style=\"left:57.01mm;top:11.35mm;font-size:6pt\">Folio Nº:</span>",
          ">a\\b{c}&lt;d&gt;&amp;e&quot;f</span>", "Fórmula:", "Segunda página"}) {
        EXPECT_NE(html.find(esperado), std::string::npos) << esperado;
    }
    // One block per page.
    std::size_t paginas = 0;
    for (auto p = html.find("class=\"pagina\""); p != std::string::npos;
         p = html.find("class=\"pagina\"", p + 1)) {
        ++paginas;
    }
    EXPECT_EQ(paginas, 2u);
}

TEST(DocumentoRtf, MarcosPosicionadosEnLaPaginaCarta) {
    const std::string rtf = impresion::documento_rtf(muestra());
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252", 0), 0u);
    EXPECT_NE(rtf.find("\\paperw12240\\paperh15840"), std::string::npos);
    for (const char* esperado : {
             "\\pvpg\\phpg\\posx368\\posy412\\absw",  // row 0, column 0
             "\\fs12 (Original)\\par}",
             "\\posx4044\\posy644\\absw",  // the folio: column 22 in 14 points, row 1
             "\\fs28\\b 1000\\par}",
             "F\\'f3rmula:",
             "Folio N\\'ba:",
             "a\\\\b\\{c\\}<d>&e\"f",
             "Segunda p\\'e1gina",
         }) {
        EXPECT_NE(rtf.find(esperado), std::string::npos) << esperado << "\n" << rtf;
    }
    // The pages are separated by exactly one page break, and the braces balance.
    EXPECT_EQ(rtf.find("\\page"), rtf.rfind("\\page"));
    int nivel = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
        } else if (rtf[i] == '{') {
            ++nivel;
        } else if (rtf[i] == '}') {
            --nivel;
            ASSERT_GE(nivel, 0);
        }
    }
    EXPECT_EQ(nivel, 0);
}

TEST(ComandosExternos, UnProgramaQueNoTerminaSeCortaAlLimite) {
    const auto r = impresion::ejecutar_comando({"sleep", "30"}, 0.3);
    EXPECT_TRUE(r.vencido);
    EXPECT_FALSE(r.ok());
    const auto falta = impresion::ejecutar_comando({"programa-que-no-existe-en-el-path"}, 5);
    EXPECT_FALSE(falta.encontrado);
    const auto eco =
        impresion::ejecutar_comando({"sh", "-c", "echo salida; echo error >&2; exit 3"}, 5);
    EXPECT_TRUE(eco.encontrado);
    EXPECT_EQ(eco.estado, 3);
    EXPECT_NE(eco.salida.find("salida"), std::string::npos);
    EXPECT_NE(eco.salida.find("error"), std::string::npos);
}

}  // namespace
