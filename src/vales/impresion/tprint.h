#pragma once
// The print service: a print job for one destination that collects pages of texts placed
// at row/column positions and, when the document ends, sends them to a CUPS printer or
// writes them as a PDF, HTML or RTF file under the temp folder and opens that file with
// the desktop's program for it (or tells the user where it is).
//
//   impresion::TPRINT job("PDFPRINT");
//   job.Init();
//   job.SelPrinter(true, false, false, 1);
//   if (!job.lPrError()) {
//       job.BeginDoc("Vale produccion");
//       job.BeginPage();
//       job.SetCpl(160);
//       job.PrintData(1, 22, 1000.0, {}, 14, true);
//       job.EndPage();
//       job.EndDoc();
//   }
//   job.Release();
//
// The service's own messages (no printer, a file that cannot be written, where a document
// was left) go through `avisar`, an alert box unless the caller gives another.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "vales/impresion/documento.h"

namespace impresion {

inline constexpr std::string_view kImpresora = "PRINTER";
inline constexpr std::string_view kPdf = "PDFPRINT";
inline constexpr std::string_view kHtml = "HTMLPRINT";
inline constexpr std::string_view kRtf = "RTFPRINT";

struct OpcionesImpresion {
    std::string carpeta = "temp/";                 // where documents are written
    std::function<void(std::string_view)> avisar;  // program text (Windows-1252)
    double limite_cups = 15;                       // seconds a CUPS command may take
};

class TPRINT {
  public:
    explicit TPRINT(std::string_view destino, OpcionesImpresion opciones = {});

    // On the printer destination: reads the installed printers from CUPS.
    void Init();
    // Chooses where the job goes: on the printer destination a pick list of printers
    // (with `dialogo`; otherwise the default printer), on the file destinations a check
    // that the folder can be written. Sets the error flag when nothing can be printed or
    // the user cancelled. Preview, orientation and paper are fixed: no preview, portrait,
    // Letter.
    void SelPrinter(bool dialogo, bool vista_previa, bool apaisado, int papel);
    bool lPrError() const { return error_; }
    void SetPreviewSize(double) {}
    void BeginDoc(std::string_view nombre);
    void BeginPage();
    // Characters per line: sets the default size so that that many fit a line (160 -> 6
    // points).
    void SetCpl(int caracteres);
    // A size of 0 means the default. The font name is accepted for the callers' sake: the
    // face is always the service's fixed-pitch one.
    void PrintData(double fila, double columna, std::string_view texto,
                   std::string_view fuente = {}, double puntos = 0, bool negrita = false);
    // A number prints as its decimal digits without blanks.
    void PrintData(double fila, double columna, double numero, std::string_view fuente = {},
                   double puntos = 0, bool negrita = false);
    void EndPage();
    // Ends the document: writes the file (and opens it) or sends it to the printer.
    void EndDoc();
    void Release();

    const std::string& destino() const { return destino_; }
    const Documento& documento() const { return doc_; }
    // The file EndDoc wrote on a file destination ("" when none).
    const std::string& archivo() const { return archivo_; }
    const std::vector<std::string>& impresoras() const { return impresoras_; }
    const std::string& impresora() const { return impresora_; }

  private:
    void avisar(std::string_view texto) const;
    std::string nombre_de_archivo(std::string_view extension) const;
    void enviar_a_impresora();
    void escribir_archivo();

    std::string destino_;
    OpcionesImpresion opciones_;
    bool error_ = false;
    bool iniciado_ = false;
    std::string aviso_cups_;  // why no printer could be listed
    std::vector<std::string> impresoras_;
    std::string impresora_;
    std::string impresora_por_omision_;
    Documento doc_;
    bool pagina_abierta_ = false;
    double puntos_ = 12;  // 80 characters per line until SetCpl
    std::string archivo_;
};

}  // namespace impresion
