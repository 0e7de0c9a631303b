// The product catalogue over 100,000 products on the server, and the operator help list
// over 5,000 operators: the time from the key that searches (Enter, F8) to the next key
// wait, when the first page of the result is on the screen. Prefix searches of a broad
// and a narrow text, and word searches of one and two words (the word searches read the
// whole table on the server); for the operators also the load of the whole list when it
// opens. Each is run five times; the best and the median time are printed with the rows
// found.
//
// Runs against the server in $VALES_TEST_MARIADB_DIR when set, otherwise starts a private
// one of its own with scripts/mariadb-start.sh and stops it at the end.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "abm/abm_productos.h"
#include "bench_mariadb.h"
#include "datos/servidores.h"
#include "datos/sesion.h"
#include "runtime/screen/console.h"
#include "runtime/screen/keys.h"
#include "runtime/screen/virtual_backend.h"
#include "runtime/server/tmysql.h"
#include "vales/en_linea/mysql_operarios.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kDatabase = "bench_catalogo";
constexpr long kProductos = 100000;
constexpr long kOperarios = 5000;

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
    // The next wait is timed from now (a list that loads before its first wait).
    void desde_ahora() { dada_ = Clock::now(); }
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
        // Operators named from a few first and family names: "PEREZ SOTO JUAN 17".
        "insert into operario (codi_oper, nom_oper, codi_grupo, ope_activo, rut, digito_verif) " +
            numeros(kOperarios) +
            "select i, concat(elt(1 + i % 8, 'PEREZ', 'GONZALEZ', 'MUNOZ', 'ROJAS', 'DIAZ', "
            "'SOTO', 'CONTRERAS', 'SILVA'), ' ', elt(1 + (i div 8) % 5, 'SOTO', 'ARAYA', "
            "'FUENTES', 'TORRES', 'NUNEZ'), ' ', elt(1 + (i div 40) % 6, 'JUAN', 'ANA', 'LUIS', "
            "'MARIA', 'PEDRO', 'ROSA'), ' ', i div 240), 'G01', i % 10 <> 0, lpad(i, 8, '1'), "
            "'K' from n",
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

// The row count a list shows on row 28 at `columna`: "(n)".
long cuenta_mostrada(const TerminalCronometrado& term, int columna) {
    std::string cuenta;
    for (int c = columna; c < columna + 10; ++c)
        cuenta += static_cast<char>(term.screen()[28][c].ch);
    return std::atol(cuenta.c_str() + 1);
}

template <std::size_t N>
bool medir(TerminalCronometrado& term, const Busqueda (&busquedas)[N], int col_cuenta,
           const std::function<void()>& lista) {
    for (const Busqueda& b : busquedas) {
        std::vector<double> veces;
        long filas = 0;
        for (int vuelta = 0; vuelta < 5; ++vuelta) {
            term.type(b.texto).keys({b.tecla, rt::key::kEsc});
            term.tiempos.clear();
            lista();
            // The search key is the last one timed (Esc ends the list without a wait).
            if (term.tiempos.empty()) return false;
            veces.push_back(term.tiempos.back());
            filas = cuenta_mostrada(term, col_cuenta);
        }
        std::sort(veces.begin(), veces.end());
        std::printf("  %s \"%s\": %6ld rows, first page after %.3f s (median %.3f s)\n", b.nombre,
                    b.texto, filas, veces.front(), veces[veces.size() / 2]);
    }
    return true;
}

// The operator list reads every active operator when it opens.
bool medir_carga(TerminalCronometrado& term) {
    std::vector<double> veces;
    for (int vuelta = 0; vuelta < 5; ++vuelta) {
        term.keys({rt::key::kEsc});
        term.tiempos.clear();
        term.desde_ahora();
        vales::MYSQL_OPERARIOS();
        if (term.tiempos.empty()) return false;
        veces.push_back(term.tiempos.front());
    }
    std::sort(veces.begin(), veces.end());
    std::printf(
        "  opening the operator list (active operators): first page after %.3f s "
        "(median %.3f s)\n",
        veces.front(), veces[veces.size() / 2]);
    return true;
}

}  // namespace

int main() {
    BenchServer server;
    if (!server.ok()) return 1;
    std::shared_ptr<TMySQLServer> srv = server.base_nueva(kDatabase);
    if (!srv || !generar(*srv)) return 1;

    TerminalCronometrado term;
    rt::Console console{term};
    rt::Console* const previous_console = rt::install_console(&console);
    datos::Sesion sesion;
    sesion.LCONECTADO = true;
    sesion.COD_USUARIO = "bench";
    sesion.OSERVER = srv;
    datos::Sesion* const previous_sesion = datos::install_sesion(&sesion);

    const Busqueda productos[] = {
        {"prefix, broad   ", "ladrillo", rt::key::kEnter},
        {"prefix, narrow  ", "ladrillo aislante 230x114 1", rt::key::kEnter},
        {"one word (F8)   ", "aislante", rt::key::kF8},
        {"two words (F8)  ", "ladrillo 230x114", rt::key::kF8},
        {"two words, rare ", "placa 4", rt::key::kF8},
    };
    const Busqueda operarios[] = {
        {"prefix          ", "perez", rt::key::kEnter},
        {"prefix, narrow  ", "perez soto juan 1", rt::key::kEnter},
        {"two words (F8)  ", "soto ana", rt::key::kF8},
    };
    std::printf("products on the server: %ld\n", kProductos);
    bool ok = medir(term, productos, 60, [] { abm::ABM_PRODUCTOS(); });
    std::printf("operators on the server: %ld\n", kOperarios);
    ok = medir(term, operarios, 55, [] { vales::MYSQL_OPERARIOS(); }) && ok;
    ok = medir_carga(term) && ok;

    datos::install_sesion(previous_sesion);
    rt::install_console(previous_console);
    srv->Query(std::string("drop database ") + kDatabase);
    srv->Destroy();
    return ok ? 0 : 1;
}
