#pragma once
// The product table of the earlier system, whose twelve monthly cost fields a supervisor
// job of the product list overwrites with the costs of the server's catalogue. The table
// is a DBF file (fields CODI_PROD, CODI_FORM and COST01 to COST12) that the earlier system
// keeps open on a shared drive, so every record is locked while it is written and nothing
// else of the file is touched.
//
// Where it is: the folder named by the environment variable VALES_PRODUCTOS_ANTERIOR
// (the option --productos-anterior sets it), holding prodvtas.dbf and its index
// indxpro1.ntx; without it, the folder produc/arti007 under the working folder.
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace abm {

inline constexpr const char* VAR_PRODUCTOS_ANTERIOR = "VALES_PRODUCTOS_ANTERIOR";
inline constexpr std::string_view CARPETA_PRODUCTOS_ANTERIOR_FIJA = "produc/arti007";

// The folder of the earlier system's product table.
std::string carpeta_productos_anterior();
// Its table file in that folder.
std::string tabla_productos_anterior();

inline constexpr int kMesesDeCosto = 12;
using CostosMensuales = std::array<double, kMesesDeCosto>;

class ProductosAnterior {
  public:
    // Opens the table for writing; nothing when it is missing, cannot be opened for
    // writing, or lacks the fields of the product's key or of its costs.
    static std::unique_ptr<ProductosAnterior> abrir(const std::string& ruta);
    ~ProductosAnterior();
    ProductosAnterior(const ProductosAnterior&) = delete;
    ProductosAnterior& operator=(const ProductosAnterior&) = delete;

    // The record of a product (code and formula as the server holds them), found among the
    // records the table held when it was opened; deleted records are not found.
    std::optional<int> buscar(std::string_view codigo, std::string_view formula) const;

    enum class Resultado {
        kGrabado,
        kBloqueado,  // another program holds a lock on the record
        kCambiado,   // the record no longer holds that product, or was deleted meanwhile
        kNoCabe,     // a cost does not fit its field: nothing of the record is written
        kError,      // the record could not be read or written
    };
    // Writes the twelve costs into the record while it is locked: the record is read again
    // under the lock, so every other field keeps what the file holds at that moment.
    Resultado grabar_costos(int registro, std::string_view codigo, std::string_view formula,
                            const CostosMensuales& costos);

  private:
    struct Estado;
    explicit ProductosAnterior(std::unique_ptr<Estado> estado);
    std::unique_ptr<Estado> e_;
};

// The supervisor job: for each product of the server's catalogue (in description order)
// found in the earlier system's table, its twelve costs are copied into its record; the
// description of each product copied is written as a line on the screen. A table that
// cannot be opened ends the job without a message; otherwise "Proceso terminado".
void COPIAR_COSTOS_ANTERIOR();

}  // namespace abm
