#include "runtime/offline/environment_failure.h"

#include <utility>

namespace rt {
namespace {
EnvironmentFailureReport g_report;
}

EnvironmentFailureReport set_environment_failure_report(EnvironmentFailureReport report) {
    return std::exchange(g_report, std::move(report));
}

void report_environment_failure(std::string_view odbc_error) {
    if (g_report) g_report(odbc_error);
}

}  // namespace rt
