#!/usr/bin/env bash
# Times the scenario-mode correction of warden.cfg files holding 1, 10, 100
# and 1,000 server sections, every one mapped to a new host, and prints the
# times. Other section counts can be given as arguments.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
BUILD_DIR="$build" bash "$root/scripts/build.sh" >/dev/null
timeout 1800 "$build/wine-run" "$build/bin/warden_bench.exe" "$@"
