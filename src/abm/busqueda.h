#pragma once
// The search line of a searchable list (the catalogues, the help lists of the entries): the
// text the user types below the list, the text of the last search, whether that search was
// by words, and how many rows it found. Typing only builds the text; the list decides
// which key searches (lista_busqueda.h).
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "runtime/common/oem.h"

namespace abm {

enum class ModoBusqueda {
    kPrefijo,  // names that begin with the text
    kFiltro,   // every word of the text somewhere in the name (one word: or in the code)
};

class Busqueda {
  public:
    static constexpr std::size_t kLargo = 50;

    const cp::Oem& texto() const { return texto_; }
    bool vacia() const { return texto_.empty(); }
    // Enter searches only a text that differs from the one searched last.
    bool nueva() const { return !vacia() && texto_ != ultimo_; }
    // Nothing typed since the last search: Enter may choose the highlighted row.
    bool buscada() const { return vacia() || texto_ == ultimo_; }
    bool filtro() const { return filtro_; }
    long cuenta() const { return cuenta_; }

    // A key that types into the text: the characters 32 to 122, ñ and Ñ, appended in upper
    // case while the text is shorter than 50; a blank does not start the text. True when
    // the text changed.
    bool teclear(int key);
    // Del: the text is cleared and the list is to be emptied.
    void borrar();
    // Backspace: drops the last character; true when text remains (the list searches it).
    bool retroceder();
    // The list was emptied or refilled.
    void contar(long cuenta) { cuenta_ = cuenta; }
    // A search of the current text begins: it becomes the last searched text.
    void empezar(ModoBusqueda modo);
    // The next search is by prefix unless F8 asks otherwise (the off-line lists forget a
    // word search as soon as the text changes).
    void sin_filtro() { filtro_ = false; }

  private:
    cp::Oem texto_, ultimo_;
    bool filtro_ = false;
    long cuenta_ = 0;
};

// Quotes a Windows-1252 text for one store (the server's connection, the off-line store).
using Comillas = std::function<std::string(std::string_view)>;

// The "where ..." condition of a search, ending with a blank. The text is turned into
// Windows-1252 and into LIKE patterns that match it literally ('%' and '_' included), then
// quoted with the store's own `comillas`.
//   prefix:     where <nombre> like 'TEXT%' escape '!'
//   one word:   where (<nombre> like '%W%' escape '!' or <codigo> like '%W%' escape '!')
//               where <nombre> like '%W%' escape '!'                  (no code column)
//   two words:  where (<nombre> like '%W1%' escape '!'  and <nombre> like '%W2%' ... )
std::string condicion_busqueda(ModoBusqueda modo, const cp::Oem& texto, std::string_view col_nombre,
                               std::string_view col_codigo, const Comillas& comillas);

}  // namespace abm
