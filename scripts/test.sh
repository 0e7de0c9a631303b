#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole test suite.
#   scripts/test.sh              normal build in build/
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."

build=build
options=()
if [[ "${1:-}" == "--sanitize" ]]; then
    build=build-asan
    options=(-DVALES_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi

if [[ $(id -u) == 0 ]]; then
    bash scripts/install-deps.sh
fi
cmake -S . -B "$build" -G "Unix Makefiles" "${options[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 600
