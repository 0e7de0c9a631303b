#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>

#include "datos/servidores.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "support/entorno.h"
#include "support/modo_sql.h"
#include "support/offline_store.h"
#include "support/servidor_prueba.h"
#include "vales/vales_fixture.h"
#include "vales/vales_login.h"

namespace {

using rt::key::kDown;
using rt::key::kEnter;
using rt::key::kEsc;

class LoginTest : public testing_support::ValesTest {
  protected:
    LoginTest() {
        setenv(datos::VAR_SERVIDOR_LOCAL, prueba::direccion_mariadb().c_str(), 1);
        setenv(datos::VAR_SERVIDOR_REMOTO, prueba::direccion_mariadb().c_str(), 1);
        console.set_colour("w/b,r/w");
        console.write_at(10, 60, "pantalla de antes");
    }
    ~LoginTest() override {
        unsetenv(datos::VAR_SERVIDOR_LOCAL);
        unsetenv(datos::VAR_SERVIDOR_REMOTO);
    }
    // Local connection, the form filled with company, user and password (CP850 bytes).
    void attempt(const std::string& empresa, const std::string& usuario, const std::string& clave) {
        term.type(empresa).keys({kEnter}).type(usuario).keys({kEnter}).type(clave).keys({kEnter});
    }
    // Was this message box on screen at some key wait?
    bool shown(const std::string& utf8) const {
        for (const auto& s : term.snapshots()) {
            for (int r = 0; r < rt::kRows; ++r) {
                if (testing_support::grid_row_text(s.grid, r).find(utf8) != std::string::npos) {
                    return true;
                }
            }
        }
        return false;
    }
    std::string accesos_de(const std::string& usuario_ansi) {
        auto srv = prueba::conectar_mariadb("test");
        auto q = srv->Query("select acceso, accion from accesos where usuario='" +
                            srv->escape(usuario_ansi) + "' order by acceso desc");
        return q.LastRec() ? rt::trim(q.FieldGet("acceso").text()) + "|" +
                                 rt::trim(q.FieldGet("accion").text())
                           : "";
    }
};

// A company the plant's configuration file adds: its database and its name, while the
// built-in ones go on working.
TEST_F(LoginTest, ACompanyOfThePlantsConfiguration) {
    auto srv = prueba::conectar_mariadb("test");
    for (const char* s : {"drop database if exists planta314", "create database planta314",
                          "create table planta314.usuarios like test.usuarios",
                          "insert into planta314.usuarios select * from test.usuarios",
                          "create table planta314.accesos like test.accesos"})
        ASSERT_FALSE(srv->Query(s).NetErr()) << s << ": " << srv->Error();
    sesion.configuracion.empresas.push_back({"314", "planta314", "Cerámica del Sur"_ansi});
    term.keys({kEnter});
    attempt("314", "JUAN", "clave123");
    term.keys({'x'});
    EXPECT_TRUE(vales::CONECTARSERVIDOR());
    EXPECT_EQ(sesion.NOM_EMPRESA, "Cerámica del Sur"_ansi);
    EXPECT_EQ(prueba::filas(*srv, "select count(*) from planta314.accesos where usuario='juan'"),
              std::vector<std::string>{"1"});
    EXPECT_EQ(vales::buscar_empresa("007")->base, "velmo");
    srv->Query("drop database planta314");
}

TEST_F(LoginTest, SuccessFillsTheSessionAndLogsTheAccess) {
    term.keys({kEnter});  // local connection
    attempt("999", "JUAN", "clave123");
    term.keys({'x'});  // the success message box
    EXPECT_TRUE(vales::CONECTARSERVIDOR());
    EXPECT_TRUE(sesion.LCONECTADO);
    EXPECT_TRUE(sesion.LESCONECLOCAL);
    EXPECT_EQ(sesion.COD_USUARIO, "juan");
    EXPECT_EQ(sesion.COD_EMPRESA, "999");
    EXPECT_EQ(sesion.NOM_EMPRESA, "Empresa de pruebas...");
    EXPECT_TRUE(shown("Se ha establecido una conexión con el servidor"));
    EXPECT_EQ(accesos_de("juan").substr(0, 15), "06/12/26  09:00");
    EXPECT_EQ(accesos_de("juan").substr(15), "|Ingreso sistema VALES");
    EXPECT_EQ(row_text(10, 60, 17), "pantalla de antes");
    EXPECT_TRUE(term.script_empty());
}

TEST_F(LoginTest, EachRefusalShowsItsMessageAndGoesBackToTheForm) {
    struct Case {
        const char* empresa;
        const char* usuario;
        const char* clave;
        const char* message;
    } cases[] = {
        {"7  ", "juan", "clave123", "ADVERTENCIA: No existe base de datos para empresa ingresada"},
        {"123", "juan", "clave123", "ADVERTENCIA: No existe base de datos para empresa ingresada"},
        {"999", "juan", "otra1234", "Usuario y/o password incorrecto"},
        {"999", "nadie", "clave123", "Usuario y/o password incorrecto"},
        {"999", "inactivo", "clave123", "ERROR: Usuario no activo en el sistema"},
        {"999", "sinvales", "clave123", "ERROR: Usuario no autorizado para ingresar al sistema"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        term.keys({kEnter});
        attempt(c.empresa, c.usuario, c.clave);
        term.keys({'x', kEsc});  // the message box, then Esc in the form that comes back
        EXPECT_FALSE(vales::CONECTARSERVIDOR());
        EXPECT_TRUE(shown(c.message));
        EXPECT_FALSE(sesion.LCONECTADO);
        EXPECT_EQ(sesion.COD_USUARIO, "");
        EXPECT_TRUE(term.script_empty());
        vales::DESCONECTARSERVIDOR();  // closes what a failed attempt left, silently
        EXPECT_EQ(sesion.OSERVER, nullptr);
    }
}

TEST_F(LoginTest, AFailedAttemptKeepsCompanyAndUserForTheNext) {
    term.keys({kEnter});
    attempt("999", "juan", "malaclave");
    term.keys({'x'});
    // Second attempt: the form still holds 999 and juan; Enter twice keeps them.
    term.keys({kEnter, kEnter}).type("clave123").keys({kEnter, 'x'});
    EXPECT_TRUE(vales::CONECTARSERVIDOR());
    EXPECT_EQ(sesion.COD_USUARIO, "juan");
}

TEST_F(LoginTest, ShortPasswordIsRefusedBeforeAnyServerWork) {
    term.keys({kEnter});
    term.type("999").keys({kEnter}).type("juan").keys({kEnter}).type("abc").keys({kEnter});
    term.keys({'x', kEsc});  // the message box, then Esc in the password entry
    term.keys({'x', kEsc});  // "incorrecto" for the empty password, then Esc in the form
    EXPECT_FALSE(vales::CONECTARSERVIDOR());
    EXPECT_TRUE(shown("ERROR: Mínimo 4 caracteres"));
}

TEST_F(LoginTest, CancelAndEscRestoreTheScreenExactly) {
    const rt::Grid before = console.grid();
    const std::vector<int> ways[] = {{kDown, kDown, kEnter}, {kEsc}, {rt::key::kUp, kEnter}};
    for (const auto& keys : ways) {
        for (int k : keys) term.keys({k});
        EXPECT_FALSE(vales::CONECTARSERVIDOR());
        EXPECT_TRUE(console.grid() == before);
        EXPECT_EQ(console.colour_text(), "W/B,R/W,N/N,N/N,R/W");
    }
    // The last wait: Up had wrapped the highlight to "Cancelar".
    const auto& shot = term.snapshots().back().grid;
    EXPECT_EQ(testing_support::grid_row_text(shot, 20, 11, 18), " Conección Local  ");
    EXPECT_EQ(testing_support::attr_text(shot[20][11].attr), "+G/N");
    EXPECT_EQ(testing_support::attr_text(shot[22][11].attr), "B/W");
}

TEST_F(LoginTest, EscInTheFormEndsWithoutSession) {
    term.keys({kEnter, kEsc});
    EXPECT_FALSE(vales::CONECTARSERVIDOR());
    EXPECT_FALSE(sesion.LCONECTADO);
    // While the form waited: the key picture on its blue panel, the form's frame and labels.
    const auto& shot = term.snapshots().back().grid;
    EXPECT_EQ(testing_support::attr_text(shot[2][99].attr), "B/B");
    EXPECT_EQ(testing_support::grid_row_text(shot, 3, 60, 23), "         .,;;;;;;;;;;,.");
    EXPECT_EQ(testing_support::attr_text(shot[3][69].attr), "+G/B");
    EXPECT_EQ(testing_support::grid_row_text(shot, 26, 7, 13), "Empresa : 007");
    EXPECT_EQ(testing_support::grid_row_text(shot, 28, 7, 9), "PassWord:");
    EXPECT_EQ(testing_support::attr_text(shot[26][17].attr), "+W/N");  // being edited
    EXPECT_EQ(testing_support::attr_text(shot[27][17].attr), "W/N");
    EXPECT_EQ(term.snapshots().back().cursor.shape, 3);
}

TEST_F(LoginTest, LoggingInTwiceAndOutTwice) {
    term.keys({kEnter});
    attempt("999", "juan", "clave123");
    term.keys({'x'});
    ASSERT_TRUE(vales::CONECTARSERVIDOR());
    auto* connection = sesion.OSERVER.get();
    term.keys({'x'});
    EXPECT_FALSE(vales::CONECTARSERVIDOR());
    EXPECT_TRUE(shown("Ya existe una conexión con el servidor"));
    EXPECT_TRUE(sesion.LCONECTADO);
    EXPECT_EQ(sesion.OSERVER.get(), connection);

    vales::DESCONECTARSERVIDOR();
    EXPECT_FALSE(sesion.LCONECTADO);
    EXPECT_EQ(sesion.OSERVER, nullptr);
    term.keys({'x'});
    vales::DESCONECTARSERVIDOR();
    EXPECT_TRUE(shown("No existe una conexión con el servidor"));
    EXPECT_TRUE(term.script_empty());
}

TEST_F(LoginTest, UnreachableServerIsReportedQuickly) {
    setenv(datos::VAR_SERVIDOR_REMOTO, "127.0.0.1:1", 1);  // nothing listens there
    term.keys({kDown, kEnter});
    attempt("999", "juan", "clave123");
    term.keys({'x', kEsc});
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_FALSE(vales::CONECTARSERVIDOR());
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
    EXPECT_TRUE(shown("No se puede conectar con servidor"));
}

// A plant's own account for the program, with rights on the company database only: the
// user from the environment, its password from a file.
TEST_F(LoginTest, APlantAccountOfItsOwn) {
    auto admin = prueba::conectar_mariadb("");
    for (const char* s :
         {"drop user if exists 'vales_planta'@'127.0.0.1'",
          "create user 'vales_planta'@'127.0.0.1' identified by 'Cl4ve planta'",
          "grant select, insert, update, delete on test.* to 'vales_planta'@'127.0.0.1'"})
        ASSERT_FALSE(admin->Query(s).NetErr()) << s;
    testing_support::TempFolder folder;
    const std::string archivo = (folder.path() / "clave").string();
    std::ofstream(archivo) << "Cl4ve planta\n";
    testing_support::EnvVar usuario(datos::VAR_USUARIO_SERVIDOR, "vales_planta");
    testing_support::EnvVar clave(datos::VAR_CLAVE_SERVIDOR_ARCHIVO, archivo.c_str());

    term.keys({kEnter});
    attempt("999", "juan", "clave123");
    term.keys({'x'});
    EXPECT_TRUE(vales::CONECTARSERVIDOR());
    auto q = sesion.OSERVER->Query("select current_user() as cuenta");
    EXPECT_EQ(rt::trim(q.FieldGet("cuenta").text()), "vales_planta@127.0.0.1");
    EXPECT_EQ(accesos_de("juan").substr(15), "|Ingreso sistema VALES");
    vales::DESCONECTARSERVIDOR();

    std::ofstream(archivo) << "otra clave\n";  // the server refuses the account
    term.keys({kEnter});
    attempt("999", "juan", "clave123");
    term.keys({'x', kEsc});
    EXPECT_FALSE(vales::CONECTARSERVIDOR());
    EXPECT_TRUE(shown("No se puede conectar con servidor"));
    admin->Query("drop user 'vales_planta'@'127.0.0.1'");
}

// Esc in the password entry gives no password: the attempt is refused as a wrong
// password before the server is asked, even for a user whose stored password is empty.
TEST_F(LoginTest, EscAtThePasswordNeverLogsIn) {
    auto srv = prueba::conectar_mariadb("test");
    srv->Query("delete from usuarios where usuario='sinclave'");
    srv->Query("delete from accesos where usuario='sinclave'");
    ASSERT_FALSE(
        srv->Query("insert into usuarios (usuario, nombre, clave, l_activo, "
                   "acc_sistema_vales_off_line) values ('sinclave', 'Sin clave', '', 1, 1)")
            .NetErr());
    term.keys({kEnter});
    term.type("999").keys({kEnter}).type("sinclave").keys({kEnter, kEsc});
    term.keys({'x', kEsc});  // the message box, then Esc in the form that comes back
    EXPECT_FALSE(vales::CONECTARSERVIDOR());
    EXPECT_TRUE(shown("Usuario y/o password incorrecto"));
    EXPECT_FALSE(sesion.LCONECTADO);
    EXPECT_EQ(sesion.COD_USUARIO, "");
    EXPECT_EQ(sesion.OSERVER, nullptr) << "no connection was even opened";
    EXPECT_EQ(accesos_de("sinclave"), "");
    EXPECT_TRUE(term.script_empty());
    srv->Query("delete from usuarios where usuario='sinclave'");
}

// With the server in each SQL mode a plant may use.
using LoginEnModo = prueba::EnModoSql<LoginTest>;

long filas_de_accesos() {
    return prueba::conectar_mariadb("test")->Query("select * from accesos").LastRec();
}

// Names typed into the user field that must neither log in, nor break the statement, nor
// be changed on the way: each reaches the server as typed and is refused as unknown.
TEST_P(LoginEnModo, HostileUserNamesNeverLogInNorBreakTheStatement) {
    const std::string hostile[] = {
        "x' or '1'='1", "' or 1=1 -- ",  "juan'#",     "juan'/*",       "\\' or 1=1 #",
        "a\\",          "juan'; drop t", "\"juan\"",   "\xA4o\xA4o'",   "' union select",
        "juan%",        "juan_",         "%' or ''='", "'is not null#", "\\'is not null#",
        "\" or 1=1 #",
    };
    const long accesos = filas_de_accesos();
    for (const std::string& name : hostile) {
        SCOPED_TRACE(name);
        term.keys({kEnter});
        attempt("999", name, "clave123");
        term.keys({'x', kEsc});
        EXPECT_FALSE(vales::CONECTARSERVIDOR());
        EXPECT_TRUE(shown("Usuario y/o password incorrecto"));
        EXPECT_FALSE(shown("Error al validar usuario"));
        EXPECT_FALSE(sesion.LCONECTADO);
        vales::DESCONECTARSERVIDOR();
    }
    EXPECT_EQ(filas_de_accesos(), accesos) << "nobody was logged";
}

TEST_P(LoginEnModo, ANameWithQuotesAndAccentsLogsInAndIsStoredExactly) {
    auto srv = prueba::conectar_mariadb("test");
    const std::string name_ansi = "o'\xF1u\\z";  // o'ñu\z in Windows-1252
    srv->Query("delete from usuarios where usuario='" + srv->escape(name_ansi) + "'");
    srv->Query("delete from accesos where usuario='" + srv->escape(name_ansi) + "'");
    auto ins = srv->Query(
        "insert into usuarios (usuario, nombre, clave, l_activo, acc_sistema_vales_off_line) "
        "values ('" +
        srv->escape(name_ansi) + "', 'Prueba', password('Ab12'), 1, 1)");
    ASSERT_FALSE(ins.NetErr()) << srv->Error();
    term.keys({kEnter});
    attempt("999", cp::ansi_to_oem("O'\xD1U\\z").str(), "Ab12");  // typed in capitals
    term.keys({'x'});
    EXPECT_TRUE(vales::CONECTARSERVIDOR());
    EXPECT_EQ(sesion.COD_USUARIO, name_ansi);
    EXPECT_EQ(accesos_de(name_ansi).substr(15), "|Ingreso sistema VALES");
    srv->Query("delete from usuarios where usuario='" + srv->escape(name_ansi) + "'");
}

INSTANTIATE_TEST_SUITE_P(Modos, LoginEnModo, testing::ValuesIn(prueba::modos_sql()),
                         prueba::nombre_modo);

TEST(MarcaAcceso, FifteenCharacters) {
    EXPECT_EQ(vales::marca_acceso(6, 12, 2026, 9, 5), "06/12/26  09:05");
    EXPECT_EQ(vales::marca_acceso(31, 1, 2000, 23, 59), "31/01/00  23:59");
}

TEST_F(LoginTest, TheModeMenuAndTheFormAsTheUserSeesThem) {
    term.keys({kEnter, kEsc});
    EXPECT_FALSE(vales::CONECTARSERVIDOR());
    EXPECT_EQ(shown_screen(1), testing_support::picture(R"(










                                                            pantalla de antes








     ┌────────────────────────────┐
     │      Conección Local       │
     │      Conección Remota      │
     │         Cancelar           │
     └────────────────────────────┘











                                    Seleccione tipo de conexión
)"));
    EXPECT_EQ(shown_screen(0), testing_support::picture(R"(



                                                                     .,;;;;;;;;;;,.
                                                                  .;;;'`        `';;;.
                                                                .;;'                `;;.
                                                               ;;'      .,;;;;,.      `;;
                                                              ;;'     ,;;'    `;;,     `;;
                                                              ;;     ;;'        `;;     ;;
                                                              ;;     ;;          ;;     ;;
                                                              ;;     `;;,      ,;;'     ;;
                                                              `;;      `';;;;;;'`      ;;'
                                                               `;;.                  .;;'
                                                                 `;;.              .;;'
                                                                   `';;;,.    .,;;;'`
                                                                        ;;    ;;
                                                                        ;;    ;;
                                                                        ;;    ;;
                                                                        ;;    ;;
     ┌────────────────────────────┐                                     ;;    ;;
     │      Conección Local       │                                     ;;    ;;::::::.
     │      Conección Remota      │                                     ;;          :::
     │         Cancelar           │                                     ;;    ;;::::::'
     └────────────────────────────┘                                     ;;    ;;
                                                                        ;;    ;;:::.
     ┌────────────────────────────┐                                     ;;       ::'
     │ Empresa : 007              │                                     ;;    ;;::'
     │ Usuario :                  │                                     ;;    ;;
     │ PassWord:                  │                                     ;;    ;;::::.
     └────────────────────────────┘                                     ;;        :::
                                                                        `;,.  ;;::::'
                                                                          `';;'



              Ingrese código de empresa, nombre y clave de usuario      [Escape]Salir
)"));
    // Esc leaves the screen as it was.
    EXPECT_EQ(screen_text(), testing_support::picture("\n\n\n\n\n\n\n\n\n\n\n" +
                                                      std::string(60, ' ') + "pantalla de antes"));
}

}  // namespace
