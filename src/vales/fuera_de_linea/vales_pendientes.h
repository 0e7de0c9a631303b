#pragma once
// The pending vouchers of the off-line store (state other than "2") as the entry list and
// the batch upload see them: a work table VALES in ascending local number, one record per
// voucher with its display line (the product's name blank when the local copy no longer
// holds the product).
#include <string>
#include <string_view>

#include "datos/vales_locales.h"
#include "runtime/common/oem.h"
#include "runtime/offline/todbc.h"
#include "runtime/worktables/temp_table.h"

namespace vales {

// The display name of a voucher's state, 12 characters. Only pending vouchers are ever
// listed, so every state reads "   Pendiente".
cp::Oem NOMBREESTADO(std::string_view estado);

class ValesPendientes {
  public:
    // Creates and opens the work table under the session's temporary folder and indexes it
    // on the local number. False, after "ERROR: No se puede abrir archivo de VALES", when it
    // cannot be opened.
    bool abrir();
    // Fills the table from the store: every listed voucher once, its display line with the
    // state part when `con_estado`. False, after "Error: No se pueden recuperar registros",
    // when the store cannot be read (the table is then empty).
    bool llenar(rt::TODBC& RS, bool con_estado);

    rt::wt::WorkTable& tabla() const { return *tabla_; }
    // Records in the table, deleted ones included.
    long total() const { return static_cast<long>(tabla_->rec_count()); }

  private:
    rt::wt::TempTable tabla_;
};

// The display line of a pending voucher (98 characters with the state, 85 without): date,
// warehouse, product, formula, product name, quantity, rejected quantity and state, one
// blank apart.
cp::Oem detalle_pendiente(const datos::ValePendiente& vale, bool con_estado);

}  // namespace vales
