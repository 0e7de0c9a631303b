#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole test suite.
#   scripts/test.sh              normal build in build/
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/
#   scripts/test.sh --release    Release build of the program alone in build-release/ (no tests)
# Warnings are errors here, as in CI.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build
options=(-DVALES_WERROR=ON)
targets=()
case "${1:-}" in
--sanitize)
    build=build-asan
    options+=(-DVALES_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
    ;;
--release)
    # What a user builds: no tests, so no GoogleTest needed.
    build=build-release
    options+=(-DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVALES_BENCHMARKS=OFF)
    targets=(--target vales)
    ;;
esac

if [[ $(id -u) == 0 ]]; then
    bash scripts/install-deps.sh
fi
cmake -S . -B "$build" -G "Unix Makefiles" "${options[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
[[ ${#targets[@]} == 0 ]] || exit 0
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 600
