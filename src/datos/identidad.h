#pragma once
// The register of saved vouchers on the server (table vales_identidad): each voucher's
// identity with the number the server gave it, written in the voucher's own transaction. A
// voucher whose identity is registered is on the server, complete; one whose identity is
// not, is not. The table is one of the additive server objects that an administrator adds
// to a company database (sql/objetos_adicionales.sql); without it vouchers are saved as
// before, without the check.
//
// Vouchers typed off-line by an earlier version of the program may be recorded instead
// under the store's identity and the local number (table vales_origen); that record is
// believed only when the voucher it names has the same content.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "datos/sentencias.h"
#include "datos/vale.h"

namespace datos {

// 32 hexadecimal digits at random.
std::string nueva_identidad();

// The identity of a voucher typed off-line before vouchers had identities of their own,
// made from its local number and its whole content (times of every activity included): the
// same for the same voucher in every copy of its store, made at any time, different for
// vouchers that differ in anything. Not from the store's identity, which a store older
// than that one receives separately in each copy.
std::string identidad_derivada(long n_interno, const DatosCab& cab,
                               const std::vector<DatosItm>& items);

struct Registro {
    bool existe = true;  // the server has the register
    long folio = 0;      // the number of the voucher registered under the identity; 0: none
};
// Looks the identity up. Nothing when the server could not be asked (the failure stops `s`).
std::optional<Registro> buscar_identidad(Sentencias& s, std::string_view id);

// The number under which an earlier version recorded a voucher of the store `estacion`
// with local number `n_interno`; 0 when none (or the server has no such record at all).
std::optional<long> buscar_origen_anterior(Sentencias& s, std::string_view estacion,
                                           long n_interno);

// The statement that registers `identidad` for the voucher numbered `folio`.
std::string registro_de_identidad(const Sentencias& s, const Identidad& identidad, long folio);

enum class Comparacion { igual, distinto, error };
// Whether the voucher numbered `folio` on the server is `cab` with `items`: product,
// warehouse, date, quantities and every activity with its operator, especificación and
// quantities, in order. Not the formula: the server keeps a voucher under the formula whose
// stock its product shared when it was saved, which the catalogue may have changed since.
Comparacion comparar_con_servidor(Sentencias& s, long folio, const DatosCab& cab,
                                  const std::vector<DatosItm>& items);

}  // namespace datos
