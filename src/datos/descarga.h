#pragma once
// The download's copy of the master data from the company server into the off-line store,
// one table at a time, with no screen: each table is copied inside one transaction on the
// store, so that the local copy ends up either holding exactly the server's rows or exactly
// what it held before, whatever fails (the server read, the store, the disk).
#include <functional>
#include <optional>
#include <string>

#include "runtime/offline/todbc.h"
#include "runtime/server/tmysql.h"

namespace datos {

// The six copies, in the order of the download's menu (also the order of "all").
enum class TablaMaestra { productos, formulas, actividades, especificaciones, operarios, bodegas };
inline constexpr TablaMaestra kTablasMaestras[] = {
    TablaMaestra::productos,        TablaMaestra::formulas,  TablaMaestra::actividades,
    TablaMaestra::especificaciones, TablaMaestra::operarios, TablaMaestra::bodegas};

// The table's name in the messages ("PRODVTAS") and the local table ("prodvtas").
const char* nombre_de(TablaMaestra tabla);
const char* tabla_local(TablaMaestra tabla);

struct Copia {
    enum Estado {
        copiada,            // the local table holds every server row
        servidor_ilegible,  // the server's rows could not be read (`error`)
        lectura_cortada,    // the server stopped sending rows midway (`error`)
        local_fallida,      // the store refused (`error`, the store's own text)
    };
    Estado estado = copiada;
    std::string error;
    bool intacta = true;  // after a failure: the local table is known to hold its old rows
};

// What the copy lets the screen show while it goes: the number of rows once it is known,
// and each row as it is written.
struct AvanceCopia {
    std::function<void(long filas)> al_comenzar;
    std::function<void()> por_fila;
};

Copia copiar_tabla(TMySQLServer& servidor, rt::TODBC& RS, TablaMaestra tabla,
                   const AvanceCopia& avance = {});

// Rows of a local table; nothing when they cannot be counted.
std::optional<long> filas_locales(rt::TODBC& RS, const char* tabla);

}  // namespace datos
