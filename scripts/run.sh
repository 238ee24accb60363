#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs the demo under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/scripts/setup.sh"
echo "Building into $build ..."
BUILD_DIR="$build" bash "$root/scripts/build.sh" >/dev/null
exec bash "$root/scripts/demo.sh" "$@"
