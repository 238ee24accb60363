#!/usr/bin/env bash
# Configures and builds into ${BUILD_DIR:-build}: the program, the tests and their fixtures,
# for the architecture WCU_ARCH names (scripts/arch.sh; chosen here when unset).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
source "$root/scripts/arch.sh"
[ -n "${WCU_ARCH:-}" ] || choose_arch >/dev/null
case "$WCU_ARCH" in
x86) toolchain=toolchain-mingw32.cmake ;;
x64) toolchain=toolchain-mingw64.cmake ;;
*) echo "WCU_ARCH must be x86 or x64, not '$WCU_ARCH'" >&2; exit 2 ;;
esac
# A tree made for the other architecture (compilers and Wine prefix) starts afresh.
if [ -f "$build/CMakeCache.txt" ] && ! grep -q "^CMAKE_TOOLCHAIN_FILE:.*/$toolchain\$" "$build/CMakeCache.txt"; then
    "$build/wine-run" --stop 2>/dev/null || true
    rm -rf "$build"
fi
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" >/dev/null
cmake --build "$build" -j"$(nproc)"
