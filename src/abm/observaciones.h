#pragma once
// The observations of a catalogue form (a product, a process): a free text shown in its
// area of the form while the fields are read, then edited there; or, when the record is
// only shown, read in the viewer.
#include <string_view>
#include <utility>

#include "runtime/browse/memo_viewer.h"
#include "runtime/common/oem.h"
#include "runtime/forms/form.h"

namespace abm {

class Observaciones {
  public:
    Observaciones(cp::Oem texto, rt::MemoWindow ventana)
        : texto_(std::move(texto)), ventana_(ventana) {}

    const cp::Oem& texto() const { return texto_; }
    // Draws the first rows of the text in its area, without waiting for a key.
    void mostrar() const;
    // The viewer: the user scrolls and leaves with Esc; the text does not change.
    void ver() const;
    // Editing in the area: Ctrl+W keeps the changes, Esc the text as it was. True when the
    // text was changed.
    bool editar();

    // The whole form: with `puede_modificar` false the record is only shown (the text in
    // the viewer); otherwise the text is shown, the fields are read and, unless they are
    // left with Esc, the text is edited with the key line `teclas` written at `fila`,
    // `columna`. True when a field or the text changed, so that the record is to be stored.
    bool leer(rt::Form& form, std::string_view nombre, bool puede_modificar, int fila, int columna,
              cp::OemView teclas);

  private:
    cp::Oem texto_;
    rt::MemoWindow ventana_;
};

}  // namespace abm
