#!/usr/bin/env bash
# Times module-mode process searches with 50 stand-in processes running, each
# holding a few DLLs, on both Windows families (NT: PSAPI; 9x: the snapshot
# interface, through Wine's per-program win98 setting). Prints the times.
#   BUILD_DIR=... bash scripts/bench-search.sh [PROCESSES] [REPEAT]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
count=${1:-50}
repeat=${2:-10}
run="$build/wine-run"
bin="$build/bin"
[ -x "$bin/searchprobe.exe" ] || BUILD_DIR="$build" bash "$root/scripts/build.sh" >/dev/null

work=$(mktemp -d "$build/bench.XXXXXX")
win() { winepath -w "$1" 2>/dev/null; }
cleanup() {
    timeout 60 "$run" taskkill /F /IM benchholder.exe >/dev/null 2>&1 || true
    timeout 30 "$run" reg delete 'HKCU\Software\Wine\AppDefaults\probe9x.exe' /f >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

cp "$bin/holder.exe" "$work/benchholder.exe"
cp "$bin/searchprobe.exe" "$work/probe.exe"
cp "$bin/searchprobe.exe" "$work/probe9x.exe"
dlls=()
for name in alpha beta gamma delta; do
    cp "$bin/heldlib.dll" "$work/$name.dll"
    dlls+=("$(WINEPREFIX="$build/wineprefix" win "$work/$name.dll")")
done
export WINEPREFIX="$build/wineprefix"
timeout 60 "$run" reg add 'HKCU\Software\Wine\AppDefaults\probe9x.exe' /v Version /d win98 /f >/dev/null

echo "starting $count stand-ins holding ${#dlls[@]} DLLs each"
for _ in $(seq "$count"); do
    timeout 600 "$run" "$work/benchholder.exe" -t=300 "${dlls[@]}" >/dev/null 2>&1 &
done

probe() {  # probe.exe|probe9x.exe MODE ARGS... -> the result file's text
    local program=$1
    shift
    timeout 300 "$run" "$work/$program" "$(win "$work/result.txt")" "$@" >/dev/null 2>&1
    cat "$work/result.txt"
}

for _ in $(seq 120); do
    ready=$(probe probe.exe -repeat=1 module "${dlls[3]}" | grep -c '^process ' || true)
    [ "$ready" -ge "$count" ] && break
    sleep 1
done
echo "holders found: $ready"

for program in probe.exe probe9x.exe; do
    for mode in module name; do
        if [ "$mode" = module ]; then args=(module "${dlls[3]}"); else args=(name benchholder.exe); fi
        result=$(probe "$program" -repeat="$repeat" "${args[@]}")
        platform=$(sed -n 's/^platform //p' <<<"$result")
        read -r total runs < <(sed -n 's/^elapsed_ms //p' <<<"$result")
        found=$(grep -c '^process ' <<<"$result" || true)
        echo "platform $platform, $mode mode: $runs searches in $total ms ($((total / runs)) ms each), $found processes found"
    done
done
