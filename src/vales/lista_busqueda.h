#pragma once
// The searchable help list (F1 on a form field): rows found by a search typed below the
// list are copied into a work table and shown in a table browser; the user moves through
// them and a key chosen by the list types the highlighted code back into the form. The
// on-line operator list is built on it; the off-line operator and product lists share the
// same design (different window, columns, queries and keys).
//
//   rows 4-33   a double-line box around the browser, "+gr/bg"
//   row 26, 28  lines; on 28 the filter mark ("(filtro)") and the count ("(n)")
//   row 29      Buscar:<search text, 50 columns>
//   rows 31-32  the key lines
//
// Keys every list shares: Esc leaves; the arrows, PgUp, PgDn, Ctrl+PgUp and Ctrl+PgDn move;
// letters, digits and the other characters 32-122 and ñ Ñ are added (upper case) to the
// search text without searching; Enter searches names beginning with the text (when it
// changed since the last search); F8 searches rows holding every word of it; Backspace
// drops the last character and searches again (an emptied text empties the list); Del
// empties text and list. The list's own keys (its selection key ...) are tried first.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/browse/browse_loop.h"
#include "runtime/common/oem.h"
#include "runtime/worktables/field.h"
#include "runtime/worktables/work_table.h"

namespace vales {

enum class ModoBusqueda {
    kPrefijo,  // names that begin with the text
    kFiltro,   // every word of the text somewhere in the name (one word: or in the code)
};

struct EstadoBusqueda {
    cp::Oem texto;   // what the user typed, upper case, at most 50 characters
    cp::Oem ultimo;  // the text of the last search made
    long cuenta = 0;
    bool filtro = false;  // the last search was a filter (F8)
};

// A key line, written by the message-line routine with its position and width.
struct LineaTeclas {
    cp::Oem texto;
    int fila = 0, columna = 0, ancho = 0;
};

// One help list. The defaults are the operator list's geometry.
struct ListaBusqueda {
    int top = 5, left = 29, bottom = 25, right = 88;  // the browser; the box goes around it
    int columna_buscar = 30;  // "Buscar:<"; the search field follows it, then ">"
    int columna_filtro = 80, columna_cuenta = 55;
    int columna_buscando = 50;  // the "Buscando..." box, rows 20-22, 16 columns
    cp::Oem encabezado;
    std::function<cp::Oem()> fila;  // the text of the table's current record
    std::vector<LineaTeclas> teclas;
    // Fills the table before the first key (may be empty).
    std::function<void()> carga_inicial;
    // Runs a search and, when it worked, empties the table and fills it with the rows found;
    // false when it failed (the routine has told the user, the table keeps its rows).
    std::function<bool(ModoBusqueda modo, const cp::Oem& texto)> buscar;
    // The list's own keys, tried before the shared ones, with the table on the highlighted
    // record: kLeave ends the list (after typing a choice), kHandled when it acted.
    std::function<rt::BrowseKey(int key, const EstadoBusqueda& estado)> tecla_propia;
    // Drawn after every stabilisation, beside the highlighted record (may be empty).
    std::function<void()> tras_estabilizar;
};

// Runs the list over `tabla` until Esc or a choice; the screen and colour are put back.
void correr_lista_busqueda(rt::wt::WorkTable& tabla, const ListaBusqueda& lista);

// The "where ..." condition of a search on a store, ending with a blank. The text is
// turned into Windows-1252 and into LIKE patterns that match it literally ('%' and '_'
// included), then quoted with the store's own quoting (`comillas`).
//   prefix:     where <nombre> like 'TEXT%' escape '!'
//   one word:   where (<nombre> like '%W%' escape '!' or <codigo> like '%W%' escape '!')
//   two words:  where (<nombre> like '%W1%' escape '!'  and <nombre> like '%W2%' ...)
std::string condicion_busqueda(ModoBusqueda modo, const cp::Oem& texto, std::string_view col_nombre,
                               std::string_view col_codigo,
                               const std::function<std::string(std::string_view)>& comillas);

// The work table of one help list, under fresh names in temp/, erased when the list ends.
// A table that cannot be opened shows `error_apertura` and ends the program (SALIR).
class TablaAyuda {
  public:
    TablaAyuda(const rt::wt::Structure& estructura, std::string_view alias, std::string_view clave,
               cp::OemView error_apertura);
    ~TablaAyuda();
    TablaAyuda(const TablaAyuda&) = delete;
    TablaAyuda& operator=(const TablaAyuda&) = delete;

    rt::wt::WorkTable& tabla() { return *tabla_; }
    // A further order on `clave`, in an index file of its own name.
    bool agregar_indice(std::string_view clave);

  private:
    std::string ruta_;
    std::vector<std::string> indices_;
    rt::wt::WorkTable* tabla_ = nullptr;
};

}  // namespace vales
