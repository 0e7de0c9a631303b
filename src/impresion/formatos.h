#pragma once
// The document formats a print job can write, each with every text at the place the shared
// geometry gives it (vales/impresion/documento.h).
//   PDF : the standard Courier faces with the Windows-1252 encoding (texts go in as they
//         are held), Letter pages, nothing embedded, page contents Flate-compressed.
//   HTML: one absolutely positioned block per page, UTF-8, printable from a browser.
//   RTF : one positioned frame per text, Windows-1252, Letter pages without margins.
//
// A document is written page by page to a stream, so a long print run is never held whole
// in memory:
//
//   std::ofstream out(path, std::ios::binary);
//   auto doc = impresion::abrir_documento(impresion::Formato::kPdf, "Vale produccion", out);
//   doc->pagina(page);  // as often as there are pages
//   doc->terminar();    // then check `out`
#include <memory>
#include <ostream>
#include <string>

#include "impresion/documento.h"

namespace impresion {

enum class Formato { kPdf, kHtml, kRtf };

class SalidaDocumento {
  public:
    virtual ~SalidaDocumento() = default;
    // Appends one page.
    virtual void pagina(const Pagina& p) = 0;
    // Writes what closes the document; no page may follow.
    virtual void terminar() = 0;
};

// Writes the beginning of the document at once; the stream must outlive the result.
std::unique_ptr<SalidaDocumento> abrir_documento(Formato formato, const std::string& nombre,
                                                 std::ostream& out);

// The whole file of a document held in memory.
std::string documento_en(Formato formato, const Documento& doc);
std::string documento_pdf(const Documento& doc);
std::string documento_html(const Documento& doc);
std::string documento_rtf(const Documento& doc);

// Each writer's own constructor (abrir_documento chooses among them).
std::unique_ptr<SalidaDocumento> salida_pdf(const std::string& nombre, std::ostream& out);
std::unique_ptr<SalidaDocumento> salida_html(const std::string& nombre, std::ostream& out);
std::unique_ptr<SalidaDocumento> salida_rtf(const std::string& nombre, std::ostream& out);

}  // namespace impresion
