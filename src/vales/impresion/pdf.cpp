#include <cstdio>
#include <string>
#include <vector>

#include "vales/impresion/formatos.h"

namespace impresion {
namespace {

constexpr double kPuntosPorMm = 72.0 / 25.4;
// From the top of a text's cell to its baseline, as a share of the font size.
constexpr double kAscenso = 0.8;

std::string numero(double n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", n);
    return buf;
}

// A PDF literal string: the bytes as they are (the fonts use the Windows-1252 encoding),
// with delimiters escaped and anything outside printable ASCII written in octal.
std::string literal(const std::string& texto) {
    std::string out = "(";
    for (unsigned char ch : texto) {
        if (ch == '(' || ch == ')' || ch == '\\') {
            out += '\\';
            out += static_cast<char>(ch);
        } else if (ch < 32 || ch > 126) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\%03o", ch);
            out += buf;
        } else {
            out += static_cast<char>(ch);
        }
    }
    return out + ")";
}

std::string contenido(const Pagina& pagina) {
    std::string s;
    for (const TextoImpreso& t : pagina.textos) {
        const double x = x_mm(t.columna, t.puntos) * kPuntosPorMm;
        const double y =
            kAltoPaginaMm * kPuntosPorMm - y_mm(t.fila) * kPuntosPorMm - t.puntos * kAscenso;
        s += "BT /" + std::string(t.negrita ? "F2 " : "F1 ") + numero(t.puntos) + " Tf 1 0 0 1 " +
             numero(x) + " " + numero(y) + " Tm " + literal(t.texto) + " Tj ET\n";
    }
    return s;
}

class EscritorPdf {
  public:
    // Starts object n (objects are numbered in the order they are written).
    void objeto(const std::string& cuerpo) {
        offsets_.push_back(out_.size());
        out_ += std::to_string(offsets_.size()) + " 0 obj\n" + cuerpo + "\nendobj\n";
    }
    std::string terminar(int raiz, int info) {
        const std::size_t xref = out_.size();
        const std::size_t n = offsets_.size() + 1;
        out_ += "xref\n0 " + std::to_string(n) + "\n0000000000 65535 f \n";
        for (std::size_t off : offsets_) {
            char buf[24];
            std::snprintf(buf, sizeof buf, "%010zu 00000 n \n", off);
            out_ += buf;
        }
        out_ += "trailer\n<< /Size " + std::to_string(n) + " /Root " + std::to_string(raiz) +
                " 0 R /Info " + std::to_string(info) + " 0 R >>\nstartxref\n" +
                std::to_string(xref) + "\n%%EOF\n";
        return std::move(out_);
    }

  private:
    std::string out_ = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets_;
};

}  // namespace

std::string documento_pdf(const Documento& doc) {
    // Objects: 1 catalogue, 2 page tree, 3 and 4 fonts, 5 document information, then a
    // page and its content stream for each page.
    const int n = static_cast<int>(doc.paginas.size());
    std::string hijos;
    for (int i = 0; i < n; ++i) hijos += std::to_string(6 + 2 * i) + " 0 R ";
    EscritorPdf w;
    w.objeto("<< /Type /Catalog /Pages 2 0 R >>");
    w.objeto("<< /Type /Pages /Kids [" + hijos + "] /Count " + std::to_string(n) + " >>");
    w.objeto("<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>");
    w.objeto(
        "<< /Type /Font /Subtype /Type1 /BaseFont /Courier-Bold /Encoding /WinAnsiEncoding >>");
    w.objeto("<< /Title " + literal(doc.nombre) + " /Producer (vales) >>");
    const std::string caja = "[0 0 " + numero(kAnchoPaginaMm * kPuntosPorMm) + " " +
                             numero(kAltoPaginaMm * kPuntosPorMm) + "]";
    for (int i = 0; i < n; ++i) {
        w.objeto("<< /Type /Page /Parent 2 0 R /MediaBox " + caja +
                 " /Resources << /Font << /F1 3 0 R /F2 4 0 R >> >> /Contents " +
                 std::to_string(7 + 2 * i) + " 0 R >>");
        const std::string c = contenido(doc.paginas[static_cast<std::size_t>(i)]);
        w.objeto("<< /Length " + std::to_string(c.size()) + " >>\nstream\n" + c + "\nendstream");
    }
    return w.terminar(1, 5);
}

}  // namespace impresion
