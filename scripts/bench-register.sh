#!/usr/bin/env bash
# Measures one RegisterOCX of a test control against regsvr32's own run time,
# under the build's Wine. Usage: BUILD_DIR=<build> scripts/bench-register.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake --build "$build" --target registerbench testcontrol_1_0_0_0 >/dev/null
timeout 600 "$build/wine-run" "$build/bin/registerbench.exe" "${1:-5}"
