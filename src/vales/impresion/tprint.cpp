#include "vales/impresion/tprint.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "abm/rutinas2.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/lists/alert.h"
#include "runtime/lists/pick_list.h"
#include "runtime/screen/console.h"
#include "runtime/server/tmysql.h"
#include "vales/impresion/comandos.h"
#include "vales/impresion/cups.h"
#include "vales/impresion/formatos.h"

namespace fs = std::filesystem;

namespace impresion {
namespace {

// The printer chooser: the CUPS printers in a pick list, the default one highlighted.
// "" when the user leaves with Esc.
std::string elegir_impresora(const std::vector<std::string>& nombres,
                             const std::string& por_omision) {
    rt::Console& c = rt::con();
    const int alto = std::min(static_cast<int>(nombres.size()), 12);
    const int top = 10, left = 30, right = 70;
    const rt::SavedRegion saved = c.save_region(top - 2, left - 2, top + alto + 1, right + 2);
    abm::BOX(top - 2, left - 2, top + alto + 1, right + 2, "+W/B");
    c.write_at(top - 1, left, "Seleccione impresora  [Esc] Cancelar", "+W/B");
    std::vector<cp::Oem> items;
    int primero = 1;
    for (std::size_t i = 0; i < nombres.size(); ++i) {
        items.push_back(cp::ansi_to_oem(nombres[i]).padded(right - left + 1));
        if (nombres[i] == por_omision) primero = static_cast<int>(i) + 1;
    }
    const int elegida = rt::pick_list(top, left, top + alto - 1, right, items,
                                      {.first_item = primero, .proc = "SELPRINTER"});
    c.restore_region(saved);
    return elegida > 0 ? nombres[static_cast<std::size_t>(elegida - 1)] : std::string();
}

const char* extension_de(std::string_view destino) {
    if (destino == kHtml) return ".html";
    if (destino == kRtf) return ".rtf";
    return ".pdf";
}

bool es_archivo(std::string_view destino) {
    return destino == kPdf || destino == kHtml || destino == kRtf;
}

}  // namespace

TPRINT::TPRINT(std::string_view destino, OpcionesImpresion opciones)
    : destino_(destino), opciones_(std::move(opciones)) {}

void TPRINT::avisar(std::string_view texto) const {
    if (opciones_.avisar) {
        opciones_.avisar(texto);
    } else {
        rt::alert(cp::ansi_to_oem(texto));
    }
}

void TPRINT::Init() {
    iniciado_ = true;
    if (destino_ != kImpresora) return;
    abm::MSG("Buscando impresoras...");
    ImpresorasCups cups = impresoras_cups(opciones_.limite_cups);
    impresoras_ = std::move(cups.nombres);
    impresora_por_omision_ = std::move(cups.por_omision);
    aviso_cups_ = std::move(cups.aviso);
}

void TPRINT::SelPrinter(bool dialogo, bool, bool, int) {
    error_ = true;
    if (!iniciado_) Init();
    if (destino_ == kImpresora) {
        if (impresoras_.empty()) {
            avisar(aviso_cups_);
            return;
        }
        impresora_ = dialogo ? elegir_impresora(impresoras_, impresora_por_omision_)
                             : (impresora_por_omision_.empty() ? impresoras_.front()
                                                               : impresora_por_omision_);
        error_ = impresora_.empty();
        return;
    }
    if (!es_archivo(destino_)) {
        avisar("Destino de impresión desconocido: "_ansi + destino_);
        return;
    }
    std::error_code ec;
    fs::create_directories(opciones_.carpeta, ec);
    if (ec || !fs::is_directory(opciones_.carpeta)) {
        avisar("No se puede crear la carpeta "_ansi + opciones_.carpeta);
        return;
    }
    error_ = false;
}

void TPRINT::BeginDoc(std::string_view nombre) {
    doc_ = Documento{std::string(nombre), {}};
    pagina_abierta_ = false;
    archivo_.clear();
}

void TPRINT::BeginPage() {
    if (pagina_abierta_) EndPage();
    doc_.paginas.emplace_back();
    pagina_abierta_ = true;
}

void TPRINT::SetCpl(int caracteres) {
    if (caracteres > 0) puntos_ = 960.0 / caracteres;
}

void TPRINT::PrintData(double fila, double columna, std::string_view texto, std::string_view,
                       double puntos, bool negrita) {
    if (!pagina_abierta_) BeginPage();
    doc_.paginas.back().textos.push_back(
        {fila, columna, std::string(texto), puntos > 0 ? puntos : puntos_, negrita});
}

void TPRINT::PrintData(double fila, double columna, double numero, std::string_view fuente,
                       double puntos, bool negrita) {
    PrintData(fila, columna, rt::mysql_number(numero), fuente, puntos, negrita);
}

void TPRINT::EndPage() {
    pagina_abierta_ = false;
}

void TPRINT::EndDoc() {
    pagina_abierta_ = false;
    if (error_) return;
    if (doc_.paginas.empty()) {
        avisar(destino_ == kImpresora
                   ? "El documento no tiene páginas: no se envió nada a la impresora"_ansi
                   : "El documento no tiene páginas: no se generó ningún archivo"_ansi);
        return;
    }
    if (destino_ == kImpresora) {
        enviar_a_impresora();
    } else {
        escribir_archivo();
    }
}

void TPRINT::Release() {
    doc_ = {};
    pagina_abierta_ = false;
}

std::string TPRINT::nombre_de_archivo(std::string_view extension) const {
    // "vale_produccion_20261207_235610.pdf": the document's name and the moment it was
    // printed, with a counter when two documents end in the same second.
    std::string base;
    for (char ch : doc_.nombre) {
        const unsigned char u = static_cast<unsigned char>(ch);
        base += std::isalnum(u) && u < 128 ? static_cast<char>(std::tolower(u)) : '_';
    }
    if (base.empty()) base = "documento";
    const rt::LocalTime t = rt::con().now();
    char marca[32];
    std::snprintf(marca, sizeof marca, "_%04d%02d%02d_%02d%02d%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    fs::path carpeta(opciones_.carpeta);
    fs::path ruta = carpeta / (base + marca + std::string(extension));
    for (int n = 2; fs::exists(ruta); ++n) {
        ruta = carpeta / (base + marca + "_" + std::to_string(n) + std::string(extension));
    }
    return ruta.string();
}

void TPRINT::escribir_archivo() {
    const std::string ruta = nombre_de_archivo(extension_de(destino_));
    const std::string bytes = destino_ == kHtml  ? documento_html(doc_)
                              : destino_ == kRtf ? documento_rtf(doc_)
                                                 : documento_pdf(doc_);
    std::ofstream out(ruta, std::ios::binary);
    out << bytes;
    out.close();
    if (!out) {
        avisar("No se pudo escribir el archivo " + ruta);
        return;
    }
    archivo_ = ruta;
    std::error_code ec;
    const std::string absoluta = fs::absolute(ruta, ec).string();
    if (!abrir_con_programa_asociado(absoluta)) {
        avisar("Documento guardado en;" + cp::utf8_to_ansi(ec ? ruta : absoluta));
    }
}

void TPRINT::enviar_a_impresora() {
    std::error_code ec;
    fs::create_directories(opciones_.carpeta, ec);
    // CUPS takes a PDF; the file is only a vehicle and goes once the job is queued.
    const std::string ruta = nombre_de_archivo(".pdf");
    std::ofstream out(ruta, std::ios::binary);
    out << documento_pdf(doc_);
    out.close();
    if (!out) {
        avisar("No se pudo escribir el archivo " + ruta);
        return;
    }
    abm::MSG("Enviando el documento a " + cp::ansi_to_oem(impresora_) + "...");
    const std::string fallo = enviar_a_cups(impresora_, doc_.nombre, ruta, opciones_.limite_cups);
    fs::remove(ruta, ec);
    if (!fallo.empty()) avisar(fallo);
}

}  // namespace impresion
