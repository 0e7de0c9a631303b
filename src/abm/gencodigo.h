#pragma once
// The product code generator: the nine characters of a new product's code chosen one part
// after the other in the lists of the coding tables (family, subfamily and material; a
// format or two meshes; a packaging or a production process), as the server's family
// table says the family is coded.
//
// Code layout: 1 family, 2-3 subfamily, 4-5 material or type (the family list gives these
// five at once); 6-7 a format, or an upper and a lower mesh of one character each; 8-9 a
// packaging and sub-packaging, or the process code and "0" for a family whose state type
// is "P".
#include <functional>
#include <string>
#include <string_view>

#include "abm/abm_procesos.h"

namespace abm {

// A list of a coding table in selection mode, with the extra key (F2) bound to the action
// that lists the products matching the code chosen so far. Returns the chosen component's
// code (family list 5 characters, mesh 1, format 2, packaging 2), or empty text when the
// user left without choosing.
using ListaCodificacion = std::function<std::string(const TeclaExtra& extra)>;

// The lists of families, meshes, formats and packagings belong to another system: here
// they choose nothing.
std::string ABM_FAMILIAS(const TeclaExtra& extra);
std::string ABM_MALLAS(const TeclaExtra& extra);
std::string ABM_FORMATOS(const TeclaExtra& extra);
std::string ABM_EMBALAJES(const TeclaExtra& extra);

// The lists the generator calls: the ones above in the program (the process list is
// always the process catalogue). A test installs lists of its own; returns the previous.
struct ListasCodificacion {
    ListaCodificacion familias = ABM_FAMILIAS;
    ListaCodificacion mallas = ABM_MALLAS;
    ListaCodificacion formatos = ABM_FORMATOS;
    ListaCodificacion embalajes = ABM_EMBALAJES;
};
ListasCodificacion instalar_listas_codificacion(ListasCodificacion listas);

// The code of a new product (9 characters), or empty text when a step was left without a
// choice or the family's settings do not say how it is coded. Nothing is stored.
std::string GENCODIGO();

// Lists the base products (blank formula) whose code begins with `parcial`; the choice is
// not used. Empty `parcial`: nothing.
void VERDETCUMPLEN(std::string_view parcial);

}  // namespace abm
