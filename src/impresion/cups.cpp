#include "impresion/cups.h"

#include <cups/cups.h>

#include <algorithm>
#include <chrono>
#include <fstream>

#include "runtime/common/codepage.h"

namespace impresion {
namespace {

using Reloj = std::chrono::steady_clock;

// How often a wait for the server stops to look at the clock.
constexpr double kIntervaloSegundos = 0.25;

// A connection to the print server CUPS names. Every wait for an answer is cut once
// `limite` seconds have gone by since the connection was made or last renewed; the
// library then fails the request in progress and every later one.
class ConexionCups {
  public:
    explicit ConexionCups(double limite) : limite_(limite) {
        // The server may have been changed since the last call (CUPS_SERVER, the client
        // configuration): the library is asked to read them again.
        cupsSetServer(nullptr);
        renovar();
        int cancelar = 0;
        const int ms = static_cast<int>(std::max(limite, 0.001) * 1000);
        http_ = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, ms,
                             &cancelar);
        if (http_) {
            httpSetTimeout(http_, std::min(limite, kIntervaloSegundos), &ConexionCups::seguir,
                           this);
        }
    }
    ~ConexionCups() {
        if (http_) httpClose(http_);
    }
    ConexionCups(const ConexionCups&) = delete;
    ConexionCups& operator=(const ConexionCups&) = delete;

    http_t* http() const { return http_; }
    bool vencida() const { return vencida_; }
    // The server answered: the limit counts again from now.
    void renovar() {
        fin_ = Reloj::now() +
               std::chrono::duration_cast<Reloj::duration>(std::chrono::duration<double>(limite_));
    }

  private:
    static int seguir(http_t*, void* datos) {
        auto* c = static_cast<ConexionCups*>(datos);
        if (Reloj::now() < c->fin_) return 1;
        c->vencida_ = true;
        return 0;
    }

    double limite_;
    Reloj::time_point fin_;
    http_t* http_ = nullptr;
    bool vencida_ = false;
};

std::string con_servidor(const std::string& mensaje_utf8) {
    return cp::utf8_to_ansi(mensaje_utf8 + ";Servidor: " + servidor_cups());
}

const char* const kNoResponde = "El servidor de impresión CUPS no responde";
const char* const kSinImpresoras =
    "No hay impresoras disponibles: el servidor CUPS no responde o no tiene impresoras";

// Why the last request failed, cut to fit an alert line.
std::string motivo_cups() {
    std::string motivo = cupsLastErrorString() ? cupsLastErrorString() : "";
    if (motivo.size() > 70) motivo.resize(70);
    return motivo;
}

// Creates the job on `http`. The library's own cupsCreateJob looks the printer up first and,
// when that fails, asks again through a connection of its own that waits a minute for a
// silent server; the request is therefore made here, on the connection with the limit.
int crear_trabajo(http_t* http, const std::string& impresora, const std::string& titulo) {
    const std::string recurso = "/printers/" + impresora;
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "%s", recurso.c_str());
    ipp_t* pedido = ippNewRequest(IPP_OP_CREATE_JOB);
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, titulo.c_str());
    ipp_t* respuesta = cupsDoRequest(http, pedido, recurso.c_str());  // frees the request
    int trabajo = 0;
    if (respuesta && ippGetStatusCode(respuesta) <= IPP_STATUS_OK_EVENTS_COMPLETE) {
        if (ipp_attribute_t* id = ippFindAttribute(respuesta, "job-id", IPP_TAG_INTEGER)) {
            trabajo = ippGetInteger(id, 0);
        }
    }
    ippDelete(respuesta);
    return trabajo;
}

}  // namespace

std::string servidor_cups() {
    cupsSetServer(nullptr);
    const std::string servidor = cupsServer();
    if (!servidor.empty() && servidor.front() == '/') return servidor;
    return servidor + ":" + std::to_string(ippPort());
}

ImpresorasCups impresoras_cups(double limite_segundos) {
    ImpresorasCups r;
    ConexionCups conexion(limite_segundos);
    if (!conexion.http()) {
        r.aviso = con_servidor(kSinImpresoras);
        return r;
    }
    cups_dest_t* destinos = nullptr;
    const int n = cupsGetDests2(conexion.http(), &destinos);
    for (int i = 0; i < n; ++i) {
        const cups_dest_t& d = destinos[i];
        // Instances are sets of options of a printer, not printers of their own.
        if (d.instance) continue;
        r.nombres.emplace_back(d.name);
        if (d.is_default) r.por_omision = d.name;
    }
    cupsFreeDests(n, destinos);
    if (conexion.vencida()) {
        r = {};
        r.aviso = con_servidor(kNoResponde);
    } else if (r.nombres.empty()) {
        r.aviso = con_servidor(kSinImpresoras);
    }
    return r;
}

std::string enviar_a_cups(const std::string& impresora, const std::string& titulo,
                          const std::string& archivo, double limite_segundos) {
    std::ifstream in(archivo, std::ios::binary);
    if (!in) return "No se pudo leer el archivo " + cp::utf8_to_ansi(archivo);
    ConexionCups conexion(limite_segundos);
    http_t* http = conexion.http();
    const std::string no_se_pudo = "No se pudo imprimir en " + impresora + ": ";
    if (!http) return con_servidor(no_se_pudo + "no hay conexión con el servidor de impresión");
    const int trabajo = crear_trabajo(http, impresora, titulo);
    if (trabajo == 0) {
        return conexion.vencida() ? con_servidor(kNoResponde)
                                  : cp::utf8_to_ansi(no_se_pudo + motivo_cups());
    }
    bool enviado = cupsStartDocument(http, impresora.c_str(), trabajo, titulo.c_str(),
                                     CUPS_FORMAT_PDF, 1) == HTTP_STATUS_CONTINUE;
    char bloque[64 * 1024];
    while (enviado && in) {
        in.read(bloque, sizeof bloque);
        const std::streamsize leidos = in.gcount();
        if (leidos <= 0) break;
        enviado = cupsWriteRequestData(http, bloque, static_cast<std::size_t>(leidos)) ==
                  HTTP_STATUS_CONTINUE;
        conexion.renovar();
    }
    enviado = enviado && in.eof();
    // Finishing is needed either way: it reads the server's answer to the document.
    const ipp_status_t estado = cupsFinishDocument(http, impresora.c_str());
    if (enviado && estado <= IPP_STATUS_OK_EVENTS_COMPLETE) return {};
    const std::string motivo = conexion.vencida() ? std::string() : motivo_cups();
    // A job the server holds only part of must not come out of the printer.
    if (!conexion.vencida()) cupsCancelJob2(http, impresora.c_str(), trabajo, 0);
    if (conexion.vencida()) return con_servidor(kNoResponde);
    return cp::utf8_to_ansi(no_se_pudo + (enviado ? motivo : "el envío se interrumpió; " + motivo));
}

}  // namespace impresion
