#include "runtime/offline/environment_alert.h"

#if __has_include("runtime/lists/alert.h")
#include "runtime/lists/alert.h"
#define VALES_HAVE_ALERT 1
#endif

namespace rt {

void show_environment_failure([[maybe_unused]] std::string_view odbc_error) {
#ifdef VALES_HAVE_ALERT
    alert("SQLAllocEnvironment Error");
    alert(odbc_error);
#endif
}

}  // namespace rt
