#pragma once
// The print service: a print job for one destination that lays out pages of texts placed at
// row/column positions and, when the document ends, sends them to a CUPS printer or leaves
// them as a PDF, HTML or RTF file in the documents folder, opened with the desktop's program
// for it (or tells the user where it is).
//
//   impresion::TPRINT job("PDFPRINT", opciones);
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
// Each page is written out when it ends, so a run of any length holds one page in memory.
// The document grows in a work file beside its destination and takes its own name only
// when it is complete; a job released before EndDoc, or one that could not be written,
// leaves no file behind.
//
// The service draws nothing itself: its messages, the printer chooser and the clock are the
// caller's (OpcionesImpresion), so it stands on no screen library.
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "impresion/documento.h"
#include "impresion/formatos.h"

namespace impresion {

inline constexpr std::string_view kImpresora = "PRINTER";
inline constexpr std::string_view kPdf = "PDFPRINT";
inline constexpr std::string_view kHtml = "HTMLPRINT";
inline constexpr std::string_view kRtf = "RTFPRINT";

// What the service asks of its caller. Texts are program texts (Windows-1252). Every member
// has a default, so callers name only what they need (designated initialisers).
struct OpcionesImpresion {
    std::string carpeta = "temp/";  // where documents are written
    // A message the user must see (an error, where a document was left). None: not shown.
    std::function<void(std::string_view)> avisar = {};
    // A passing message (what the service is doing now). None: not shown.
    std::function<void(std::string_view)> informar = {};
    // The printer chooser: the names and the default one ("" when none); gives the chosen
    // name, or "" when the user cancelled. None: the default printer, else the first.
    std::function<std::string(const std::vector<std::string>&, const std::string&)>
        elegir_impresora = {};
    // "20261207_235610" for the moment a document is named. None: the system's clock.
    std::function<std::string()> marca_de_tiempo = {};
    // Told of every page as it is written (the page as drawn).
    std::function<void(const Pagina&)> pagina_terminada = {};
    double limite_cups = 15;  // seconds the print server may keep the program waiting
};

class TPRINT {
  public:
    explicit TPRINT(std::string_view destino, OpcionesImpresion opciones = {});
    ~TPRINT();
    TPRINT(const TPRINT&) = delete;
    TPRINT& operator=(const TPRINT&) = delete;

    // On the printer destination: reads the installed printers from CUPS.
    void Init();
    // Chooses where the job goes: on the printer destination the printer chooser (with
    // `dialogo`; otherwise the default printer), on the file destinations a check that the
    // folder can be written. Sets the error flag when nothing can be printed or the user
    // cancelled. Preview, orientation and paper are fixed: no preview, portrait, Letter.
    void SelPrinter(bool dialogo, bool vista_previa, bool apaisado, int papel);
    // True when SelPrinter failed, or when the document could not be written: nothing more
    // will come of the job.
    bool lPrError() const { return error_; }
    void SetPreviewSize(double) {}
    // Starts the document: opens its work file.
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
    // Writes the page out.
    void EndPage();
    // Ends the document: the file takes its name (and is opened), or goes to the printer.
    void EndDoc();
    // Frees the job; a document not ended is dropped with its work file.
    void Release();

    const std::string& destino() const { return destino_; }
    // Pages written so far in the current document.
    int paginas() const { return paginas_; }
    // The file EndDoc left on a file destination ("" when none).
    const std::string& archivo() const { return archivo_; }
    const std::vector<std::string>& impresoras() const { return impresoras_; }
    const std::string& impresora() const { return impresora_; }

  private:
    void avisar(std::string_view texto) const;
    void informar(std::string_view texto) const;
    std::string nombre_libre(std::string_view extension) const;
    void abandonar_documento();
    void fallo_de_escritura();
    void enviar_a_impresora();
    void dejar_archivo();

    std::string destino_;
    OpcionesImpresion opciones_;
    bool error_ = false;
    bool iniciado_ = false;
    std::string aviso_cups_;  // why no printer could be listed
    std::vector<std::string> impresoras_;
    std::string impresora_;
    std::string impresora_por_omision_;

    std::string nombre_doc_;
    std::string trabajo_;  // the work file the document grows in ("" when none is open)
    std::ofstream salida_archivo_;
    std::unique_ptr<SalidaDocumento> salida_;
    Pagina pagina_;
    bool pagina_abierta_ = false;
    int paginas_ = 0;
    double puntos_ = 12;  // 80 characters per line until SetCpl
    std::string archivo_;
};

// A number as the print service draws it: its decimal digits, no blanks ("1234.5", "7").
std::string texto_de_numero(double n);

}  // namespace impresion
