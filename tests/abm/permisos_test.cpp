// Permission checks against the users and access codes of the test company.
#include <gtest/gtest.h>

#include "abm/abm_rutinas.h"
#include "runtime/common/codepage.h"
#include "servidor_abm.h"
#include "support/modo_sql.h"

namespace {

using namespace abm;
using prueba::Mensajes;

class Permisos : public prueba::ServidorAbm {};

const std::string kNoPermitido = "- Acceso no permitido -";
const std::string kDesactivado = "Acceso desactivado para todos los usuarios";
const std::string kInexistente = "Acceso inexistente - Consulte con el administrador del sistema";
const std::string kSinConexion = "ERROR: No se puede conectar a usuarios";

// With the server in each SQL mode a plant may use.
using PermisosEnModo = prueba::EnModoSql<prueba::ServidorAbm>;

TEST_P(PermisosEnModo, UsersCodesAndMessages) {
    struct Case {
        const char* code;
        std::string user;  // ANSI
        bool show_refusal;
        bool result;
        Mensajes shown;
    };
    const Case cases[] = {
        {"acc_ingreso", "juan", true, true, {}},
        {"acc_ver_productos", "juan", true, true, {}},
        {"acc_add_productos", "juan", true, false, {kNoPermitido}},
        {"acc_add_productos", "juan", false, false, {}},
        {"acc_add_productos", "supervisor", true, true, {}},  // full access, own column false
        {"acc_ver_costos", "supervisor", false, true, {}},
        {"acc_add_tablas_codificacion", "supervisor", true, false, {kDesactivado}},
        {"acc_add_tablas_codificacion", "inactivo", false, false, {kDesactivado}},
        {"acc_no_registrado", "supervisor", false, false, {kInexistente}},
        {"acc_borrar_vales", "supervisor", false, false, {kSinConexion}},  // no such column
        {"acc_ingreso", "fantasma", true, false, {kNoPermitido}},          // user gone meanwhile
        {"acc_ingreso", "JUAN", true, true, {}},  // the server compares names ignoring case
        {"acc_ingreso", "o'brien", true, true, {}},
        {"acc_ingreso",
         "nu\xF1"
         "ez",
         true,
         true,
         {}},
        {"acc_ingreso", "x' or '1'='1", true, false, {kNoPermitido}},
        {"acc_ingreso", "'is not null#", true, false, {kNoPermitido}},
        {"acc_ingreso", "\\'is not null#", true, false, {kNoPermitido}},
        {"acc_ingreso", "juan\\", true, false, {kNoPermitido}},
        {"acc_ingreso' or '1'='1", "juan", true, false, {kInexistente}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SISTEMA_PERMITE(c.code, c.user, c.show_refusal), c.result)
            << c.code << " " << c.user;
        EXPECT_EQ(mensajes(), c.shown) << c.code << " " << c.user;
    }
}

INSTANTIATE_TEST_SUITE_P(Modos, PermisosEnModo, testing::ValuesIn(prueba::modos_sql()),
                         prueba::nombre_modo);

TEST_F(Permisos, UserDefaultsToTheSessionsUser) {
    EXPECT_FALSE(SISTEMA_PERMITE("acc_add_productos"));
    EXPECT_EQ(mensajes(), Mensajes{kNoPermitido});
    sesion.COD_USUARIO = "supervisor";
    EXPECT_TRUE(SISTEMA_PERMITE("acc_add_productos"));
    EXPECT_TRUE(SISTEMA_PERMITE("acc_ver_costos", std::nullopt, false));
    EXPECT_EQ(mensajes(), Mensajes{});
}

TEST_F(Permisos, ServerFailureRefusesWithItsMessage) {
    sin_base_de_datos();
    EXPECT_FALSE(SISTEMA_PERMITE("acc_ingreso", "juan", false));
    EXPECT_EQ(mensajes(), Mensajes{kSinConexion});
    sesion.OSERVER.reset();
    EXPECT_FALSE(SISTEMA_PERMITE("acc_ingreso"));
    EXPECT_EQ(mensajes(), Mensajes{kSinConexion});
}

}  // namespace
