#include "vales/comprobar_almacen.h"

#include <cstdio>
#include <string>

#include "runtime/offline/store_creation.h"
#include "runtime/offline/todbc.h"

namespace vales {

int comprobar_almacen() {
    const std::string archivo(rt::kOfflineStoreFile);
    std::string motivo;
    const auto creacion = rt::create_offline_store(archivo, &motivo);
    if (creacion == rt::StoreCreation::failed) {
        std::fprintf(stderr, "vales: no se pudo crear el almacen fuera de linea %s: %s\n",
                     archivo.c_str(), motivo.c_str());
        return 1;
    }
    // Connecting runs the probe of the SQL functions: without them the store is refused.
    rt::TODBC almacen;
    if (!almacen.Connected()) {
        std::fprintf(stderr, "vales: no se puede usar el almacen fuera de linea %s: %s\n",
                     archivo.c_str(), almacen.SQLErrorMessage().c_str());
        return 1;
    }
    std::printf("vales: almacen fuera de linea %s %s; funciones SQL de %s\n", archivo.c_str(),
                creacion == rt::StoreCreation::created ? "creado y abierto" : "abierto",
                rt::access_extension_path().c_str());
    return 0;
}

}  // namespace vales
