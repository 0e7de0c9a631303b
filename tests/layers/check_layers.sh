#!/usr/bin/env bash
# Every folder of src/ includes only from itself and the folders below it, as the libraries
# in src/CMakeLists.txt link them. An include that goes upwards fails this test with the
# file and the line, before it can become a hidden cycle.
# Usage: check_layers.sh SRC_DIR
set -uo pipefail
src=${1:?source folder}

# folder -> the include prefixes it may use (besides its own)
declare -A allowed=(
    [runtime/common]=""
    [runtime/screen]="runtime/common"
    [runtime/forms]="runtime/common runtime/screen"
    [runtime/lists]="runtime/common runtime/screen"
    [runtime/worktables]="runtime/common"
    [runtime/browse]="runtime/common runtime/screen runtime/worktables"
    [runtime/server]="runtime/common"
    [runtime/offline]="runtime/common"
    # The data library knows no screen: only the stores and the common helpers.
    [datos]="runtime/common runtime/server runtime/offline"
    [comun]="runtime/common runtime/screen runtime/server"
    [abm]="runtime/common runtime/screen runtime/forms runtime/lists runtime/worktables runtime/browse runtime/server comun datos"
    # The print service draws nothing: its callers lend it their dialogs.
    [vales/impresion]="runtime/common"
)

failures=0
for folder in "${!allowed[@]}"; do
    [[ -d "$src/$folder" ]] || continue
    while IFS= read -r hit; do
        file=${hit%%:*}
        rest=${hit#*:}
        line=${rest%%:*}
        included=$(sed -E 's/^[^"]*"([^"]+)".*/\1/' <<<"${rest#*:}")
        target=$(dirname "$included")
        ok=0
        for prefix in "$folder" ${allowed[$folder]}; do
            [[ "$target" == "$prefix" || "$target" == "$prefix"/* ]] && ok=1
        done
        # A folder's own subfolders are other layers only when listed themselves.
        if ((ok)) && [[ "$target" != "$folder" && -n "${allowed[$target]+x}" && "$target" == "$folder"/* ]]; then
            ok=0
        fi
        if ((!ok)); then
            echo "${file#"$src"/}:$line includes \"$included\", which is not in ${folder} or a layer below it"
            failures=$((failures + 1))
        fi
    done < <(find "$src/$folder" -maxdepth 1 -type f \( -name '*.h' -o -name '*.cpp' \) \
                 -exec grep -Hn '^#include "' {} +)
done

if ((failures)); then
    echo "$failures include(s) against the layers"
    exit 1
fi
echo "layers: every include goes to the same layer or one below"
