#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "impresion/formatos.h"

namespace impresion {
namespace {

constexpr double kPuntosPorMm = 72.0 / 25.4;
// From the top of a text's cell to its baseline, as a share of the font size.
constexpr double kAscenso = 0.8;

// Objects: 1 catalogue, 2 page tree, 3 and 4 fonts, 5 document information, then a page
// and its content stream for each page. The page tree lists every page, so it is written
// last; the catalogue can point to it before it exists.
constexpr int kCatalogo = 1, kArbol = 2, kFuente = 3, kFuenteNegrita = 4, kInfo = 5;
constexpr int kPrimeraPagina = 6;

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

// The content stream object: Flate-compressed (a page of text shrinks about ninefold), or
// as it is should zlib fail, which every reader accepts as well.
std::string flujo(const std::string& c) {
    uLongf largo = compressBound(static_cast<uLong>(c.size()));
    std::string z(largo, '\0');
    if (compress2(reinterpret_cast<Bytef*>(z.data()), &largo,
                  reinterpret_cast<const Bytef*>(c.data()), static_cast<uLong>(c.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK) {
        return "<< /Length " + std::to_string(c.size()) + " >>\nstream\n" + c + "\nendstream";
    }
    z.resize(largo);
    return "<< /Length " + std::to_string(z.size()) + " /Filter /FlateDecode >>\nstream\n" + z +
           "\nendstream";
}

class SalidaPdf : public SalidaDocumento {
  public:
    SalidaPdf(const std::string& nombre, std::ostream& out) : out_(out) {
        escribir("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
        objeto(kCatalogo, "<< /Type /Catalog /Pages 2 0 R >>");
        objeto(kFuente,
               "<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>");
        objeto(kFuenteNegrita,
               "<< /Type /Font /Subtype /Type1 /BaseFont /Courier-Bold /Encoding "
               "/WinAnsiEncoding >>");
        objeto(kInfo, "<< /Title " + literal(nombre) + " /Producer (vales) >>");
    }

    void pagina(const Pagina& p) override {
        const int n = kPrimeraPagina + 2 * paginas_++;
        objeto(n, "<< /Type /Page /Parent 2 0 R /MediaBox " + caja_ +
                      " /Resources << /Font << /F1 3 0 R /F2 4 0 R >> >> /Contents " +
                      std::to_string(n + 1) + " 0 R >>");
        objeto(n + 1, flujo(contenido(p)));
    }

    void terminar() override {
        std::string hijos;
        for (int i = 0; i < paginas_; ++i)
            hijos += std::to_string(kPrimeraPagina + 2 * i) + " 0 R ";
        objeto(kArbol,
               "<< /Type /Pages /Kids [" + hijos + "] /Count " + std::to_string(paginas_) + " >>");
        const std::size_t xref = escritos_;
        const std::size_t n = offsets_.size();
        escribir("xref\n0 " + std::to_string(n) + "\n0000000000 65535 f \n");
        for (std::size_t i = 1; i < n; ++i) {
            char buf[24];
            std::snprintf(buf, sizeof buf, "%010zu 00000 n \n", offsets_[i]);
            escribir(buf);
        }
        escribir("trailer\n<< /Size " + std::to_string(n) + " /Root " + std::to_string(kCatalogo) +
                 " 0 R /Info " + std::to_string(kInfo) + " 0 R >>\nstartxref\n" +
                 std::to_string(xref) + "\n%%EOF\n");
        out_.flush();
    }

  private:
    void escribir(const std::string& s) {
        out_.write(s.data(), static_cast<std::streamsize>(s.size()));
        escritos_ += s.size();
    }
    void objeto(int numero_objeto, const std::string& cuerpo) {
        const auto i = static_cast<std::size_t>(numero_objeto);
        if (offsets_.size() <= i) offsets_.resize(i + 1, 0);
        offsets_[i] = escritos_;
        escribir(std::to_string(numero_objeto) + " 0 obj\n" + cuerpo + "\nendobj\n");
    }

    std::ostream& out_;
    std::size_t escritos_ = 0;          // bytes written so far: where the next object starts
    std::vector<std::size_t> offsets_;  // by object number; [0] unused
    int paginas_ = 0;
    const std::string caja_ = "[0 0 " + numero(kAnchoPaginaMm * kPuntosPorMm) + " " +
                              numero(kAltoPaginaMm * kPuntosPorMm) + "]";
};

}  // namespace

std::unique_ptr<SalidaDocumento> salida_pdf(const std::string& nombre, std::ostream& out) {
    return std::make_unique<SalidaPdf>(nombre, out);
}

}  // namespace impresion
