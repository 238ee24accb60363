#!/usr/bin/env bash
# Measures an update of 10 controls end to end, and where its time goes, under
# the build's Wine. Usage: BUILD_DIR=<build> scripts/bench-update.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake --build "$build" --target updatebench WardCfgUp test_programs >/dev/null
timeout 900 "$build/wine-run" "$build/bin/updatebench.exe"
