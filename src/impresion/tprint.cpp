#include "impresion/tprint.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "impresion/comandos.h"
#include "impresion/cups.h"
#include "runtime/common/codepage.h"

namespace fs = std::filesystem;

namespace impresion {
namespace {

const char* extension_de(std::string_view destino) {
    if (destino == kHtml) return ".html";
    if (destino == kRtf) return ".rtf";
    return ".pdf";
}

Formato formato_de(std::string_view destino) {
    if (destino == kHtml) return Formato::kHtml;
    if (destino == kRtf) return Formato::kRtf;
    return Formato::kPdf;  // the printer takes PDF too
}

bool es_archivo(std::string_view destino) {
    return destino == kPdf || destino == kHtml || destino == kRtf;
}

std::string marca_del_sistema() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char marca[32];
    std::strftime(marca, sizeof marca, "%Y%m%d_%H%M%S", &local);
    return marca;
}

// "vale_produccion" for "Vale produccion": what a document's name gives its file.
std::string base_de(const std::string& nombre) {
    std::string base;
    for (char ch : nombre) {
        const unsigned char u = static_cast<unsigned char>(ch);
        base += std::isalnum(u) && u < 128 ? static_cast<char>(std::tolower(u)) : '_';
    }
    return base.empty() ? "documento" : base;
}

// A new empty file in `carpeta` whose name no other document has; "" when none can be
// made there.
std::string crear_archivo_de_trabajo(const std::string& carpeta, const std::string& base) {
    std::string plantilla = (fs::path(carpeta) / ("." + base + "_XXXXXX.parcial")).string();
    const int fd = mkstemps(plantilla.data(), static_cast<int>(std::string(".parcial").size()));
    if (fd < 0) return {};
    // mkstemps makes the file private; the finished document gets the usual permissions.
    const mode_t mascara = umask(0);
    umask(mascara);
    fchmod(fd, 0666 & ~mascara);
    close(fd);
    return plantilla;
}

}  // namespace

std::string texto_de_numero(double n) {
    if (!std::isfinite(n) || n == 0) return "0";  // also turns -0 into 0
    char buf[400];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, n, std::chars_format::fixed);
    if (ec != std::errc{}) return "0";
    return std::string(buf, end);
}

TPRINT::TPRINT(std::string_view destino, OpcionesImpresion opciones)
    : destino_(destino), opciones_(std::move(opciones)) {}

TPRINT::~TPRINT() {
    abandonar_documento();
}

void TPRINT::avisar(std::string_view texto) const {
    if (opciones_.avisar) opciones_.avisar(texto);
}

void TPRINT::informar(std::string_view texto) const {
    if (opciones_.informar) opciones_.informar(texto);
}

void TPRINT::Init() {
    iniciado_ = true;
    if (destino_ != kImpresora) return;
    informar("Buscando impresoras...");
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
        const std::string& omision =
            impresora_por_omision_.empty() ? impresoras_.front() : impresora_por_omision_;
        impresora_ = dialogo && opciones_.elegir_impresora
                         ? opciones_.elegir_impresora(impresoras_, impresora_por_omision_)
                         : omision;
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
    abandonar_documento();
    nombre_doc_ = nombre;
    paginas_ = 0;
    archivo_.clear();
    if (error_) return;
    std::error_code ec;
    fs::create_directories(opciones_.carpeta, ec);
    trabajo_ = crear_archivo_de_trabajo(opciones_.carpeta, base_de(nombre_doc_));
    if (!trabajo_.empty()) {
        salida_archivo_.open(trabajo_, std::ios::binary | std::ios::trunc);
        salida_ = abrir_documento(formato_de(destino_), nombre_doc_, salida_archivo_);
    }
    if (trabajo_.empty() || !salida_archivo_) {
        fallo_de_escritura();
    }
}

void TPRINT::BeginPage() {
    if (pagina_abierta_) EndPage();
    pagina_ = {};
    pagina_abierta_ = true;
}

void TPRINT::SetCpl(int caracteres) {
    if (caracteres > 0) puntos_ = 960.0 / caracteres;
}

void TPRINT::PrintData(double fila, double columna, std::string_view texto, std::string_view,
                       double puntos, bool negrita) {
    if (!pagina_abierta_) BeginPage();
    pagina_.textos.push_back(
        {fila, columna, std::string(texto), puntos > 0 ? puntos : puntos_, negrita});
}

void TPRINT::PrintData(double fila, double columna, double numero, std::string_view fuente,
                       double puntos, bool negrita) {
    PrintData(fila, columna, texto_de_numero(numero), fuente, puntos, negrita);
}

void TPRINT::EndPage() {
    if (!pagina_abierta_) return;
    pagina_abierta_ = false;
    if (!salida_) return;  // no document begun, or it failed: the page goes nowhere
    salida_->pagina(pagina_);
    ++paginas_;
    if (opciones_.pagina_terminada) opciones_.pagina_terminada(pagina_);
    pagina_ = {};
    if (!salida_archivo_) fallo_de_escritura();
}

void TPRINT::EndDoc() {
    EndPage();
    if (!salida_) {
        abandonar_documento();
        return;
    }
    salida_->terminar();
    salida_.reset();
    salida_archivo_.close();
    if (!salida_archivo_) {
        fallo_de_escritura();
        return;
    }
    if (paginas_ == 0) {
        abandonar_documento();
        avisar(destino_ == kImpresora
                   ? "El documento no tiene páginas: no se envió nada a la impresora"_ansi
                   : "El documento no tiene páginas: no se generó ningún archivo"_ansi);
        return;
    }
    if (destino_ == kImpresora) {
        enviar_a_impresora();
    } else {
        dejar_archivo();
    }
}

void TPRINT::Release() {
    abandonar_documento();
    pagina_ = {};
}

void TPRINT::abandonar_documento() {
    salida_.reset();
    if (salida_archivo_.is_open()) salida_archivo_.close();
    salida_archivo_.clear();
    pagina_abierta_ = false;
    if (!trabajo_.empty()) {
        std::error_code ec;
        fs::remove(trabajo_, ec);
        trabajo_.clear();
    }
}

void TPRINT::fallo_de_escritura() {
    const std::string donde = trabajo_.empty() ? opciones_.carpeta : trabajo_;
    abandonar_documento();
    error_ = true;
    avisar("No se pudo escribir el documento en " + cp::utf8_to_ansi(donde) +
           ";no se imprimió nada"_ansi);
}

std::string TPRINT::nombre_libre(std::string_view extension) const {
    // "vale_produccion_20261207_235610.pdf": the document's name and the moment it was
    // printed, with a counter when two documents end in the same second.
    const std::string base =
        base_de(nombre_doc_) + "_" +
        (opciones_.marca_de_tiempo ? opciones_.marca_de_tiempo() : marca_del_sistema());
    const fs::path carpeta(opciones_.carpeta);
    fs::path ruta = carpeta / (base + std::string(extension));
    for (int n = 2; fs::exists(ruta); ++n) {
        ruta = carpeta / (base + "_" + std::to_string(n) + std::string(extension));
    }
    return ruta.string();
}

void TPRINT::dejar_archivo() {
    const std::string ruta = nombre_libre(extension_de(destino_));
    std::error_code ec;
    fs::rename(trabajo_, ruta, ec);
    if (ec) {
        abandonar_documento();
        error_ = true;
        avisar("No se pudo guardar el documento como " + cp::utf8_to_ansi(ruta));
        return;
    }
    trabajo_.clear();
    archivo_ = ruta;
    const std::string absoluta = fs::absolute(ruta, ec).string();
    if (!abrir_con_programa_asociado(absoluta)) {
        avisar("Documento guardado en;" + cp::utf8_to_ansi(ec ? ruta : absoluta));
    }
}

void TPRINT::enviar_a_impresora() {
    if (impresora_.empty()) {
        abandonar_documento();
        avisar("No se eligió ninguna impresora: no se imprimió nada"_ansi);
        return;
    }
    informar("Enviando el documento a " + cp::utf8_to_ansi(impresora_) + "...");
    const std::string fallo =
        enviar_a_cups(impresora_, nombre_doc_, trabajo_, opciones_.limite_cups);
    // The work file was only a vehicle: CUPS keeps its own copy of the job.
    abandonar_documento();
    if (!fallo.empty()) {
        error_ = true;
        avisar(fallo);
    }
}

}  // namespace impresion
