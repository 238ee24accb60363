#!/usr/bin/env bash
# Takes docs/server-dialog.png: the server dialog with its default captions,
# shown by the dialog_demo fixture under this build tree's Wine and Xvfb.
#   BUILD_DIR=/tmp/build bash scripts/screenshot-dialog.sh
# xwd, xwininfo and ImageMagick come from scripts/setup.sh --screenshots.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
out="$root/docs/server-dialog.png"
title="Обновление параметров Warden"

bash "$root/scripts/setup.sh" --screenshots
[ -x "$build/bin/dialog_demo.exe" ] || { echo "build first: $build/bin/dialog_demo.exe is missing" >&2; exit 1; }

# The demo closes its dialog itself after 20 seconds.
"$build/wine-run" "$build/bin/dialog_demo.exe" 20 &
demo=$!
trap 'wait "$demo" 2>/dev/null || true' EXIT

window=""
for _ in $(seq 100); do
    display=":$(head -n1 "$build/wineprefix.run/xvfb.display" 2>/dev/null || true)"
    window=$(DISPLAY=$display xwininfo -root -tree 2>/dev/null | grep -F "\"$title\"" | awk '{print $1}' | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the dialog did not appear" >&2; exit 1; }
sleep 1  # let it paint

mkdir -p "$(dirname "$out")"
DISPLAY=$display xwd -silent -id "$window" -frame | /usr/bin/convert xwd:- "png:$out"
echo "wrote $out"
