// The command line: the folder of the earlier system's product table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "abm/productos_anterior.h"
#include "vales/operaciones.h"

namespace {

bool leer(std::vector<std::string> args, vales::Opciones& opciones) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    return vales::leer_opciones(static_cast<int>(argv.size()), argv.data(), opciones);
}

TEST(Opciones, TheEarlierSystemsProductFolder) {
    const char* antes = std::getenv(abm::VAR_PRODUCTOS_ANTERIOR);
    const std::string guardado = antes ? antes : "";
    setenv(abm::VAR_PRODUCTOS_ANTERIOR, "/desde/el/entorno", 1);
    EXPECT_EQ(abm::tabla_productos_anterior(), "/desde/el/entorno/prodvtas.dbf");

    vales::Opciones opciones;
    EXPECT_TRUE(leer({"vales", "--productos-anterior", "/mnt/produc/arti007"}, opciones));
    EXPECT_EQ(abm::tabla_productos_anterior(), "/mnt/produc/arti007/prodvtas.dbf")
        << "the command line wins";

    EXPECT_FALSE(leer({"vales", "--productos-anterior"}, opciones));
    EXPECT_EQ(opciones.salida, 2);
    EXPECT_FALSE(leer({"vales", "--productos-anterior", ""}, opciones));

    if (antes)
        setenv(abm::VAR_PRODUCTOS_ANTERIOR, guardado.c_str(), 1);
    else
        unsetenv(abm::VAR_PRODUCTOS_ANTERIOR);
}

}  // namespace
