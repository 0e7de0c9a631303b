#include "datos/almacen.h"

namespace datos {

bool ejecutar(rt::TODBC& RS, std::string_view sql) {
    RS.SetSQL(sql);
    return RS.Open();
}

double numero_en(const rt::TODBC& RS, std::string_view columna) {
    return rt::store_number(RS.FieldValue(columna));
}

}  // namespace datos
