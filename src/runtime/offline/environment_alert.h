#pragma once
// The one failure the store connection reports by itself: the ODBC environment could not
// be allocated (the driver manager is missing or broken). Two alert boxes: the fixed title
// "SQLAllocEnvironment Error", then the driver manager's own text.
#include <string_view>

namespace rt {

void show_environment_failure(std::string_view odbc_error);

}  // namespace rt
