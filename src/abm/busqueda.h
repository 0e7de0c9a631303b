#pragma once
// The search line of the catalogue lists (products, processes): the text the user types
// below the list, the text of the last search, whether that search was by words, how many
// rows it found, and the status that shows them on the two rows under the list.
//
// Typing only builds the text; the list decides which key searches. A search starts with
// empezar() (which remembers the text as searched and shows "Buscando..."), builds its
// condition with donde_palabras() or donde_prefijo(), and ends with terminar().
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include <functional>

#include "runtime/browse/browser.h"
#include "runtime/common/oem.h"
#include "runtime/server/tmysql.h"

namespace abm {

// Where a list shows its search state: the columns of "(filtro)" and of the row count on
// row 28, of the text on row 29, and the left column of the "Buscando..." box (rows 20-22).
struct LugarBusqueda {
    int col_filtro = 0;
    int col_cuenta = 0;
    int col_texto = 0;
    int col_aviso = 0;
};

class Busqueda {
  public:
    static constexpr std::size_t kLargo = 50;

    explicit Busqueda(LugarBusqueda lugar) : lugar_(lugar) {}

    const cp::Oem& texto() const { return texto_; }
    bool vacia() const { return texto_.empty(); }
    // Enter searches only a text that differs from the one searched last.
    bool nueva() const { return !vacia() && texto_ != ultimo_; }
    bool igual_a_la_ultima() const { return texto_ == ultimo_; }
    bool por_palabras() const { return por_palabras_; }
    long cuenta() const { return cuenta_; }

    // A key that types into the search text: the characters 32 to 122, ñ and Ñ, appended
    // in upper case while the text is shorter than 50; a blank does not start the text.
    // True when the key was taken as typing (even when the text is full and it is dropped).
    bool teclear(int key);
    // Del: the text is cleared and the list is to be emptied (count 0).
    void borrar();
    // Backspace: drops the last character; true when text remains (the list searches it).
    bool retroceder();
    // The list was emptied: count 0.
    void vaciada() { cuenta_ = 0; }

    // A search of the current text begins: it becomes the last searched text, the mode is
    // remembered and "Buscando..." is shown.
    void empezar(bool por_palabras);
    // The search found `cuenta` rows.
    void terminar(long cuenta) { cuenta_ = cuenta; }
    // The current text in the server's code page, and its words.
    std::string texto_servidor() const;
    std::vector<std::string> palabras_servidor() const;

    // Redraws the status: "(filtro)" or a line, the count, and the text, bright white
    // right after a search and green while the user types.
    void mostrar(bool tras_busqueda) const;

  private:
    LugarBusqueda lugar_;
    cp::Oem texto_, ultimo_;
    bool por_palabras_ = false;
    long cuenta_ = 0;
};

// A catalogue list's search: its search line, and the keys that type and search in it.
// The list gives the statement of a search (by words or by prefix, of the current text)
// and how a result's rows fill its work table.
class ListaBuscable {
  public:
    using Sentencia = std::function<std::string(const Busqueda& busqueda, bool por_palabras)>;
    using Llenar = std::function<void(TMySQLQuery& res)>;

    ListaBuscable(LugarBusqueda lugar, rt::wt::WorkTable& tabla, rt::Browser& lista,
                  Sentencia sentencia, Llenar llenar)
        : busqueda_(lugar),
          tabla_(tabla),
          lista_(lista),
          sentencia_(std::move(sentencia)),
          llenar_(std::move(llenar)) {}

    Busqueda& busqueda() { return busqueda_; }

    // Enter on a text not searched yet (prefix), F8 (words), Del, Backspace and the typed
    // characters. True when the key belongs to the search line, whether it did anything.
    bool tecla(int key);
    // Runs the search of the current text: on a server error the message, and the list
    // keeps its rows; otherwise the list holds the rows found, from its first one.
    void buscar(bool por_palabras);

  private:
    void vaciar();

    Busqueda busqueda_;
    rt::wt::WorkTable& tabla_;
    rt::Browser& lista_;
    Sentencia sentencia_;
    Llenar llenar_;
};

// The condition of a word search on `columna`: every word must occur in it. A single word
// may instead occur in `otra_columna` when one is given. The words are matched as they read
// (a '%' or '_' typed finds that character), through patterns with the escape character '!':
//   one word:    "where (desc_prod like '%W%' escape '!' or codi_prod like '%W%' escape '!') "
//                "where nombre_proceso like '%W%' escape '!' "            (no other column)
//   more words:  "where (desc_prod like '%A%' escape '!'  and desc_prod like '%B%' ... ) "
std::string donde_palabras(const std::vector<std::string>& palabras, std::string_view columna,
                           std::string_view otra_columna = {});
// The condition of a prefix search: "where desc_prod like 'TEXT%' escape '!' ".
std::string donde_prefijo(std::string_view texto, std::string_view columna);

}  // namespace abm
