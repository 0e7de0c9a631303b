#include "datos/valores_locales.h"

#include <string>

#include "runtime/common/texto.h"
#include "runtime/offline/todbc.h"

namespace datos {

bool VALIDAHORA(std::string_view typed) {
    const std::string hora = rt::trim(typed);
    if (hora.size() != 5) return false;
    const double horas = rt::store_number(hora.substr(0, 2));
    const double minutos = rt::store_number(hora.substr(3, 2));
    return horas >= 0 && horas <= 23 && minutos >= 0 && minutos <= 59;
}

rt::Fecha FECHA_MDB_TO_NORMAL(std::string_view fecha) {
    if (fecha.size() < 10) return {};
    std::string dia_mes_anio;
    dia_mes_anio.append(fecha.substr(8, 2)).append("/");
    dia_mes_anio.append(fecha.substr(5, 2)).append("/");
    dia_mes_anio.append(fecha.substr(0, 4));
    return rt::Fecha::parse(dia_mes_anio).value_or(rt::Fecha{});
}

}  // namespace datos
