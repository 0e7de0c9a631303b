#!/usr/bin/env bash
# The layers of src/ are the link graph, and the build enforces them: each library reaches
# only the headers of its own folders and of the libraries it links (cmake/helpers.cmake).
# This shows it:
#   - probes: a file of a library's own kind that includes a header of a layer above it (or
#     beside it) must fail to compile, because that header is not found; one that includes a
#     header it may reach must compile;
#   - no include of src/ climbs out of a folder ("../") or names an absolute path, which
#     would reach any header from beside the including file;
#   - the README's layout table names, for every library, exactly the libraries it links.
# Every header of a library is also compiled with the library itself (cmake/helpers.cmake).
# Usage: capas.sh COMPILER PROBES_FILE GRAPH_FILE README SRC
#   PROBES_FILE  lines "expect|include;dirs|header" (expect: ok or no)
#   GRAPH_FILE   lines "library dependency dependency ..." (every library of src/)
set -uo pipefail
compiler=$1 probes=$2 graph=$3 readme=$4 src=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

while IFS='|' read -r expect dirs header; do
    [[ -n $expect ]] || continue
    if [[ ! -f $src/$header ]]; then
        echo "probe: $header is no header of src/"
        failures=$((failures + 1))
        continue
    fi
    flags=()
    IFS=';' read -ra list <<<"$dirs"
    for d in "${list[@]}"; do [[ -n $d ]] && flags+=("-I$d"); done
    printf '#include "%s"\n' "$header" >"$work/probe.cpp"
    if "$compiler" -std=c++20 -fsyntax-only "${flags[@]}" "$work/probe.cpp" 2>"$work/err"; then
        got=ok
    elif grep -qF "$header: No such file or directory" "$work/err"; then
        got=no
    else
        got="another error"
    fi
    if [[ $got != "$expect" ]]; then
        failures=$((failures + 1))
        echo "probe: ${header} from ${list[0]##*/include/}: expected '$expect', got '$got'"
        [[ $got == no ]] && head -3 "$work/err"
    fi
done <"$probes"

while IFS= read -r hit; do
    echo "include out of the layers' reach: ${hit#"$src"/}"
    failures=$((failures + 1))
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"(/|[^"]*\.\./)' "$src")

# The README's table: "| `src/x` | `library` | what | `dep`, `dep` |".
declare -A table
while IFS= read -r line; do
    lib=$(sed -E 's/^\| `[^`]+` \| `([^`]+)` \|.*/\1/' <<<"$line")
    deps=$(awk -F'|' '{print $5}' <<<"$line" | grep -o '`[a-z_]*`' | tr -d '`' | sort | xargs)
    table[$lib]=$deps
done < <(grep -E '^\| `src/[^`]*` \| `[a-z_]+` \|' "$readme")
while read -r lib deps; do
    [[ -n $lib ]] || continue
    want=$(tr ' ' '\n' <<<"$deps" | grep -v '^$' | sort | xargs)
    if [[ -z ${table[$lib]+x} ]]; then
        echo "README: no row for library $lib"
        failures=$((failures + 1))
    elif [[ ${table[$lib]} != "$want" ]]; then
        echo "README: $lib links '$want', the table says '${table[$lib]}'"
        failures=$((failures + 1))
    fi
    unset "table[$lib]"
done <"$graph"
for lib in "${!table[@]}"; do
    echo "README: row for $lib, which is no library of src/"
    failures=$((failures + 1))
done

if ((failures)); then
    echo "$failures failure(s) against the layers"
    exit 1
fi
echo "layers: each library reaches only what it links, and the README's table says so"
