#include "datos/objetos_adicionales.h"

#include "runtime/common/texto.h"

namespace datos {
namespace {

// The text without its comment lines ("-- ..."), which may hold semicolons of their own.
std::string sin_comentarios(std::string_view texto) {
    std::string out;
    while (!texto.empty()) {
        const auto fin = texto.find('\n');
        const std::string_view linea = texto.substr(0, fin);
        if (!rt::trim(linea).starts_with("--")) out.append(linea).append("\n");
        texto = fin == std::string_view::npos ? std::string_view{} : texto.substr(fin + 1);
    }
    return out;
}

std::string sin_espacios(std::string_view texto) {
    const auto desde = texto.find_first_not_of(" \t\r\n");
    if (desde == std::string_view::npos) return {};
    return std::string(texto.substr(desde, texto.find_last_not_of(" \t\r\n") - desde + 1));
}

}  // namespace

std::string crear_objetos_adicionales(TMySQLServer& servidor) {
    const std::string texto = sin_comentarios(objetos_adicionales());
    std::string_view resto = texto;
    while (!resto.empty()) {
        const auto fin = resto.find(';');
        const std::string sentencia = sin_espacios(resto.substr(0, fin));
        resto = fin == std::string_view::npos ? std::string_view{} : resto.substr(fin + 1);
        if (sentencia.empty()) continue;
        auto q = servidor.Query(sentencia);
        if (q.NetErr()) return q.Error() + "\n" + sentencia;
    }
    return {};
}

}  // namespace datos
