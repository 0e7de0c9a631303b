// Vouchers saved and sent through different nodes of the cluster at the same time: commits
// on one node and on another that touch the same rows (the counter, stock, identities) are
// refused to all but one, which must never cost a voucher, a number or a row.
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "datos/envio.h"
#include "datos/estacion_local.h"
#include "datos/grabar_vale.h"
#include "datos/identidad.h"
#include "support/galera_prueba.h"
#include "support/offline_store.h"
#include "support/procesos.h"

namespace {

using Filas = std::vector<std::string>;

// What one save gave, as a child process reports it.
struct Resultado {
    int estado = 0;
    int intentos = 0;
    long numero = 0;
    int reconexiones = 0;  // times the workstation connected again to save it
    char id[33] = {};
    char fallo[160] = {};  // the server's text when it was not saved
};

// Saves `v` as a workstation of the plant does. The cluster can stall a commit past the
// program's wait limit, which gives the connection up: the user connects again and saves the
// same voucher again, which its identity finds on the server if the first save got in.
Resultado guardar(std::unique_ptr<TMySQLServer>& srv, int nodo, const datos::Vale& v) {
    datos::Grabacion g = datos::grabar_vale(*srv, v, "galera");
    int reconexiones = 0;
    for (; !srv->connected() && reconexiones < 3; ++reconexiones) {
        srv = prueba::conectar_galera(nodo);
        g = datos::grabar_vale(*srv, v, "galera");
    }
    if (g.estado == datos::Grabacion::ya_estaba) g.estado = datos::Grabacion::grabado;
    Resultado r{g.estado, g.intentos, g.numero, reconexiones, {}, {}};
    std::strncpy(r.id, v.identidad.id.c_str(), sizeof r.id - 1);
    std::strncpy(r.fallo, g.fallo.texto.c_str(), sizeof r.fallo - 1);
    return r;
}

// Product ZPRUEBA01 002 (its stock shared with 001): one activity and one unit of the
// controlled component ZCOMP0001 per unit, 1000 of it in warehouse 77.
class ValesEnCluster : public ::testing::Test {
  protected:
    ValesEnCluster() {
        borrar();
        contador_ = std::stol(leer("select num_vales from paramet")[0]);
        for (const char* s :
             {"insert into bodegas (numero_bod, nombre_bod, l_activo, l_vales) values "
              "(77, 'Bodega de pruebas', 1, 1)",
              "insert into prodcmp (codi_prod, desc_prod, unid_med, l_ctrl_stk) values "
              "('ZCOMP0001', 'Arena', 'KG', 1)",
              "insert into prodvtas (codi_prod, codi_form, desc_prod, desc_form, unid_med, "
              "l_ctrl_stk, codi_form_rel) values ('ZPRUEBA01', '001', 'Pieza', 'Propia', "
              "'UN', 1, '---'), ('ZPRUEBA01', '002', 'Pieza', 'Comparte', 'UN', 1, '001')",
              "insert into formulas (prd_sale, prd_buy, tipo_prd, codi_form, consumo) values "
              "('ZPRUEBA01002', '900000001', 'I', '', 1), "
              "('ZPRUEBA01002', 'ZCOMP0001', 'I', '', 1)",
              "insert into stock_bodegas (numero_bod, tipo_prd, codi_prod, codi_form, stock) "
              "values (77, 'I', 'ZCOMP0001', '', 1000), (77, 'P', 'ZPRUEBA01', '001', 10)"})
            EXPECT_FALSE(nodo1_->Query(s).NetErr()) << s << ": " << nodo1_->Error();
    }
    ~ValesEnCluster() override {
        borrar();
        nodo1_->Query("update paramet set num_vales=" + std::to_string(contador_));
    }
    void borrar() {
        for (const char* s :
             {"delete i from vales_identidad i join vales v on v.nume_folio=i.nume_folio where "
              "v.numero_bod=77",
              "delete from bodegas where numero_bod=77",
              "delete from prodcmp where codi_prod like 'Z%'",
              "delete from prodvtas where codi_prod like 'Z%'",
              "delete from formulas where prd_sale like 'Z%'",
              "delete from stock_bodegas where numero_bod=77",
              "delete from vales where numero_bod=77", "delete from mov_stock where numero_bod=77"})
            nodo1_->Query(s);
    }
    // Rows read on node 1 once it has applied everything the cluster committed.
    Filas leer(const std::string& sql) {
        nodo1_->Query("set session wsrep_sync_wait=1");
        return prueba::filas(*nodo1_, sql);
    }
    static datos::Vale vale(double cantidad, double operario = 1) {
        datos::Vale v;
        v.cabecera.producto = "ZPRUEBA01";
        v.cabecera.formula = "002";
        v.cabecera.bodega = 77;
        v.cabecera.fecha = *rt::Fecha::from_ymd(2026, 12, 11);
        v.cabecera.cantidad = cantidad;
        datos::DatosItm item = datos::item_nuevo("900000001", 1, cantidad);
        item.operario = operario;
        item.especificacion = "A01";
        item.hora_inicio = "08:00";
        item.hora_termino = "09:00";
        v.items = {item};
        return v;
    }
    // Every voucher on the server complete (its two rows and two movements), each under a
    // number of its own registered once, and every stock its start plus its movements.
    void cada_vale_completo(const std::set<long>& folios) {
        std::map<long, std::string> esperado;
        for (long f : folios) esperado[f] = "2";
        for (const char* tabla : {"vales|nume_folio", "mov_stock|nume_doc"}) {
            const std::string t(tabla);
            const std::string nombre = t.substr(0, t.find('|')), folio = t.substr(t.find('|') + 1);
            std::map<long, std::string> filas;
            for (const auto& f : leer("select " + folio + ", count(*) from " + nombre +
                                      " where numero_bod=77 group by " + folio))
                filas[std::stol(f)] = f.substr(f.find('|') + 1);
            EXPECT_EQ(filas, esperado) << nombre;
        }
        EXPECT_EQ(leer("select count(*), count(distinct i.nume_folio) from vales_identidad i "
                       "join vales v on v.nume_folio=i.nume_folio and v.codi_oper<>0 where "
                       "v.numero_bod=77"),
                  Filas{std::to_string(folios.size()) + "|" + std::to_string(folios.size())});
        EXPECT_EQ(leer("select s.stock - 1000 - sum(m.cantidad) from stock_bodegas s join "
                       "mov_stock m on m.numero_bod=77 and m.codi_prod=s.codi_prod where "
                       "s.numero_bod=77 and s.codi_prod='ZCOMP0001'"),
                  Filas{"0.0000000"});
        EXPECT_EQ(leer("select s.stock - 10 - sum(m.cantidad) from stock_bodegas s join "
                       "mov_stock m on m.numero_bod=77 and m.codi_prod=s.codi_prod where "
                       "s.numero_bod=77 and s.codi_prod='ZPRUEBA01'"),
                  Filas{"0.0000000"});
        EXPECT_EQ(leer("select num_vales from paramet"),
                  Filas{std::to_string(contador_ + static_cast<long>(folios.size()))});
    }

    std::unique_ptr<TMySQLServer> nodo1_ = prueba::conectar_galera(1);
    long contador_ = 0;
};

// Four workstations, each on a node (the fourth on the first again), save 25 vouchers each
// at the same moment: each voucher is saved complete under a number of its own, or refused
// as busy with nothing of it written, also when a stalled commit cost its connection.
TEST_F(ValesEnCluster, SavesThroughDifferentNodesNeverShareANumberNorLeaveHalfAVoucher) {
    constexpr int kProcesos = 4, kVales = 25;
    const auto resultados =
        prueba::en_procesos<Resultado>(kProcesos, [](int p, const auto& informar) {
            auto srv = prueba::conectar_galera(p % 3 + 1);
            for (int v = 0; v < kVales; ++v) {
                datos::Vale un_vale = vale(1);
                un_vale.identidad.id = datos::nueva_identidad();
                informar(guardar(srv, p % 3 + 1, un_vale));
            }
        }).value_or(std::vector<Resultado>{});
    ASSERT_EQ(resultados.size(), std::size_t(kProcesos * kVales));
    std::set<long> folios;
    long guardados = 0, intentos = 0, reconexiones = 0;
    for (const Resultado& r : resultados) {
        intentos += r.intentos;
        reconexiones += r.reconexiones;
        const auto registrado = leer(
            std::string("select nume_folio from vales_identidad where id_vale='") + r.id + "'");
        if (r.estado == datos::Grabacion::grabado) {
            ++guardados;
            EXPECT_TRUE(folios.insert(r.numero).second) << "number " << r.numero << " given twice";
            EXPECT_EQ(registrado, Filas{std::to_string(r.numero)});
        } else {
            EXPECT_EQ(r.estado, datos::Grabacion::ocupado) << r.fallo;
            EXPECT_EQ(registrado, Filas{}) << "refused, yet registered";
        }
    }
    cada_vale_completo(folios);
    std::printf(
        "[ cifras   ] %ld de %d vales guardados a traves de 3 nodos, %.2f intentos por vale, "
        "%ld conexiones perdidas\n",
        guardados, kProcesos * kVales, double(intentos) / double(resultados.size()), reconexiones);
}

// Store A holds ten pending vouchers when it is copied to a second workstation (B); each then
// types ten more. Both upload at the same time through two nodes: the ten they share reach
// the server once, the others once each, and every voucher marked sent in either store is
// on the server as that store holds it.
TEST_F(ValesEnCluster, AStoreAndItsCopyUploadingThroughTwoNodesSendEveryVoucherOnce) {
    testing_support::ScratchStore a, b;
    auto tipear = [](const testing_support::ScratchStore& s, double cantidad, int cuantos) {
        rt::TODBC RS(s.connection());
        for (int i = 0; i < cuantos; ++i) {
            const datos::Vale v = vale(cantidad, i % 2 ? 1 : 3);
            ASSERT_TRUE(datos::grabar_vale_local(RS, v.cabecera, v.items));
        }
    };
    tipear(a, 1, 10);
    a.run("select 1");  // nothing left in the write-ahead log: the file is the whole store
    std::filesystem::copy_file(a.file(), b.file(),
                               std::filesystem::copy_options::overwrite_existing);
    tipear(a, 2, 10);
    tipear(b, 3, 10);
    const testing_support::ScratchStore* tiendas[] = {&a, &b};
    // Every pending voucher of the store, in order, through node `nodo`.
    auto subir = [&](const testing_support::ScratchStore& s, int nodo) {
        auto srv = prueba::conectar_galera(nodo);
        rt::TODBC RS(s.connection());
        const std::string estacion = datos::identidad_estacion(RS).value_or("");
        RS.SetSQL("select n_interno from vales_cab where c_estado<>'2' order by n_interno");
        RS.Open();
        std::vector<long> pendientes;
        for (RS.First(); !RS.Eof(); RS.Skip())
            pendientes.push_back(std::stol(RS.FieldValue("n_interno")));
        RS.Close();
        for (long n : pendientes) datos::enviar_vale_local(RS, *srv, "galera", estacion, n);
    };
    EXPECT_TRUE(
        prueba::en_procesos<Resultado>(2, [&](int p, const auto&) { subir(*tiendas[p], p + 1); }));
    for (int p = 0; p < 2; ++p) subir(*tiendas[p], 3);  // what a busy cluster left pending

    std::set<long> folios;
    std::set<std::string> ids;
    for (const auto* s : tiendas) {
        EXPECT_EQ(s->rows("select count(*) from vales_cab where c_estado<>'2'"), Filas{"0"});
        rt::TODBC RS(s->connection());
        for (long n = 1; n <= 20; ++n) {
            datos::ValeLocal local;
            ASSERT_EQ(datos::leer_vale_local(RS, n, local), datos::Lectura::leido);
            ids.insert(local.id_vale);
            const auto folio = leer("select nume_folio from vales_identidad where id_vale='" +
                                    local.id_vale + "'");
            ASSERT_EQ(folio.size(), 1u) << "voucher " << n << " marked sent, not on the server";
            folios.insert(std::stol(folio[0]));
            datos::Sentencias sentencias(*nodo1_);
            EXPECT_EQ(datos::comparar_con_servidor(sentencias, std::stol(folio[0]), local.cabecera,
                                                   local.items),
                      datos::Comparacion::igual)
                << "voucher " << n;
        }
    }
    EXPECT_EQ(ids.size(), 30u);
    EXPECT_EQ(folios.size(), 30u);
    cada_vale_completo(folios);
}

}  // namespace
