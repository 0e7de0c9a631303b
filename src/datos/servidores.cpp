#include "datos/servidores.h"

#include <crypt.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "runtime/server/tmysql.h"

namespace datos {

std::string direccion_servidor(bool local) {
    const char* env = std::getenv(local ? VAR_SERVIDOR_LOCAL : VAR_SERVIDOR_REMOTO);
    if (env && rt::parse_mysql_address(env)) {
        std::string_view v(env);
        while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
        while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
        return std::string(v);
    }
    return std::string(local ? SERVIDOR_LOCAL_FIJO : SERVIDOR_REMOTO_FIJO);
}

namespace {
const char* variable(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}
}  // namespace

std::string usuario_servidor() {
    const char* env = variable(VAR_USUARIO_SERVIDOR);
    return env ? env : std::string(USUARIO_SERVIDOR);
}

std::optional<std::string> leer_clave_de_archivo(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string line;
    std::getline(in, line);
    if (in.bad()) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::string clave_servidor() {
    if (const char* file = variable(VAR_CLAVE_SERVIDOR_ARCHIVO)) {
        // Checked when the program starts; a file gone since gives no password at all
        // rather than the compiled-in one.
        return leer_clave_de_archivo(file).value_or("");
    }
    const char* env = variable(VAR_CLAVE_SERVIDOR);
    return env ? env : std::string(CLAVE_SERVIDOR);
}

bool clave_supervisor_correcta(const std::string& clave) {
    if (const char* file = variable(VAR_CLAVE_SUPERVISOR_ARCHIVO)) {
        struct stat st {};
        if (::stat(file, &st) != 0 || (st.st_mode & (S_IRWXG | S_IRWXO)) != 0) return false;
        const auto hash = leer_clave_de_archivo(file);
        if (!hash || hash->size() < 2 || hash->front() != '$') return false;
        crypt_data datos_crypt{};
        const char* calculado = crypt_r(clave.c_str(), hash->c_str(), &datos_crypt);
        return calculado && *calculado != '*' && *hash == calculado;
    }
    if (const char* env = variable(VAR_CLAVE_SUPERVISOR)) return clave == env;
    return clave == CLAVE_SUPERVISOR_DEMO;
}

}  // namespace datos
