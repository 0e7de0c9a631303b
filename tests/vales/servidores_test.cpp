// The two server addresses and the server account: compiled in, or taken from the
// environment and the command line.
#include "datos/servidores.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "support/entorno.h"
#include "support/offline_store.h"
#include "vales/operaciones.h"

namespace {

using testing_support::EnvVar;

TEST(Servidores, CompiledInAddressesWithoutEnvironment) {
    EnvVar local(datos::VAR_SERVIDOR_LOCAL, nullptr);
    EnvVar remote(datos::VAR_SERVIDOR_REMOTO, nullptr);
    EXPECT_EQ(datos::servidor_local(), datos::SERVIDOR_LOCAL_FIJO);
    EXPECT_EQ(datos::servidor_remoto(), datos::SERVIDOR_REMOTO_FIJO);
    EXPECT_NE(datos::servidor_local(), datos::servidor_remoto());
}

TEST(Servidores, EnvironmentOverridesEachAddressAlone) {
    struct Case {
        const char* local_env;
        std::string local;  // expected
    };
    const Case cases[] = {
        {"127.0.0.1:33061", "127.0.0.1:33061"},
        {"  10.0.0.5  ", "10.0.0.5"},
        {"", std::string(datos::SERVIDOR_LOCAL_FIJO)},
        {"127.0.0.1:notaport", std::string(datos::SERVIDOR_LOCAL_FIJO)},
    };
    for (const auto& c : cases) {
        EnvVar local(datos::VAR_SERVIDOR_LOCAL, c.local_env);
        EnvVar remote(datos::VAR_SERVIDOR_REMOTO, nullptr);
        EXPECT_EQ(datos::direccion_servidor(true), c.local) << c.local_env;
        EXPECT_EQ(datos::direccion_servidor(false), datos::SERVIDOR_REMOTO_FIJO);
    }
    EnvVar remote(datos::VAR_SERVIDOR_REMOTO, "srv.example:3307");
    EXPECT_EQ(datos::servidor_remoto(), "srv.example:3307");
}

TEST(Servidores, AccountFromEnvironmentOrPasswordFile) {
    testing_support::TempFolder folder;
    const std::string archivo = (folder.path() / "clave").string();
    std::ofstream(archivo) << "Cl4ve de la planta\r\nsegunda linea\n";
    const std::string vacio = (folder.path() / "vacia").string();
    std::ofstream(vacio) << "";
    struct Case {
        const char *usuario, *clave, *clave_archivo;
        std::string usuario_visto, clave_vista;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, "root", "58206137"},
        {"", "", "", "root", "58206137"},
        {"vales_planta", "otra clave", nullptr, "vales_planta", "otra clave"},
        {"vales_planta", "otra clave", archivo.c_str(), "vales_planta", "Cl4ve de la planta"},
        {nullptr, nullptr, vacio.c_str(), "root", ""},
        {nullptr, "otra", "/no/existe", "root", ""},  // refused at start, never the default
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.usuario ? c.usuario : "-") + " " + (c.clave ? c.clave : "-") +
                     " " + (c.clave_archivo ? c.clave_archivo : "-"));
        EnvVar usuario(datos::VAR_USUARIO_SERVIDOR, c.usuario);
        EnvVar clave(datos::VAR_CLAVE_SERVIDOR, c.clave);
        EnvVar clave_archivo(datos::VAR_CLAVE_SERVIDOR_ARCHIVO, c.clave_archivo);
        EXPECT_EQ(datos::usuario_servidor(), c.usuario_visto);
        EXPECT_EQ(datos::clave_servidor(), c.clave_vista);
    }
    EXPECT_FALSE(datos::leer_clave_de_archivo(folder.path().string())) << "a folder";
}

// The supervisor's password a plant sets (a crypt(3) hash in a file only its owner reads, or
// the password in the environment) replaces the demo's.
TEST(Servidores, SupervisorPasswordSetByThePlant) {
    testing_support::TempFolder folder;
    const auto archivo = [&](const char* nombre, const std::string& linea, int modo) {
        const std::string ruta = (folder.path() / nombre).string();
        std::ofstream(ruta) << linea << "\n";
        ::chmod(ruta.c_str(), static_cast<mode_t>(modo));
        return ruta;
    };
    // openssl passwd -6 -salt s4lt0pl4nt4 'Plant@2026'
    const std::string hash =
        "$6$s4lt0pl4nt4$UyJHWZIu.MNhA22NiIKxwcAteEFQj4U1KE9WGIIoTY8zviYrsM2Rr860aXUCgnDtE7FeSwd5"
        "mnXUzk..xiBv2/";
    const std::string propio = archivo("propio", hash, 0600);
    const std::string legible = archivo("legible", hash, 0644);
    const std::string sin_hash = archivo("sin_hash", "Plant@2026", 0600);
    struct Case {
        const char *clave, *clave_archivo;
        std::vector<std::string> aceptadas;
    };
    const Case cases[] = {
        {nullptr, nullptr, {"58206137"}},
        {"Otra-2026", nullptr, {"Otra-2026"}},
        {"Otra-2026", propio.c_str(), {"Plant@2026"}},
        {nullptr, legible.c_str(), {}},  // others may read the hash
        {nullptr, sin_hash.c_str(), {}},
        {nullptr, "/no/existe", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.clave ? c.clave : "-") + " " +
                     (c.clave_archivo ? c.clave_archivo : "-"));
        EnvVar clave(datos::VAR_CLAVE_SUPERVISOR, c.clave);
        EnvVar clave_archivo(datos::VAR_CLAVE_SUPERVISOR_ARCHIVO, c.clave_archivo);
        std::vector<std::string> aceptadas;
        for (const char* probada : {"58206137", "Otra-2026", "Plant@2026", "", "Plant@2027"})
            if (datos::clave_supervisor_correcta(probada)) aceptadas.push_back(probada);
        EXPECT_EQ(aceptadas, c.aceptadas);
    }
}

// Options set the variables the program reads; a bad value stops the program at once.
TEST(Servidores, CommandLineOptions) {
    testing_support::TempFolder folder;
    const std::string archivo = (folder.path() / "clave").string();
    std::ofstream(archivo) << "secreta\n";
    struct Case {
        std::vector<std::string> args;
        bool starts;
        int status;
    };
    const Case cases[] = {
        {{"--usuario-servidor", "vales_planta", "--clave-servidor-archivo", archivo}, true, 0},
        {{"--servidor-local", "10.0.0.5:3307"}, true, 0},
        {{"--usuario-servidor"}, false, 2},
        {{"--usuario-servidor", ""}, false, 2},
        {{"--clave-servidor-archivo", "/no/existe"}, false, 2},
        {{"--clave-servidor-archivo", folder.path().string()}, false, 2},
        {{"--clave-servidor", "secreta"}, false, 2},  // never on the command line
        {{"--help"}, false, 0},
        {{"--version"}, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.front());
        EnvVar usuario(datos::VAR_USUARIO_SERVIDOR, nullptr);
        EnvVar clave_archivo(datos::VAR_CLAVE_SERVIDOR_ARCHIVO, nullptr);
        EnvVar local(datos::VAR_SERVIDOR_LOCAL, nullptr);
        std::vector<char*> argv{const_cast<char*>("vales")};
        for (const auto& a : c.args) argv.push_back(const_cast<char*>(a.c_str()));
        vales::Opciones opciones;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const bool starts =
            vales::leer_opciones(static_cast<int>(argv.size()), argv.data(), opciones);
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(starts, c.starts) << err;
        if (!starts) {
            EXPECT_EQ(opciones.salida, c.status);
        }
        if (c.args.front() == "--version") {
            EXPECT_EQ(out, "vales " VALES_VERSION "\n");
        }
        if (c.args.front() == "--help") {
            for (const char* s : {"--usuario-servidor", "--clave-servidor-archivo",
                                  "VALES_CLAVE_SERVIDOR", "VALES_USUARIO_SERVIDOR"})
                EXPECT_NE(out.find(s), std::string::npos) << s;
        }
        if (starts && c.args.front() == "--usuario-servidor") {
            EXPECT_EQ(datos::usuario_servidor(), "vales_planta");
            EXPECT_EQ(datos::clave_servidor(), "secreta");
        }
    }
    EnvVar roto(datos::VAR_CLAVE_SERVIDOR_ARCHIVO, "/no/existe");
    char* solo[] = {const_cast<char*>("vales")};
    vales::Opciones opciones;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(vales::leer_opciones(1, solo, opciones));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("/no/existe"), std::string::npos);
    EXPECT_EQ(opciones.salida, 2);
}

}  // namespace
