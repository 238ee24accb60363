#!/usr/bin/env bash
# Takes docs/server-dialog.png: the server dialog with its default captions,
# shown by the dialog_demo fixture under this build tree's Wine and Xvfb.
#   BUILD_DIR=/tmp/build bash scripts/screenshot-dialog.sh
# Installs xwd (x11-apps), xwininfo (x11-utils) and ImageMagick when they are missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
out="$root/docs/server-dialog.png"
title="Обновление параметров Warden"

if ! command -v xwd >/dev/null || ! command -v xwininfo >/dev/null || [ ! -x /usr/bin/convert ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends x11-apps x11-utils imagemagick >/dev/null
fi
[ -x "$build/bin/dialog_demo.exe" ] || { echo "build first: $build/bin/dialog_demo.exe is missing" >&2; exit 1; }

# The demo closes its dialog itself after 20 seconds.
"$build/wine-run" "$build/bin/dialog_demo.exe" 20 &
demo=$!
trap 'wait "$demo" 2>/dev/null || true' EXIT

display=":$(head -n1 "$build/.wine-run/xvfb.display")"
window=""
for _ in $(seq 100); do
    window=$(DISPLAY=$display xwininfo -root -tree 2>/dev/null | grep -F "\"$title\"" | awk '{print $1}' | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the dialog did not appear" >&2; exit 1; }
sleep 1  # let it paint

mkdir -p "$(dirname "$out")"
DISPLAY=$display xwd -silent -id "$window" -frame | /usr/bin/convert xwd:- "png:$out"
echo "wrote $out"
