// The picture of a key drawn beside the login form.
#include "runtime/screen/console.h"
#include "vales/vales.h"

namespace vales {
namespace {

// 29 lines for rows 3 to 31, each starting at column 60 and at most 31 characters wide.
const cp::OemView kLlave[] = {
    "         .,;;;;;;;;;;,.",
    "      .;;;'`        `';;;.",
    "    .;;'                `;;.",
    "   ;;'      .,;;;;,.      `;;",
    "  ;;'     ,;;'    `;;,     `;;",
    "  ;;     ;;'        `;;     ;;",
    "  ;;     ;;          ;;     ;;",
    "  ;;     `;;,      ,;;'     ;;",
    "  `;;      `';;;;;;'`      ;;'",
    "   `;;.                  .;;'",
    "     `;;.              .;;'",
    "       `';;;,.    .,;;;'`",
    "            ;;    ;;",
    "            ;;    ;;",
    "            ;;    ;;",
    "            ;;    ;;",
    "            ;;    ;;",
    "            ;;    ;;::::::.",
    "            ;;          :::",
    "            ;;    ;;::::::'",
    "            ;;    ;;",
    "            ;;    ;;:::.",
    "            ;;       ::'",
    "            ;;    ;;::'",
    "            ;;    ;;",
    "            ;;    ;;::::.",
    "            ;;        :::",
    "            `;,.  ;;::::'",
    "              `';;'",
};

}  // namespace

void MUESTRALLAVE(std::string_view colour) {
    rt::Console& c = rt::con();
    const std::string previous = c.set_colour(colour);
    int row = 3;
    for (const cp::OemView line : kLlave) c.write_at(row++, 60, line);
    c.set_colour(previous);
}

}  // namespace vales
