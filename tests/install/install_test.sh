#!/usr/bin/env bash
# The program as a workstation gets it, two ways: installed with `cmake --install` into a
# temporary prefix, and unpacked from the Debian package that `cpack -G DEB` makes. Each copy
# is run from a working folder of its own: the help, a bad option, the check of the off-line
# store (created, then opened again, with the SQL functions loaded from ../lib/vales beside
# the program) and no folder of the build machine in any installed file. A lone copy of the
# program without its lib/vales must refuse the store, whatever the build tree holds.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR CMAKE CPACK SANITIZED
# With SANITIZED=1 the build folder check is left out: the sanitizers write the source path
# of every checked spot into the program, and such a build is never installed for users.
set -uo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
cmake=$3
cpack=$4
sanitized=${5:-0}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
work=$(mktemp -d /tmp/vales-install.XXXXXX)
trap 'rm -rf "$work"' EXIT
# The SQLite ODBC driver leaks its message when an extension cannot be loaded (the lone copy
# provokes it); that allocation is the driver's, not the program's.
echo "leak:libsqlite3.so.0" >"$work/lsan.supp"
export LSAN_OPTIONS="suppressions=$work/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

failures=0
passes=0
check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then
        passes=$((passes + 1))
    else
        failures=$((failures + 1))
        echo "FAILED: $what"
    fi
}
has() { grep -qF -- "$2" "$1"; }
lacks() { ! grep -qF -- "$2" "$1"; }
no_build_folder() {  # no_build_folder FILE: neither the source nor the build folder inside
    [[ $sanitized == 1 ]] || ! strings -a "$1" | grep -qF -e "$source/" -e "$build/"
}
table_exists() {  # table_exists STORE TABLE
    [[ $(sqlite3 "$1" "select count(*) from sqlite_master where type='table' and name='$2'") == 1 ]]
}

# run NAME PROGRAM ARGS...: runs in the working folder $work/NAME; status, stdout and stderr
# land in $work/NAME.{status,out,err}.
run() {
    local name=$1
    shift
    mkdir -p "$work/$name"
    (cd "$work/$name" && "$@" >"$work/$name.out" 2>"$work/$name.err")
    echo $? >"$work/$name.status"
}
status_is() { [[ $(cat "$work/$1.status") == "$2" ]]; }

# check_installed LABEL PREFIX: what every installed copy must do.
check_installed() {
    local label=$1 prefix=$2
    local program="$prefix/bin/vales"
    local extension="$prefix/lib/vales/libvales_access.so"
    for file in "$program" "$extension" "$prefix/share/vales/sql/schema.sql" \
        "$prefix/share/vales/sql/offline_schema.sql"; do
        check "$label: $file installed" test -f "$file"
    done
    check "$label: program is executable" test -x "$program"
    check "$label: no build folder in the program" no_build_folder "$program"
    check "$label: no build folder in the extension" no_build_folder "$extension"

    run "$label-ayuda" env LC_ALL=C.UTF-8 "$program" --help
    check "$label: --help ends with 0" status_is "$label-ayuda" 0
    check "$label: --help names the store check" has "$work/$label-ayuda.out" "--comprobar-almacen"
    check "$label: --help in Spanish on a UTF-8 terminal" has "$work/$label-ayuda.out" "producción"
    run "$label-ayuda-c" env LC_ALL=C "$program" --help
    check "$label: --help in plain letters elsewhere" has "$work/$label-ayuda-c.out" "produccion"
    run "$label-version" "$program" --version
    check "$label: --version names the version" has "$work/$label-version.out" "vales $version"
    run "$label-opcion" "$program" --opcion-inexistente
    check "$label: an unknown option ends with 2" status_is "$label-opcion" 2
    check "$label: an unknown option is named" has "$work/$label-opcion.err" "--opcion-inexistente"

    local puesto="$label-puesto"
    run "$puesto" "$program" --comprobar-almacen
    check "$label: a new store is created and opened" status_is "$puesto" 0
    check "$label: the report says it was created" has "$work/$puesto.out" "creado y abierto"
    check "$label: the SQL functions come from lib/vales" \
        has "$work/$puesto.out" "$(realpath "$extension")"
    check "$label: nothing on stderr" test ! -s "$work/$puesto.err"
    check "$label: the store has its tables" table_exists "$work/$puesto/datos/vales.mdb" vales_cab
    run "$puesto" "$program" --comprobar-almacen
    check "$label: the existing store opens again" status_is "$puesto" 0
    check "$label: an existing store is not created again" lacks "$work/$puesto.out" "creado"

    # The program alone in a folder: no extension beside it nor in ../lib/vales. It must not
    # fall back to any other place (the build tree still has its copy).
    mkdir -p "$work/$label-solo/bin"
    cp "$program" "$work/$label-solo/bin/vales"
    run "$label-sin-extension" "$work/$label-solo/bin/vales" --comprobar-almacen
    check "$label: a copy without its extension refuses the store" \
        status_is "$label-sin-extension" 1
    check "$label: ... and says so" has "$work/$label-sin-extension.err" "almacen fuera de linea"
    check "$label: ... and leaves no store behind" \
        test ! -e "$work/$label-sin-extension/datos/vales.mdb"
}

# --- cmake --install --------------------------------------------------------------------
if "$cmake" --install "$build" --prefix "$work/prefijo" >"$work/install.log" 2>&1; then
    check_installed install "$work/prefijo"
else
    failures=$((failures + 1))
    echo "FAILED: cmake --install"
    cat "$work/install.log"
fi

# --- Debian package ---------------------------------------------------------------------
if "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/paquete" >"$work/cpack.log" 2>&1; then
    deb=$(ls "$work"/paquete/vales_*.deb 2>/dev/null | head -n 1)
    check "deb: named vales_<version>_<arch>.deb" test -n "$deb"
    if [[ -n $deb ]]; then
        dpkg-deb -f "$deb" Depends >"$work/depends"
        for dependency in libmariadb3 unixodbc libsqliteodbc libcups2; do
            check "deb: depends on $dependency" grep -qw -- "$dependency" "$work/depends"
        done
        dpkg-deb -x "$deb" "$work/raiz"
        check_installed deb "$work/raiz/usr"
    fi
else
    failures=$((failures + 1))
    echo "FAILED: cpack -G DEB"
    cat "$work/cpack.log"
fi

echo "install_test: $passes passed, $failures failed"
exit $((failures > 0))
