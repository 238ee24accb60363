#!/usr/bin/env bash
# Configures and builds into ${BUILD_DIR:-build}: the program, the tests and their fixtures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw32.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)"
