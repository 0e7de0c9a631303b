# The Debian package: `cpack -G DEB` in the build folder makes vales_<version>_<arch>.deb,
# installed on a workstation with `apt install ./vales_*.deb`.
set(CPACK_PACKAGE_NAME vales)
set(CPACK_PACKAGE_VENDOR "Sistemas de planta")
set(CPACK_PACKAGE_CONTACT "Sistemas de planta <sistemas@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Registro de vales de producción en consola de texto")
set(CPACK_PACKAGE_DESCRIPTION
    "Programa de consola (100 x 36) con que el personal de planta registra los vales de \
producción: ingreso en línea en el servidor MariaDB/MySQL de la empresa, ingreso fuera \
de línea en un almacén local (SQLite por unixODBC) con envío posterior, impresión de vales \
y mantención de catálogos.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps adds the libraries the program links (libmariadb3, libodbc2, libcups2,
# zlib, the C and C++ run-time) with their versions. What is loaded at run time it cannot
# see: the ODBC driver manager's set-up and the SQLite ODBC driver. Showing a PDF, HTML or
# RTF file on the desktop runs xdg-open, and the CUPS client tools set up the printers; a
# console-only workstation, or one printing through another machine's CUPS, does without.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "unixodbc, libsqliteodbc, libcups2")
# Nothing is recommended: a recommendation is installed by default, and the desktop opener
# alone brings dozens of X11 packages to a console workstation.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups-client, xdg-utils, mariadb-client, sqlite3")

include(CPack)
