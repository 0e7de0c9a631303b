#include "ui/tablas_trabajo.h"

namespace ui::tablas {

namespace {
Field c(const char* name, int width) {
    return {name, FieldType::kCharacter, width, 0};
}
Field n(const char* name, int width, int decimals = 0) {
    return {name, FieldType::kNumeric, width, decimals};
}
Field l(const char* name) {
    return {name, FieldType::kLogical, 1, 0};
}
}  // namespace

Structure vales() {
    return {n("N_INTERNO", 10), c("DETALLE", 98), n("ORDEN", 5)};
}

Structure productos() {
    return {c("CODIGO", 9),     c("CODI_FORM", 3), c("DESCRIP", 50),
            c("DESC_FORM", 50), l("L_ACTIVO"),     l("L_VIGENTE")};
}

Structure operario() {
    return {c("RUT", 8), c("DIGITO", 1), c("NOMBRE", 40), l("L_ACTIVO"), n("CODI_OPER", 3)};
}

Structure procesos() {
    return {c("CODIGO", 1), c("DESCRIP", 40)};
}

std::string catalogue_alias(std::string_view table_path) {
    std::string_view last =
        table_path.size() > 10 ? table_path.substr(table_path.size() - 10) : table_path;
    return std::string("X").append(last.substr(0, 6));
}

}  // namespace ui::tablas
