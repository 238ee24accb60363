#!/usr/bin/env bash
# The demo: runs WardCfgUp.exe under Wine on the bundled example scenario,
# printing every message box (answered from a script) and the run log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
demo="$build/demo"
export WINE_RUN_PREFIX="$build/demo-prefix"
if [ "${1:-}" = "--interactive" ]; then
    : "${DISPLAY:?--interactive needs a DISPLAY}"
    export WINE_RUN_DISPLAY="$DISPLAY"
fi
trap '"$build/wine-run" --stop' EXIT

winpath() { echo "Z:${1//\//\\}"; }
drive() {  # uidriver ANSWERS PARAMETERS...: runs the program, prints its boxes
    local answers=$1; shift
    "$build/wine-run" "$build/bin/uidriver.exe" --answers "$answers" --cwd "$(winpath "$demo/work")" \
        -- "\"$(winpath "$demo/prog/WardCfgUp.exe")\" $*" || true
}

rm -rf "$demo" && mkdir -p "$demo/prog" "$demo/work"
cp "$build/bin/WardCfgUp.exe" "$demo/prog/"
cp "$root/examples/scenario.ini" "$demo/prog/"

echo "=== WardCfgUp.exe ?"
drive OK "?"
echo "=== WardCfgUp.exe -cw=defaults.ini"
drive "" "-cw=defaults.ini"
echo "--- defaults.ini (first lines):"
iconv -f CP1251 -t UTF-8 "$demo/prog/defaults.ini" | head -n 20
echo "=== WardCfgUp.exe -c=scenario.ini -l=run.log"
drive OK,OK,OK "-c=scenario.ini -l=run.log"
echo "--- run.log:"
iconv -f CP1251 -t UTF-8 "$demo/work/run.log" 2>/dev/null || echo "(empty)"
