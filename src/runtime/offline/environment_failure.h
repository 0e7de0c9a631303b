#pragma once
// The one failure the store connection reports as it happens: the ODBC environment could
// not be allocated (the driver manager is missing or broken). The store knows nothing of
// the screen: the program installs the routine that tells the user (two alert boxes, the
// fixed title "SQLAllocEnvironment Error" and then the driver manager's own text), and a
// store object without one only keeps the failure in Error() and SQLErrorMessage().
#include <functional>
#include <string_view>

namespace rt {

using EnvironmentFailureReport = std::function<void(std::string_view odbc_error)>;

// Installs the report for every later connection; gives back the previous one.
EnvironmentFailureReport set_environment_failure_report(EnvironmentFailureReport report);
void report_environment_failure(std::string_view odbc_error);

}  // namespace rt
