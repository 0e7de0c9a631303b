// The product catalogue over 100,000 products on the server: the time from the key that
// searches (Enter, F8) to the next key wait, when the first page of the result is on the
// screen. Prefix searches of a broad and a narrow text, and word searches of one and two
// words (the word searches read the whole table on the server). Each search is run five
// times; the best and the median time are printed with the rows found.
//
// Runs against the server in $VALES_TEST_MARIADB_DIR when set, otherwise starts a private
// one of its own with scripts/mariadb-start.sh and stops it at the end.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "abm/abm_productos.h"
#include "bench_mariadb.h"
#include "comun/sesion.h"
#include "runtime/screen/console.h"
#include "runtime/screen/keys.h"
#include "runtime/screen/virtual_backend.h"
#include "runtime/server/tmysql.h"
#include "vales/servidores.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kDatabase = "bench_catalogo";
constexpr long kProductos = 100000;

// A virtual terminal that notes, for every key it gives, how long the program took until
// it waited for the next one (the screen is shown at every key wait).
class TerminalCronometrado : public rt::VirtualBackend {
  public:
    std::optional<int> wait_key(std::optional<double> timeout) override {
        const auto ahora = Clock::now();
        if (dada_ && !(timeout && *timeout <= 0)) {
            tiempos.push_back(std::chrono::duration<double>(ahora - dada_.value()).count());
            dada_.reset();
        }
        auto key = VirtualBackend::wait_key(timeout);
        if (key) dada_ = Clock::now();
        return key;
    }
    std::vector<double> tiempos;  // seconds after each key, in order

  private:
    std::optional<Clock::time_point> dada_;
};

std::string numeros(long n) {
    return "with recursive n(i) as (select 1 union all select i + 1 from n where i < " +
           std::to_string(n) + ") ";
}

bool generar(TMySQLServer& srv) {
    const std::string inserts[] = {
        "set session max_recursive_iterations = 1000000",
        "insert into nombre_accesos (cod_acceso, l_activo) values ('acc_ver_productos', 1)",
        "insert into usuarios (usuario, acc_ver_productos) values ('bench', 1)",
        // Ten kinds of product, each with sizes and a number: "LADRILLO AISLANTE 230X114 17".
        "insert into prodvtas (codi_prod, codi_form, desc_prod, desc_form, l_activo, l_vigente, "
        "peso) " +
            numeros(kProductos) +
            "select concat(char(65 + i % 10), lpad(i, 8, '0')), '001', concat(elt(1 + i % 10, "
            "'LADRILLO', 'MORTERO', 'CEMENTO', 'ARCILLA', 'PLACA', 'BLOQUE', 'TUBO', "
            "'CONCRETO', 'MASA', 'PIEZA'), ' ', elt(1 + (i div 10) % 5, 'REFRACTARIO', "
            "'AISLANTE', 'DENSO', 'LIVIANO', 'ESPECIAL'), ' ', elt(1 + (i div 50) % 4, "
            "'230X114', '250X124', '300X150', '115X65'), ' ', i div 200), "
            "'Formula estandar', 1, 1, 1 + i % 3 from n",
    };
    for (const auto& sql : inserts) {
        if (srv.Query(sql).NetErr()) {
            std::fprintf(stderr, "cannot generate the data: %s\n", srv.Error().c_str());
            return false;
        }
    }
    return true;
}

struct Busqueda {
    const char* nombre;
    const char* texto;
    int tecla;
};

}  // namespace

int main() {
    BenchServer server;
    if (!server.ok()) return 1;
    std::shared_ptr<TMySQLServer> srv = server.base_nueva(kDatabase);
    if (!srv || !generar(*srv)) return 1;
    std::printf("products on the server: %ld\n", kProductos);

    TerminalCronometrado term;
    rt::Console console{term};
    rt::Console* const previous_console = rt::install_console(&console);
    vales::Sesion sesion;
    sesion.LCONECTADO = true;
    sesion.COD_USUARIO = "bench";
    sesion.OSERVER = srv;
    vales::Sesion* const previous_sesion = vales::install_sesion(&sesion);

    const Busqueda busquedas[] = {
        {"prefix, broad   ", "ladrillo", rt::key::kEnter},
        {"prefix, narrow  ", "ladrillo aislante 230x114 1", rt::key::kEnter},
        {"one word (F8)   ", "aislante", rt::key::kF8},
        {"two words (F8)  ", "ladrillo 230x114", rt::key::kF8},
        {"two words, rare ", "placa 4", rt::key::kF8},
    };
    bool ok = true;
    for (const Busqueda& b : busquedas) {
        std::vector<double> veces;
        long filas = 0;
        for (int vuelta = 0; vuelta < 5; ++vuelta) {
            term.type(b.texto).keys({b.tecla, rt::key::kEsc});
            term.tiempos.clear();
            abm::ABM_PRODUCTOS();
            // The search key is the last one timed (Esc ends the list without a wait).
            if (term.tiempos.empty()) {
                ok = false;
                break;
            }
            veces.push_back(term.tiempos.back());
            std::string cuenta;
            for (int c = 60; c < 70; ++c) cuenta += static_cast<char>(term.screen()[28][c].ch);
            filas = std::atol(cuenta.c_str() + 1);
        }
        if (!ok) break;
        std::sort(veces.begin(), veces.end());
        std::printf("%s \"%s\": %6ld rows, first page after %.3f s (median %.3f s)\n", b.nombre,
                    b.texto, filas, veces.front(), veces[veces.size() / 2]);
    }

    vales::install_sesion(previous_sesion);
    rt::install_console(previous_console);
    srv->Query(std::string("drop database ") + kDatabase);
    srv->Destroy();
    return ok ? 0 : 1;
}
