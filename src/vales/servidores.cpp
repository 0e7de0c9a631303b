#include "vales/servidores.h"

#include <cstdlib>

#include "runtime/server/tmysql.h"

namespace vales {

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

}  // namespace vales
