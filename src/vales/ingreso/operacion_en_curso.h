#pragma once
// What a voucher entry holds for its whole run: the F1 key handler it installs, and the
// screen, cursor and colour as the menu had them (ui::Resguardo), put back whatever way the
// entry ends.
#include <utility>

#include "runtime/screen/console.h"
#include "runtime/screen/keys.h"
#include "ui/resguardo.h"

namespace vales {

class OperacionEnCurso {
  public:
    OperacionEnCurso() = default;
    ~OperacionEnCurso() {
        if (ayuda_) rt::con().set_key_handler(rt::key::kF1, previa_);
    }
    OperacionEnCurso(const OperacionEnCurso&) = delete;
    OperacionEnCurso& operator=(const OperacionEnCurso&) = delete;
    void instalar_ayuda(rt::KeyHandler ayuda) {
        previa_ = rt::con().set_key_handler(rt::key::kF1, std::move(ayuda));
        ayuda_ = true;
    }

  private:
    ui::Resguardo resguardo_;
    rt::KeyHandler previa_;
    bool ayuda_ = false;
};

}  // namespace vales
