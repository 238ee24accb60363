#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine.
# The first line names the architecture of the test build (scripts/arch.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
source "$root/scripts/arch.sh"
arch_was_set=${WCU_ARCH:+yes}
choose_arch
bash "$root/scripts/setup.sh"
BUILD_DIR="$build" bash "$root/scripts/build.sh"
trap '"$build/wine-run" --stop' EXIT
# Most tests wait (on Wine, on the module runner's second): more run at once
# than there are cores.
(cd "$build" && ctest --output-on-failure -j"$(($(nproc) + 3))" "$@")

# CI on a host that runs both kinds also builds the x64 path and runs its
# in-process tests, so that neither path rots unnoticed.
if [ "${CI:-}" = true ] && [ -z "$arch_was_set" ] && [ "$WCU_ARCH" = x86 ]; then
    echo "Also building the x64 path and running its in-process tests"
    x64="$build-x64"
    trap '"$build/wine-run" --stop; "$x64/wine-run" --stop' EXIT
    WCU_ARCH=x64 BUILD_DIR="$x64" bash "$root/scripts/build.sh"
    (cd "$x64" && ctest --output-on-failure -j"$(nproc)" -L unit)
fi
