#include "vales/fuera_de_linea/DatosHacia_Servidor.h"

#include <string>
#include <vector>

#include "abm/abm_rutinas.h"
#include "datos/almacen.h"
#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/screen/console.h"
#include "ui/resguardo.h"
#include "ui/rutinas2.h"
#include "ui/vermemo.h"
#include "vales/fuera_de_linea/envio_vales.h"
#include "vales/fuera_de_linea/vales_pendientes.h"
#include "vales/ingreso/resultado_grabacion.h"

namespace vales {
namespace {

cp::Oem numero(long n) {
    return cp::Oem(std::to_string(n));
}

struct Resumen {
    long total = 0;
    long enviados = 0;    // the server holds them now (sent in this run or found there)
    long sin_marcar = 0;  // held by the server, still pending in the store
    // Vouchers left pending because they cannot be read whole, hold what the entry form
    // refuses, or because the server holds their identity with another content: the user
    // must hear of them.
    std::vector<std::string> rechazados;
    bool sin_registro = false;  // the server lacks the register of identities
};

// Sends the vouchers of the table in ascending local number. A voucher that cannot be read
// or that the server refuses stays pending; the next run tries it again.
Resumen enviar_todos(rt::TODBC& RS, rt::wt::WorkTable& vales, const std::string& estacion) {
    Resumen r;
    r.total = static_cast<long>(vales.rec_count());
    long n = 0;
    for (vales.go_top(); !vales.eof(); vales.skip()) {
        ui::MSG("Enviando vale " + numero(++n) + " de " + numero(r.total));
        rt::con().flush();
        const long interno = static_cast<long>(vales.number("N_INTERNO"));
        const datos::Envio envio = enviar_vale(RS, estacion, interno, /*interactivo=*/false);
        if (envio.lectura != datos::Lectura::leido || envio.defecto ||
            envio.grabacion.estado == datos::Grabacion::distinto)
            r.rechazados.push_back(motivo_no_enviado(interno, envio));
        r.sin_registro = r.sin_registro || envio.grabacion.sin_registro;
        if (!envio.en_servidor()) continue;
        ++r.enviados;
        if (!envio.marcado) ++r.sin_marcar;
    }
    return r;
}

void informar(const Resumen& r) {
    // The progress line gives way to the notice (once per session) under the summary.
    avisar_sin_registro(r.sin_registro);
    ui::MSGBOX("De " + numero(r.total) + " vales " + numero(r.enviados) +
               " fueron grabados correctamente");
    if (r.sin_marcar > 0) {
        ui::MSGBOX(numero(r.sin_marcar) +
                   " vales grabados en el servidor no se marcaron en la base local: se "
                   "marcarán en el próximo envío"_oem);
    }
    if (!r.rechazados.empty()) {
        std::string texto = "Vales no enviados, que se mantienen pendientes:"_ansi;
        for (const auto& linea : r.rechazados) texto += "\r\n" + linea;
        ui::VERMEMO(cp::ansi_to_oem(texto));
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
        // made again by the next upload (the server holds the voucher's identity), so the
        // marks need not wait for the disk one by one; the identities above already have.
        datos::ejecutar(RS, "PRAGMA synchronous=NORMAL");
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
    ui::Resguardo resguardo("w/b,+w/w,,,n/w");
    if (!datos::ses().LCONECTADO || !datos::ses().OSERVER) {
        ui::MSGBOX("No existe conexión con el servidor"_oem);
    } else if (abm::SISTEMA_PERMITE("acc_ingreso") &&
               ui::CONFIRMA("Confirma grabar vales pendientes en servidor")) {
        rt::TODBC RS(conexion_local);
        enviar(RS);
        RS.Close();
    }
}

}  // namespace vales
