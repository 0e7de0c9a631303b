#include <cmath>
#include <cstdio>
#include <string>

#include "impresion/formatos.h"

namespace impresion {
namespace {

long twips(double mm) {
    return std::lround(mm * 1440.0 / 25.4);
}

// RTF text: Windows-1252 bytes above ASCII as \'hh, the three special characters escaped,
// control bytes dropped.
std::string escapar(const std::string& ansi) {
    std::string out;
    for (unsigned char ch : ansi) {
        if (ch == '\\' || ch == '{' || ch == '}') {
            out += '\\';
            out += static_cast<char>(ch);
        } else if (ch >= 128) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\'%02x", ch);
            out += buf;
        } else if (ch >= 32) {
            out += static_cast<char>(ch);
        }
    }
    return out;
}

class SalidaRtf : public SalidaDocumento {
  public:
    SalidaRtf(const std::string& nombre, std::ostream& out) : out_(out) {
        out_ << "{\\rtf1\\ansi\\ansicpg1252\\deff0\n"
                "{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier New;}}\n"
                "{\\info{\\title "
             << escapar(nombre) << "}}\n\\paperw" << twips(kAnchoPaginaMm) << "\\paperh"
             << twips(kAltoPaginaMm) << "\\margl0\\margr0\\margt0\\margb0\n";
    }

    // Each text is a frame placed from the page's corner; a plain paragraph after a page's
    // frames anchors them, and breaks to the next page when another one follows.
    void pagina(const Pagina& p) override {
        std::string s = paginas_++ > 0 ? "\\pard\\plain\\fs2\\page\n" : "";
        for (const TextoImpreso& t : p.textos) {
            const long ancho = twips(ancho_mm(t.texto.size() + 2, t.puntos));
            s += "{\\pard\\plain\\pvpg\\phpg\\posx" +
                 std::to_string(twips(x_mm(t.columna, t.puntos))) + "\\posy" +
                 std::to_string(twips(y_mm(t.fila))) + "\\absw" + std::to_string(ancho) +
                 "\\f0\\fs" + std::to_string(std::lround(t.puntos * 2)) + (t.negrita ? "\\b" : "") +
                 " " + escapar(t.texto) + "\\par}\n";
        }
        out_ << s;
    }

    void terminar() override {
        if (paginas_ > 0) out_ << "\\pard\\plain\\fs2\\par\n";
        out_ << "}\n" << std::flush;
    }

  private:
    std::ostream& out_;
    int paginas_ = 0;
};

}  // namespace

std::unique_ptr<SalidaDocumento> salida_rtf(const std::string& nombre, std::ostream& out) {
    return std::make_unique<SalidaRtf>(nombre, out);
}

}  // namespace impresion
