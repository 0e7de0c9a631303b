#include "vales/DatosHacia_Servidor.h"

#include "abm/abm_rutinas.h"
#include "abm/resguardo.h"
#include "abm/rutinas2.h"
#include "comun/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/screen/console.h"
#include "vales/envio_vales.h"
#include "vales/vales_pendientes.h"

namespace vales {
namespace {

cp::Oem numero(long n) {
    return cp::Oem(std::to_string(n));
}

struct Resumen {
    long total = 0;
    long enviados = 0;    // the server holds them now (sent in this run or found there)
    long sin_marcar = 0;  // held by the server, still pending in the store
};

// Sends the vouchers of the table in ascending local number. A voucher that cannot be read
// or that the server refuses stays pending; the next run tries it again.
Resumen enviar_todos(rt::TODBC& RS, rt::wt::WorkTable& vales, const std::string& estacion) {
    Resumen r;
    r.total = static_cast<long>(vales.rec_count());
    long n = 0;
    for (vales.go_top(); !vales.eof(); vales.skip()) {
        abm::MSG("Enviando vale " + numero(++n) + " de " + numero(r.total));
        rt::con().flush();
        const OrigenVale origen{estacion, static_cast<long>(vales.number("N_INTERNO"))};
        ValeLocal vale;
        if (leer_vale_local(RS, origen.n_interno, vale) != Lectura::leido) continue;
        const Envio envio = enviar_vale(RS, origen, vale, /*show_shortage=*/false);
        if (envio.estado != Envio::enviado && envio.estado != Envio::ya_estaba) continue;
        ++r.enviados;
        if (!envio.marcado) ++r.sin_marcar;
    }
    return r;
}

void informar(const Resumen& r) {
    abm::MSGBOX("De " + numero(r.total) + " vales " + numero(r.enviados) +
                " fueron grabados correctamente");
    if (r.sin_marcar > 0) {
        abm::MSGBOX(numero(r.sin_marcar) +
                    " vales grabados en el servidor no se marcaron en la base local: se "
                    "marcarán en el próximo envío"_oem);
    }
}

void enviar(rt::TODBC& RS) {
    ValesPendientes pendientes;
    if (!pendientes.abrir()) return;
    pendientes.llenar(RS, /*con_estado=*/false);
    Resumen r;
    r.total = pendientes.total();
    if (r.total > 0) {
        const auto estacion = preparar_envio(RS);
        if (!estacion) return;
        // From here on the store only marks vouchers sent. A mark lost in a power cut is
        // made again by the next upload (the server holds the voucher's origin), so the
        // marks need not wait for the disk one by one; the identity above already has.
        RS.SetSQL("PRAGMA synchronous=NORMAL");
        RS.Open();
        RS.Close();
        r = enviar_todos(RS, pendientes.tabla(), *estacion);
    }
    informar(r);
}

}  // namespace

void DATOSHACIA_SERVIDOR() {
    DATOSHACIA_SERVIDOR(rt::offline_connection_string());
}

void DATOSHACIA_SERVIDOR(const std::string& conexion_local) {
    abm::Resguardo resguardo("w/b,+w/w,,,n/w");
    if (!ses().LCONECTADO || !ses().OSERVER) {
        abm::MSGBOX("No existe conexión con el servidor"_oem);
    } else if (abm::SISTEMA_PERMITE("acc_ingreso") &&
               abm::CONFIRMA("Confirma grabar vales pendientes en servidor")) {
        rt::TODBC RS(conexion_local);
        enviar(RS);
        RS.Close();
    }
}

}  // namespace vales
