#include "impresion/documento.h"

#include <sstream>

#include "impresion/formatos.h"

namespace impresion {

double y_mm(double fila) {
    return fila * 4.081632653061225 + 7.272727272727273;
}

double x_mm(double columna, double puntos) {
    return columna * puntos / 4.75 + 6.486486486486486;
}

double ancho_mm(std::size_t caracteres, double puntos) {
    return static_cast<double>(caracteres) * puntos / 4.75;
}

std::unique_ptr<SalidaDocumento> abrir_documento(Formato formato, const std::string& nombre,
                                                 std::ostream& out) {
    switch (formato) {
        case Formato::kHtml:
            return salida_html(nombre, out);
        case Formato::kRtf:
            return salida_rtf(nombre, out);
        case Formato::kPdf:
            break;
    }
    return salida_pdf(nombre, out);
}

std::string documento_en(Formato formato, const Documento& doc) {
    std::ostringstream out;
    const std::unique_ptr<SalidaDocumento> salida = abrir_documento(formato, doc.nombre, out);
    for (const Pagina& p : doc.paginas) salida->pagina(p);
    salida->terminar();
    return std::move(out).str();
}

std::string documento_pdf(const Documento& doc) {
    return documento_en(Formato::kPdf, doc);
}

std::string documento_html(const Documento& doc) {
    return documento_en(Formato::kHtml, doc);
}

std::string documento_rtf(const Documento& doc) {
    return documento_en(Formato::kRtf, doc);
}

}  // namespace impresion
