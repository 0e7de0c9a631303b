#include "runtime/offline/environment_alert.h"

#include "runtime/lists/alert.h"

namespace rt {

void show_environment_failure(std::string_view odbc_error) {
    alert("SQLAllocEnvironment Error");
    alert(odbc_error);
}

}  // namespace rt
