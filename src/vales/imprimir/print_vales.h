#pragma once
// Voucher printing: the main-menu entry that reads a range of folios, the destination
// dialog, and the print job that lays the vouchers read from the server out two to a page,
// each printed twice side by side ("(Original)" on the left, "(Copia)" on the right).
#include <functional>
#include <string>
#include <vector>

#include "impresion/tprint.h"
#include "runtime/server/tmysql.h"

namespace vales {

// The print routine PRINT_VALE calls: (destination key, first folio, last folio).
using RutinaImpresion = std::function<void(const std::string&, long, long)>;

// Main-menu entry 8: reads "Desde" and "Hasta" and prints that range.
void IMPRIMIRVALES();

// The destination dialog: Impresora, PDF, HTML or RTF, then "Print" (calls `rutina` with
// the destination key and the range) or "Salir". Returns when the dialog is closed.
void PRINT_VALE(const RutinaImpresion& rutina, long primero, long ultimo);

// Prints the folios primero..ultimo of the session's server on the destination.
void PRINTVALE(const std::string& destino, long primero, long ultimo);

// The destination keys in the order the dialog offers them.
extern const std::vector<std::string> kDestinos;

// What a range came to. Every folio of the range takes a block, whether the server holds
// a voucher under it or not (a folio without voucher prints empty, with zeros), so the
// blocks keep the pre-printed numbering; only a folio the server could not read is left
// out.
struct ResumenImpresion {
    struct Folios {
        long total = 0;
        std::vector<long> primeros;  // the first few, for the message
        void agregar(long folio);
    };
    long impresos = 0;
    Folios sin_leer;         // the server failed on the voucher: no block
    Folios sin_actividades;  // the server failed on its items: a block without them
    bool cancelado = false;  // the user stopped the run with Esc
};

// Tells the user which folios the server failed on (nothing when none).
void avisar_resumen(const ResumenImpresion& resumen);

// Ranges longer than this are printed only after the user confirms them.
inline constexpr long kFoliosSinConfirmar = 3000;
// A long run shows its progress, and looks for Esc, every so many folios.
inline constexpr long kFoliosPorAvance = 100;

// The pages of a range on a job whose document has begun (PRINTVALE's steps between
// BeginDoc and EndDoc). Stops early when the job can no longer write, or on Esc.
ResumenImpresion imprimir_rango(impresion::TPRINT& job, TMySQLServer& server, long primero,
                                long ultimo);

// One voucher block with origin row r: the header texts of both copies, then the items of
// the result (nullptr: none) from row r + 7.6, 0.6 rows apart.
void dibujar_vale(impresion::TPRINT& job, double r, const TMySQLRow& cabecera, TMySQLQuery* items);

// The statements that read a voucher's header and its activity items.
std::string sql_cabecera_vale(long folio);
std::string sql_items_vale(long folio);

}  // namespace vales
