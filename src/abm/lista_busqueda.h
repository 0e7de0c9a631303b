#pragma once
// A searchable list: rows found by a search typed below the list are copied into a work
// table and shown in a table browser. The catalogues (products, processes) and the F1 help
// lists of the entries (operators, the off-line products) run on it; each says in a
// DisenoLista where it stands, what it shows and searches, and which keys of its own it has.
//
//   rows 4-33       a double-line box around the browser, "+gr/bg", the title on its top
//   under the list  a line on the row after the browser and on row 28; on 28 the filter
//                   mark ("(filtro)") and the count ("(n)")
//   row 29          Buscar:<search text, 50 columns>
//   rows 31-33      the key lines
//
// Keys every list shares: Esc leaves; the arrows, PgUp, PgDn, Ctrl+PgUp and Ctrl+PgDn move;
// letters, digits and the other characters 32-122 and ñ Ñ are added (upper case) to the
// search text without searching; Enter searches names beginning with the text (when it
// changed since the last search); F8 searches rows holding every word of it; Backspace
// drops the last character and searches again (an emptied text empties the list); Del
// empties text and list; F10, in a list that asks for it, searches the text again as the
// last search did. The list's own keys (its selection key ...) are tried first.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "abm/busqueda.h"
#include "runtime/browse/browse_loop.h"
#include "runtime/common/oem.h"
#include "runtime/server/tmysql.h"
#include "runtime/worktables/temp_table.h"

namespace abm {

class ListaBusqueda;

// A key line, written by the message-line routine with its position and width.
struct LineaTeclas {
    cp::Oem texto;
    int fila = 0, columna = 0, ancho = 0;
};

// What one list is. The defaults are the operator list's.
struct DisenoLista {
    int top = 5, left = 29, bottom = 25, right = 88;  // the browser; the box goes around it
    int columna_buscar = 30;  // "Buscar:<"; the search field follows it, then ">"
    int columna_filtro = 80, columna_cuenta = 55;
    int columna_buscando = 50;  // the "Buscando..." box, rows 20-22, 16 columns
    cp::Oem titulo;  // on the box's top line, from the browser's first column (may be empty)
    cp::Oem encabezado;
    std::function<cp::Oem()> fila;  // the text of the table's current record
    std::vector<LineaTeclas> teclas;
    // The colour of the blank search field under the text; empty: the text's own.
    std::string color_campo;
    // F10 searches the text again in the mode of the last search.
    bool f10_rebusca = false;
    // A character typed ends the word-search mode: "(filtro)" goes and F10 searches the
    // text by prefix.
    bool teclear_quita_filtro = false;
    // Fills the table before the first key (may be empty); true when it did. With
    // `carga_cuenta` the rows it loaded are the count the status shows.
    std::function<bool()> carga_inicial;
    bool carga_cuenta = false;
    // Runs a search and, when it worked, empties the table and fills it with the rows found;
    // false when it failed (the routine has told the user, the table keeps its rows).
    std::function<bool(ModoBusqueda modo, const cp::Oem& texto)> buscar;
    // The list's own keys, tried before the shared ones, with the table on the highlighted
    // record: kLeave ends the list, kHandled when it acted (refreshing the browser itself
    // when it changed rows), kShared for the shared meaning.
    std::function<rt::BrowseKey(int key, ListaBusqueda& lista)> tecla_propia;
    // Drawn after every stabilisation, beside the highlighted record (may be empty).
    std::function<void()> tras_estabilizar;
};

class ListaBusqueda {
  public:
    ListaBusqueda(rt::wt::WorkTable& tabla, DisenoLista diseno);

    // Draws the frame, runs the initial load and the keys until Esc or a choice. The
    // caller keeps and puts back the screen and the colour.
    void correr();

    rt::Browser& browser() { return browser_; }
    const Busqueda& busqueda() const { return busqueda_; }

  private:
    void dibujar_marco();
    rt::BrowseKey tecla(int key);
    // The shared keys that change the search; false for any other key.
    bool tecla_de_busqueda(int key);
    void buscar(ModoBusqueda modo);
    void vaciar();
    void mostrar_estado(bool recien_buscado);

    rt::wt::WorkTable& tabla_;
    DisenoLista diseno_;
    rt::Browser browser_;
    Busqueda busqueda_;
};

// The work table of one list, under the names the list gives it in temp/, closed and
// erased when the list ends. A table that cannot be opened shows `error_apertura` and ends
// the program (SALIR).
class TablaLista {
  public:
    TablaLista(std::string_view ruta, const rt::wt::Structure& estructura, std::string_view alias,
               cp::OemView error_apertura);
    // The first index is the order in force; a further one is added as order 2.
    void indice(std::string_view ruta, std::string_view clave) { tabla_.index(ruta, clave); }
    rt::wt::WorkTable& operator*() const { return *tabla_; }
    rt::wt::WorkTable* operator->() const { return tabla_.table(); }

  private:
    rt::wt::TempTable tabla_;
};

// Whether the table's current record has a code in its field CODIGO (the list is not
// empty), so that it may be chosen or opened.
bool hay_codigo(const rt::wt::WorkTable& t);

// Runs a list's statement on the server: on a failure "Error:" and the server's message,
// false (the table keeps its rows); otherwise `llenar` empties the table and fills it from
// the result.
bool buscar_en_servidor(std::string_view sql, const std::function<void(TMySQLQuery&)>& llenar);

}  // namespace abm
