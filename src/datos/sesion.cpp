#include "datos/sesion.h"

namespace datos {
namespace {
Sesion* g_sesion = nullptr;
}

Sesion& ses() {
    return *g_sesion;
}

Sesion* install_sesion(Sesion* sesion) {
    Sesion* previous = g_sesion;
    g_sesion = sesion;
    return previous;
}

}  // namespace datos
