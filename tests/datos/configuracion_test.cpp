// The plant's configuration files: companies, title and server settings over the built-in
// ones, the per-user file over the machine's, and a line that cannot be read named.
#include "datos/configuracion.h"

#include <gtest/gtest.h>

#include <fstream>

#include "datos/servidores.h"
#include "runtime/common/codepage.h"
#include "support/entorno.h"
#include "support/offline_store.h"

namespace {

using testing_support::EnvVar;

std::vector<std::string> empresas(const datos::Configuracion& c) {
    std::vector<std::string> out;
    for (const auto& e : c.empresas) out.push_back(e.codigo + "|" + e.base + "|" + e.nombre);
    return out;
}

TEST(Configuracion, ThePlantsFilesOverTheBuiltInValues) {
    testing_support::TempFolder folder;
    const auto archivo = [&](const char* nombre, const std::string& texto) {
        const std::string ruta = (folder.path() / nombre).string();
        std::ofstream(ruta) << texto;
        return ruta;
    };
    const std::string maquina = archivo("maquina.conf",
                                        "; the machine's file\n"
                                        "[servidor]\n"
                                        "local = 10.0.0.5:3307\n"
                                        "usuario = vales\n"
                                        "[pantalla]\n"
                                        "titulo = Cerámica del Sur\n"
                                        "[empresa 314]\n"
                                        "base = planta314\n"
                                        "nombre = Cerámica del Sur\n"
                                        "[empresa 225]\n"
                                        "nombre = Tarsin S.A.\n");
    const std::string usuario = archivo("usuario.conf",
                                        "[servidor]\n"
                                        "local = 10.0.0.6\n"
                                        "colour = azul\n"
                                        "[empresa 3141]\n"
                                        "base = mala\n"
                                        "esto no es una linea\n");
    EnvVar local(datos::VAR_SERVIDOR_LOCAL, nullptr);
    EnvVar usuario_srv(datos::VAR_USUARIO_SERVIDOR, "de_la_linea_de_comandos");
    datos::Configuracion c;
    datos::leer_configuracion({maquina, usuario, (folder.path() / "no_existe").string()}, c);
    EXPECT_EQ(empresas(c), (std::vector<std::string>{
                               "007|velmo|Refractarios Velmo Ltda.",
                               "225|tarsin|Tarsin S.A.",
                               "999|test|Empresa de pruebas...",
                               "314|planta314|" + "Cerámica del Sur"_ansi,
                           }));
    EXPECT_EQ(c.titulo, "Cerámica del Sur"_ansi);
    EXPECT_EQ(c.avisos,
              std::vector<std::string>{usuario + ", línea 3: no se reconoce (vale lo demás y, "
                                                 "para ella, lo de omisión)"});
    EXPECT_EQ(datos::servidor_local(), "10.0.0.6") << "the user's file over the machine's";
    EXPECT_EQ(datos::usuario_servidor(), "de_la_linea_de_comandos") << "the environment wins";
    EXPECT_FALSE(c.empresa("123"));
    EXPECT_EQ(c.empresa("314")->base, "planta314");
}

}  // namespace
