#pragma once
// Saving a production voucher to the company server, with no screen: the formula is
// exploded into its ingredients, then, as one transaction, the voucher is numbered, the
// stock of the controlled ingredients is checked, and the voucher is written with its
// stock movements and the registration of its identity (identidad.h). The result says
// what happened; the caller decides what to show.
//
// The server holds either the whole voucher under its own number or nothing of it: the
// first statement that fails stops the save and the transaction is rolled back. When
// another workstation got in the way (a lock wait given up, a deadlock, a conflict with a
// commit through another node of a cluster) the whole transaction is tried again from the
// start after a short pause that grows with each try, a bounded number of times.
//
// A voucher whose identity the server has registered already is not written again: the
// save answers with its number once the server's rows are found to be this voucher.
#include <functional>
#include <string>
#include <vector>

#include "datos/sentencias.h"
#include "datos/vale.h"

namespace datos {

// A stock-controlled ingredient that the warehouse cannot cover.
struct Faltante {
    std::string tipo;     // "P" product, "I" component
    std::string codigo;   // 9 characters
    std::string formula;  // the formula whose stock it draws on (products only)
    std::string nombre;   // as stored on the server
    double requerido = 0;
    double stock = 0;
};

struct Grabacion {
    enum Estado {
        grabado,      // saved now under `numero`
        ya_estaba,    // the server held this voucher already, under `numero`
        faltante,     // refused: `faltantes` lists what the warehouse cannot cover
        sin_formula,  // the formula could not be read (`fallo`)
        sin_numero,   // the counter could not be advanced or read for a reason other than
                      // another workstation (`fallo`: its row missing, no right to change it)
        ocupado,      // other workstations got in the way at every try
        fallido,      // a statement failed (`fallo`); `deshecho` tells whether all was undone
        incierto,     // the answer to the commit was lost and the voucher could not be
                      // found on the server: it may or may not be there
        distinto,     // the identity is registered for a voucher with other content
    };
    Estado estado = fallido;
    long numero = 0;
    std::vector<Faltante> faltantes;
    Fallo fallo;
    bool deshecho = false;  // nothing written for the voucher is left on the server
    // The server has no register of identities: the voucher was saved (or refused)
    // without the check that keeps it from being stored twice.
    bool sin_registro = false;
    int intentos = 0;

    bool en_servidor() const { return estado == grabado || estado == ya_estaba; }
};

// How often and after what pauses a save is tried again.
struct Reintentos {
    int maximo = 10;
    double primera_pausa = 0.05;  // seconds, doubled after each try up to the last one
    double pausa_maxima = 1.0;
    // Lets that many seconds pass; empty: the thread sleeps.
    std::function<void(double segundos)> pausar;
};

// Saves `vale` on `servidor` (its company database selected); `usuario` signs the stock
// movements. A voucher without identity is saved without registering one.
Grabacion grabar_vale(TMySQLServer& servidor, const Vale& vale, const std::string& usuario,
                      const Reintentos& reintentos = {});

// Points per unit that an operator earns for an activity done to an especificación: the
// price of the especificación for the operator's group; 0 when none is defined. Nothing
// when it could not be read (the failure stops `s`).
std::optional<double> puntaje(Sentencias& s, double operario, std::string_view actividad,
                              std::string_view especificacion);

}  // namespace datos
