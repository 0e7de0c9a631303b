// The print service's document writers on a long print run: 1000 vouchers of 10 items
// each (500 Letter pages, two vouchers a page, every text twice), the time each format
// takes to build the file and the file's size, whole and per page. Then a print job that
// writes 10,000 pages to a PDF file page by page, with the process's peak memory before
// and after it (the job holds one page at a time).
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "impresion/documento.h"
#include "impresion/formatos.h"
#include "impresion/tprint.h"

namespace {

using impresion::Documento;
using impresion::Pagina;

void bloque(Pagina& p, double r, int folio) {
    auto ambas = [&](double fila, double col, std::string texto, double puntos = 6,
                     bool negrita = false) {
        p.textos.push_back({fila, col, texto, puntos, negrita});
        p.textos.push_back({fila, col + 82, texto, puntos, negrita});
    };
    ambas(r, 0, "(Original)");
    ambas(r + 1, 0, "Fecha   : 02/12/2026");
    ambas(r + 1, 24, "Bodega: 2");
    ambas(r + 1, 40, "Folio N\xBA:");
    ambas(r + 1, 22, std::to_string(folio), 14, true);
    ambas(r + 2, 0, "Producto:");
    ambas(r + 2, 10, "L01AA0110");
    ambas(r + 2, 21, "Ladrillo refractario 'S\xFAper' 230x114x65", 6, true);
    ambas(r + 3, 0, "F\xF3rmula:");
    ambas(r + 3, 10, "001");
    ambas(r + 3, 21, "Est\xE1ndar", 6, true);
    ambas(r + 4, 0, "Cantidad:");
    ambas(r + 4, 10, "  1.234,50", 6, true);
    ambas(r + 5, 0, std::string(78, '-'));
    ambas(r + 6, 0,
          "Actividad                 Operario             Especificaci\xF3n         Cantidad");
    ambas(r + 7, 0, std::string(78, '-'));
    for (int i = 0; i < 10; ++i) {
        const double fila = r + 7.6 + 0.6 * i;
        ambas(fila, 0, "Cocci\xF3n en horno t\xFAnel   ");
        ambas(fila, 26, "Pedro Mu\xF1oz Soto    ", 6, true);
        ambas(fila, 47, "Horno t\xFAnel         ");
        ambas(fila, 68, "    100,00");
    }
}

double segundos_desde(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

long memoria_maxima_kib() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss;
}

// A PDF print job of `paginas` pages through the print service, as the print run makes it.
void trabajo_largo(int paginas) {
    const long antes = memoria_maxima_kib();
    impresion::TPRINT job("PDFPRINT", {.carpeta = "temp/bench_impresion/"});
    job.SelPrinter(false, false, false, 1);
    const auto t = std::chrono::steady_clock::now();
    job.BeginDoc("Vale produccion");
    for (int i = 0; i < paginas; ++i) {
        Pagina p;
        bloque(p, 0, 2 * i + 1);
        bloque(p, 33, 2 * i + 2);
        job.BeginPage();
        for (const auto& texto : p.textos) {
            job.PrintData(texto.fila, texto.columna, texto.texto, {}, texto.puntos, texto.negrita);
        }
        job.EndPage();
    }
    job.EndDoc();
    const double s = segundos_desde(t);
    const auto bytes = std::filesystem::file_size(job.archivo());
    std::printf(
        "TPRINT %d paginas a archivo PDF: %.2f s, %.1f KiB (%.2f KiB/pagina), "
        "memoria maxima %ld -> %ld KiB\n",
        paginas, s, bytes / 1024.0, bytes / 1024.0 / paginas, antes, memoria_maxima_kib());
    std::filesystem::remove_all("temp/bench_impresion/");
}

}  // namespace

int main() {
    trabajo_largo(10000);
    constexpr int kVales = 1000;
    Documento doc{"Vale produccion", {}};
    for (int v = 0; v < kVales; ++v) {
        if (v % 2 == 0) doc.paginas.emplace_back();
        bloque(doc.paginas.back(), v % 2 ? 33 : 0, 990001 + v);
    }
    std::printf("%d vales, %zu paginas, %zu textos por pagina\n", kVales, doc.paginas.size(),
                doc.paginas.front().textos.size());
    struct Formato {
        const char* nombre;
        std::string (*escribir)(const Documento&);
    } formatos[] = {{"PDF", impresion::documento_pdf},
                    {"HTML", impresion::documento_html},
                    {"RTF", impresion::documento_rtf}};
    for (const Formato& f : formatos) {
        const auto t = std::chrono::steady_clock::now();
        const std::string bytes = f.escribir(doc);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
        std::printf("%-5s %8.1f ms  %8.1f KiB  %6.2f KiB/pagina\n", f.nombre, ms,
                    bytes.size() / 1024.0, bytes.size() / 1024.0 / doc.paginas.size());
    }
    return 0;
}
