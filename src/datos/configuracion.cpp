#include "datos/configuracion.h"

#include <ini.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string_view>

#include "datos/servidores.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"

namespace datos {
namespace {

// The server's settings of the files, by the variable each stands for.
using Servidor = std::map<std::string, std::string>;

struct Lectura {
    Configuracion& c;
    Servidor& servidor;
};

bool de_servidor(Servidor& servidor, std::string_view clave, const char* valor) {
    const char* variable = clave == "local"           ? VAR_SERVIDOR_LOCAL
                           : clave == "remoto"        ? VAR_SERVIDOR_REMOTO
                           : clave == "usuario"       ? VAR_USUARIO_SERVIDOR
                           : clave == "clave_archivo" ? VAR_CLAVE_SERVIDOR_ARCHIVO
                                                      : nullptr;
    if (!variable || !*valor) return false;
    servidor[variable] = valor;
    return true;
}

Empresa& empresa_de(Configuracion& c, const std::string& codigo) {
    for (Empresa& e : c.empresas)
        if (e.codigo == codigo) return e;
    c.empresas.push_back({codigo, "", ""});
    return c.empresas.back();
}

bool de_empresa(Configuracion& c, const std::string& codigo, std::string_view clave,
                const char* valor) {
    // Codes are typed in a three-digit field.
    const bool codigo_valido =
        codigo.size() == 3 && codigo.find_first_not_of("0123456789") == std::string::npos;
    if (!codigo_valido || !*valor) return false;
    if (clave == "base") {
        empresa_de(c, codigo).base = valor;
    } else if (clave == "nombre") {
        empresa_de(c, codigo).nombre = cp::utf8_to_ansi(valor);
    } else {
        return false;
    }
    return true;
}

int tomar(void* datos, const char* seccion, const char* clave, const char* valor) {
    Lectura& l = *static_cast<Lectura*>(datos);
    const std::string s = seccion;
    bool tomado = false;
    if (s == "servidor") {
        tomado = de_servidor(l.servidor, clave, valor);
    } else if (s == "pantalla" && std::string_view(clave) == "titulo") {
        l.c.titulo = cp::utf8_to_ansi(valor);
        tomado = true;
    } else if (s.rfind("empresa ", 0) == 0) {
        tomado = de_empresa(l.c, rt::trim(s.substr(8)), clave, valor);
    }
    return tomado ? 1 : 0;
}

}  // namespace

const Empresa* Configuracion::empresa(const std::string& codigo) const {
    for (const Empresa& e : empresas)
        if (e.codigo == codigo && !e.base.empty()) return &e;
    return nullptr;
}

void leer_configuracion(const std::vector<std::string>& archivos, Configuracion& c) {
    Servidor servidor;
    for (const std::string& archivo : archivos) {
        std::error_code ec;
        if (!std::filesystem::exists(archivo, ec)) continue;
        Lectura l{c, servidor};
        const int linea = ini_parse(archivo.c_str(), tomar, &l);
        if (linea < 0) {
            c.avisos.push_back(archivo + ": no se puede leer");
        } else if (linea > 0) {
            c.avisos.push_back(archivo + ", línea " + std::to_string(linea) +
                               ": no se reconoce (vale lo demás y, para ella, lo de omisión)");
        }
    }
    // The environment and the command line (which sets the environment) win.
    for (const auto& [variable, valor] : servidor) ::setenv(variable.c_str(), valor.c_str(), 0);
}

}  // namespace datos
