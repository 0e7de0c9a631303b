#include <cstdio>
#include <string>

#include "impresion/formatos.h"
#include "runtime/common/codepage.h"

namespace impresion {
namespace {

std::string mm(double n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2fmm", n);
    return buf;
}

std::string escapar(const std::string& ansi) {
    std::string out;
    for (char ch : cp::ansi_to_utf8(ansi)) {
        switch (ch) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += ch;
        }
    }
    return out;
}

const char* const kEstilo =
    "body{margin:0;background:#999}\n"
    ".pagina{position:relative;width:215.9mm;height:279.4mm;margin:0 auto 6mm;"
    "background:#fff;overflow:hidden;page-break-after:always}\n"
    ".pagina span{position:absolute;white-space:pre;line-height:1;"
    "font-family:\"Courier New\",Courier,monospace}\n"
    ".pagina span.b{font-weight:bold}\n"
    "@page{size:letter portrait;margin:0}\n"
    "@media print{body{background:#fff}.pagina{margin:0}}\n";

class SalidaHtml : public SalidaDocumento {
  public:
    SalidaHtml(const std::string& nombre, std::ostream& out) : out_(out) {
        out_ << "<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\">\n<title>"
             << escapar(nombre) << "</title>\n<style>\n"
             << kEstilo << "</style>\n</head>\n<body>\n";
    }

    void pagina(const Pagina& p) override {
        std::string s = "<div class=\"pagina\">\n";
        for (const TextoImpreso& t : p.textos) {
            char size[32];
            std::snprintf(size, sizeof size, "%gpt", t.puntos);
            s += std::string("<span") + (t.negrita ? " class=\"b\"" : "") +
                 " style=\"left:" + mm(x_mm(t.columna, t.puntos)) + ";top:" + mm(y_mm(t.fila)) +
                 ";font-size:" + size + "\">" + escapar(t.texto) + "</span>\n";
        }
        out_ << s << "</div>\n";
    }

    void terminar() override { out_ << "</body>\n</html>\n" << std::flush; }

  private:
    std::ostream& out_;
};

}  // namespace

std::unique_ptr<SalidaDocumento> salida_html(const std::string& nombre, std::ostream& out) {
    return std::make_unique<SalidaHtml>(nombre, out);
}

}  // namespace impresion
