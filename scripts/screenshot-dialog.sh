#!/usr/bin/env bash
# Takes a screenshot for the docs of one of the program's windows, shown by the
# dialog_demo fixture under this build tree's Wine and Xvfb:
#   bash scripts/screenshot-dialog.sh [server]   docs/server-dialog.png, the server dialog with its default captions
#   bash scripts/screenshot-dialog.sh progress   docs/progress-window.png, the progress window at a registration
#   bash scripts/screenshot-dialog.sh server 144 docs/server-dialog-144dpi.png, the same at 144 DPI (150 %),
#                                                in the tree's prefix of that DPI setting
# BUILD_DIR=/tmp/build takes another build tree. xwd, xwininfo and ImageMagick
# come from scripts/setup.sh --screenshots.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
dpi=${2:-96}
case "$dpi" in 96) suffix="" ;; [0-9]*) suffix="-${dpi}dpi" ;; *) echo "usage: $0 [server|progress] [dpi]" >&2; exit 2 ;; esac
case "${1:-server}" in
server) mode=() title="Обновление параметров Warden" out="$root/docs/server-dialog$suffix.png" ;;
progress) mode=(progress) title="Обновление клиента ДБО" out="$root/docs/progress-window$suffix.png" ;;
*) echo "usage: $0 [server|progress] [dpi]" >&2; exit 2 ;;
esac
if [ "$dpi" != 96 ]; then export WINE_RUN_DPI=$dpi; fi

bash "$root/scripts/setup.sh" --screenshots
[ -x "$build/bin/dialog_demo.exe" ] || { echo "build first: $build/bin/dialog_demo.exe is missing" >&2; exit 1; }

# The demo closes its window itself after 20 seconds.
"$build/wine-run" "$build/bin/dialog_demo.exe" 20 "${mode[@]}" &
demo=$!
trap 'wait "$demo" 2>/dev/null || true' EXIT

window=""
for _ in $(seq 100); do
    display=":$(head -n1 "$build/wineprefix$suffix.run/xvfb.display" 2>/dev/null || true)"
    window=$(DISPLAY=$display xwininfo -root -tree 2>/dev/null | grep -F "\"$title\"" | awk '{print $1}' | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }
sleep 1  # let it paint

mkdir -p "$(dirname "$out")"
DISPLAY=$display xwd -silent -id "$window" -frame | /usr/bin/convert xwd:- "png:$out"
echo "wrote $out"
