# What `cmake --install` puts on a workstation:
#   bin/vales                       the program
#   lib/vales/libvales_access.so    SQL functions of the off-line store, found by the
#                                   program as ../lib/vales relative to itself
#   share/vales/sql/                schemas a plant needs to create its databases
#   share/doc/vales/README.md
# The layout is fixed rather than taken from GNUInstallDirs: the program finds its extension
# by this relative path, so bin and lib/vales must stay side by side.
install(TARGETS vales RUNTIME DESTINATION bin)
install(TARGETS vales_access LIBRARY DESTINATION lib/vales)
install(FILES sql/schema.sql sql/objetos_adicionales.sql sql/offline_schema.sql
        DESTINATION share/vales/sql)
install(FILES README.md DESTINATION share/doc/vales)
