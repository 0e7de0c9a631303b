#pragma once
// The document formats a print job can write: each gives the whole file's bytes, with
// every text at the place the shared geometry gives it (vales/impresion/documento.h).
//   PDF : the standard Courier faces with the Windows-1252 encoding (texts go in as they
//         are held), Letter pages, nothing embedded.
//   HTML: one absolutely positioned block per page, UTF-8, printable from a browser.
//   RTF : one positioned frame per text, Windows-1252, Letter pages without margins.
#include <string>

#include "vales/impresion/documento.h"

namespace impresion {

std::string documento_pdf(const Documento& doc);
std::string documento_html(const Documento& doc);
std::string documento_rtf(const Documento& doc);

}  // namespace impresion
