#include "vales/espera_servidor.h"

#include <optional>
#include <string>

#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/screen/console.h"
#include "runtime/server/server_wait.h"
#include "ui/rutinas2.h"

namespace vales {
namespace {

constexpr double kAvisoTras = 1.0;  // seconds of silence before the message line says so

// The message line as it was before the notice, while the notice shows.
struct Aviso {
    std::optional<rt::SavedRegion> linea;
    int segundos = -1;  // the seconds the notice shows
};
Aviso g_aviso;

void avisar_espera(rt::Console& c, double waited) {
    if (waited < kAvisoTras) return;
    const int last = rt::kRows - 1;
    if (!g_aviso.linea) g_aviso.linea = c.save_region(last, 0, last, rt::kCols - 1);
    const int segundos = static_cast<int>(waited);
    if (segundos == g_aviso.segundos) return;
    g_aviso.segundos = segundos;
    ui::MSG("Esperando respuesta del servidor... " + cp::Oem(std::to_string(segundos) + " s"));
    c.flush();
}

void pausa(double seconds, double waited) {
    rt::Console& c = rt::con();
    c.queue_typed_keys();
    avisar_espera(c, waited);
    c.sleep(seconds);
    c.queue_typed_keys();
}

void fin(bool abandonado) {
    rt::Console& c = rt::con();
    c.queue_typed_keys();
    if (abandonado) {
        datos::ses().LCONECTADO = false;
        ui::MSGBOX(cp::utf8_to_oem(kServidorNoResponde));  // over the waiting notice
    }
    if (g_aviso.linea) {
        c.restore_region(*g_aviso.linea);
        c.flush();
    }
    g_aviso = {};
}

void perdida() {
    rt::con().queue_typed_keys();
    datos::ses().LCONECTADO = false;
    ui::MSGBOX(cp::utf8_to_oem(kConexionPerdida));
}

}  // namespace

void instalar_espera_servidor() {
    rt::ServerWait w;
    w.clock = [] { return rt::con().monotonic(); };
    w.pause = pausa;
    w.done = fin;
    w.lost = perdida;
    rt::install_server_wait(std::move(w));
}

}  // namespace vales
