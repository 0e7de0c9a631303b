// Stock per warehouse on the server: reading, adding, and pending transfers.
#include "datos/stock.h"
#include "abm/abm_rutinas.h"
#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/lists/alert.h"
#include "ui/rutinas2.h"

namespace abm {

double STOCK(double warehouse, std::string_view kind, std::string_view code,
             std::string_view formula, double needed, bool msg_if_short) {
    if (!datos::ses().OSERVER) return 0;
    datos::Sentencias s(*datos::ses().OSERVER);
    const auto stock = datos::leer_stock(s, warehouse, kind, code, formula);
    if (!stock) {
        ui::MSGBOX("ERROR: No se puede encontrar stock de producto");
        return 0;
    }
    if (msg_if_short && needed > *stock) ui::MSGBOX("Stock insuficiente...");
    return *stock;
}

bool SUMA_STOCK(double warehouse, std::string_view kind, std::string_view code,
                std::string_view formula, double amount) {
    if (!datos::ses().OSERVER) return false;
    datos::Sentencias s(*datos::ses().OSERVER);
    if (datos::sumar_stock(s, warehouse, kind, code, formula, amount)) return true;
    if (s.fallo().sentencia.starts_with("select")) {
        ui::MSGBOX("ERROR: No se puede conectar a registros de stock");
    } else {
        ui::MSGBOX("ERROR: No se puede actualizar registro de stock");
        rt::alert(cp::ansi_to_oem(s.fallo().sentencia));
    }
    return false;
}

bool EXISTEN_TRANSF_PEND(std::string_view kind, std::string_view code,
                         std::optional<std::string_view> formula, bool same_formula) {
    if (!datos::ses().OSERVER) return false;
    datos::Sentencias s(*datos::ses().OSERVER);
    return datos::transferencias_pendientes(s, kind, code, formula, same_formula);
}

}  // namespace abm
