#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs the demo under Wine.
# The first line names the architecture of the build (scripts/arch.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
source "$root/scripts/arch.sh"
choose_arch
bash "$root/scripts/setup.sh"
echo "Building into $build ..."
BUILD_DIR="$build" bash "$root/scripts/build.sh" >/dev/null
exec bash "$root/scripts/demo.sh" "$@"
