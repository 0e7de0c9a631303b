#pragma once
// Voucher printing: the main-menu entry that reads a range of folios, the destination
// dialog, and the print job that lays the vouchers read from the server out two to a page,
// each printed twice side by side ("(Original)" on the left, "(Copia)" on the right).
#include <functional>
#include <string>
#include <vector>

#include "runtime/server/tmysql.h"
#include "vales/impresion/tprint.h"

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

// What a range came to: folios printed, and folios left out because the server holds no
// voucher under them or could not read it.
struct ResumenImpresion {
    int impresos = 0;
    long omitidos = 0;
    std::vector<long> primeros_omitidos;  // the first few, for the message
    void omitir(long desde, long hasta);
};

// Tells the user which folios were left out (nothing when none was).
void avisar_omitidos(const ResumenImpresion& resumen);

// The pages of a range on a job whose document has begun (PRINTVALE's steps between
// BeginDoc and EndDoc).
ResumenImpresion imprimir_rango(impresion::TPRINT& job, TMySQLServer& server, long primero,
                                long ultimo);

// One voucher block with origin row r: the header texts of both copies, then the items of
// the result (nullptr: none) from row r + 7.6, 0.6 rows apart.
void dibujar_vale(impresion::TPRINT& job, double r, const TMySQLRow& cabecera, TMySQLQuery* items);

// The statements that read a voucher's header and its activity items.
std::string sql_cabecera_vale(long folio);
std::string sql_items_vale(long folio);

}  // namespace vales
