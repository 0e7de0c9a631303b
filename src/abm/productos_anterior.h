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
#include <vector>

namespace abm {

inline constexpr const char* VAR_PRODUCTOS_ANTERIOR = "VALES_PRODUCTOS_ANTERIOR";
inline constexpr std::string_view CARPETA_PRODUCTOS_ANTERIOR_FIJA = "produc/arti007";

// The folder of the earlier system's product table.
std::string carpeta_productos_anterior();
// Its table file in that folder.
std::string tabla_productos_anterior();

inline constexpr int kMesesDeCosto = 12;
using CostosMensuales = std::array<double, kMesesDeCosto>;

// What a run of the copy did, record by record, for the user to see at its end: every
// record passed over is counted and has a notice naming the file and the record.
struct ResumenCopia {
    int grabados = 0;
    int bloqueados = 0;  // locked by another program
    int ilegibles = 0;   // not wholly in the file, or its key could not be read
    int no_caben = 0;    // a cost wider than its field
    int cambiados = 0;   // the record no longer held the product when it was locked
    int fallidos = 0;    // the write did not reach the file
    std::vector<std::string> avisos;

    // "Proceso terminado: N registros grabados, M bloqueados por otro proceso, K ilegibles":
    // one line, which fits the message box.
    std::string texto() const;
    // The records passed over for the other reasons, counted by reason; empty when none.
    std::string otros() const;
};

class ProductosAnterior {
  public:
    struct Apertura;
    // Opens the table for writing and finds its records. The table is missing when the
    // file is not there (nothing to say); otherwise a table that cannot be used (unreadable
    // header, fields of the key or of the costs missing or of another type, a header whose
    // length does not match its fields) comes with the reason, naming the file.
    static Apertura abrir(const std::string& ruta);
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
        kIlegible,   // the record is no longer wholly in the file
        kError,      // the record could not be written
    };
    // Writes the twelve costs into the record while it is locked: the record is read again
    // under the lock, so every other field keeps what the file holds at that moment. The
    // result is counted in the summary, with its notice when the record is passed over.
    Resultado grabar_costos(int registro, std::string_view codigo, std::string_view formula,
                            const CostosMensuales& costos);

    // Counts and notices so far, from the opening's pass over the records on.
    const ResumenCopia& resumen() const;

  private:
    struct Estado;
    explicit ProductosAnterior(std::unique_ptr<Estado> estado);
    std::unique_ptr<Estado> e_;
};

struct ProductosAnterior::Apertura {
    std::unique_ptr<ProductosAnterior> tabla;
    std::string motivo;  // why the table cannot be used; empty when it is missing
};

// The supervisor job: for each product of the server's catalogue (in description order)
// found in the earlier system's table, its twelve costs are copied into its record; the
// description of each product copied is written as a line on the screen, and so is the
// notice of every record passed over. A missing table ends the job without a message;
// otherwise the counts end it ("Proceso terminado: ...").
void COPIAR_COSTOS_ANTERIOR();

}  // namespace abm
