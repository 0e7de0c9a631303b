// The master data the voucher entry checks, answered by either store: once the download has
// copied the server's tables, the off-line store's copies answer every lookup of the entry as
// the server does, but where the copy differs by design (only active products are copied,
// and the copy has no active flag for warehouses).
#include "datos/maestros.h"

#include <gtest/gtest.h>

#include "datos/descarga.h"
#include "runtime/common/texto.h"
#include "support/offline_store.h"
#include "support/servidor_prueba.h"

namespace {

using Filas = std::vector<std::string>;

std::vector<std::string> codigos(const std::vector<datos::Actividad>& a) {
    std::vector<std::string> out;
    for (const auto& x : a)
        out.push_back(rt::trim(x.codigo) + "|" + std::to_string(x.cantidad_unitaria) + "|" +
                      rt::trim(x.nombre));
    return out;
}
std::vector<std::string> codigos(const std::vector<datos::Especificacion>& e) {
    std::vector<std::string> out;
    for (const auto& x : e) out.push_back(x.codigo + "|" + rt::trim(x.nombre));
    return out;
}
std::string nombre(const std::optional<std::string>& n) {
    return n ? rt::trim(*n) : "(ninguno)";
}

TEST(Maestros, TheOffLineCopiesAnswerTheEntrysLookupsAsTheServerDoes) {
    auto srv = prueba::conectar_mariadb("test");
    testing_support::ScratchStore store;
    rt::TODBC RS(store.connection());
    for (const auto tabla : datos::kTablasMaestras)
        ASSERT_EQ(datos::copiar_tabla(*srv, RS, tabla).estado, datos::Copia::copiada)
            << datos::nombre_de(tabla);
    datos::MaestrosServidor servidor(srv.get());
    datos::MaestrosLocales local(RS);
    datos::Fallo fallo;

    for (const auto& fila :
         prueba::filas(*srv, "select codi_prod, codi_form from prodvtas where l_activo=true")) {
        const std::string p = fila.substr(0, fila.find('|')), f = fila.substr(fila.find('|') + 1);
        SCOPED_TRACE(p + " " + f);
        EXPECT_TRUE(local.producto(p) && servidor.producto(p));
        EXPECT_TRUE(local.formula(p, f) && servidor.formula(p, f));
        EXPECT_EQ(nombre(local.nombre_formula(p, f)), nombre(servidor.nombre_formula(p, f)));
        datos::DatosCab cab;
        cab.producto = rt::pad_right(p, 9);
        cab.formula = rt::pad_right(f, 3);
        const auto en_local = local.actividades(cab, fallo);
        const auto en_servidor = servidor.actividades(cab, fallo);
        ASSERT_TRUE(en_local && en_servidor);
        EXPECT_EQ(codigos(*en_local), codigos(*en_servidor));
        for (const auto& a : *en_servidor) {
            const auto e_local = local.especificaciones(a.codigo, fallo);
            const auto e_servidor = servidor.especificaciones(a.codigo, fallo);
            ASSERT_TRUE(e_local && e_servidor);
            EXPECT_EQ(codigos(*e_local), codigos(*e_servidor)) << a.codigo;
        }
    }
    for (const auto& n : prueba::filas(*srv, "select codi_oper from operario")) {
        SCOPED_TRACE("operario " + n);
        EXPECT_EQ(local.operario(std::stod(n)), servidor.operario(std::stod(n)));
        EXPECT_EQ(local.operario_activo(std::stod(n)), servidor.operario_activo(std::stod(n)));
        EXPECT_EQ(nombre(local.nombre_operario(std::stod(n))),
                  nombre(servidor.nombre_operario(std::stod(n))));
    }
    for (const auto& n : prueba::filas(*srv, "select numero_bod from bodegas")) {
        EXPECT_TRUE(local.bodega(std::stod(n)).has_value()) << n;
        EXPECT_TRUE(servidor.bodega(std::stod(n)).has_value()) << n;
    }
    // What neither has.
    for (datos::Maestros* m :
         {static_cast<datos::Maestros*>(&local), static_cast<datos::Maestros*>(&servidor)}) {
        EXPECT_FALSE(m->producto("NOEXISTE0"));
        EXPECT_FALSE(m->bodega(998).has_value());
        EXPECT_FALSE(m->operario_activo(997).has_value());
        EXPECT_EQ(m->nombre_producto("O'Brien"), std::nullopt);
    }
}

}  // namespace
