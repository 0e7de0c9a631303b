#include "vales/impresion/cups.h"

#include <sstream>

#include "runtime/common/codepage.h"
#include "vales/impresion/comandos.h"

namespace impresion {
namespace {

std::string primera_linea(const std::string& texto) {
    std::string linea = texto.substr(0, texto.find('\n'));
    if (linea.size() > 70) linea.resize(70);
    return cp::utf8_to_ansi(linea);
}

const char* const kSinCliente =
    "No está instalado el cliente de impresión CUPS (lpstat, lp): no se puede imprimir";

}  // namespace

ImpresorasCups impresoras_cups(double limite_segundos) {
    ImpresorasCups r;
    const ResultadoComando lista = ejecutar({"lpstat", "-e"}, limite_segundos);
    if (!lista.encontrado) {
        r.aviso = cp::utf8_to_ansi(kSinCliente);
        return r;
    }
    if (lista.vencido) {
        r.aviso = cp::utf8_to_ansi("El servidor de impresión CUPS no responde");
        return r;
    }
    if (lista.estado == 0) {
        std::istringstream in(lista.salida);
        for (std::string nombre; std::getline(in, nombre);) {
            if (!nombre.empty() && nombre.find(' ') == std::string::npos) {
                r.nombres.push_back(nombre);
            }
        }
    }
    if (r.nombres.empty()) {
        r.aviso = cp::utf8_to_ansi(
            "No hay impresoras disponibles: el servidor CUPS no responde o no tiene impresoras");
        return r;
    }
    // "system default destination: NAME"
    const ResultadoComando omision = ejecutar({"lpstat", "-d"}, limite_segundos);
    const std::string::size_type dos_puntos = omision.salida.find(": ");
    if (omision.ok() && dos_puntos != std::string::npos) {
        std::string nombre = omision.salida.substr(dos_puntos + 2);
        nombre = nombre.substr(0, nombre.find_first_of("\r\n"));
        for (const std::string& n : r.nombres) {
            if (n == nombre) r.por_omision = nombre;
        }
    }
    return r;
}

std::string enviar_a_cups(const std::string& impresora, const std::string& titulo,
                          const std::string& archivo, double limite_segundos) {
    const ResultadoComando r =
        ejecutar({"lp", "-d", impresora, "-t", titulo, "--", archivo}, limite_segundos);
    if (r.ok()) return {};
    if (!r.encontrado) return cp::utf8_to_ansi(kSinCliente);
    if (r.vencido) return cp::utf8_to_ansi("El servidor de impresión CUPS no responde");
    return "No se pudo imprimir en " + impresora + ": " + primera_linea(r.salida);
}

}  // namespace impresion
