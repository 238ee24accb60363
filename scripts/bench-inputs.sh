#!/usr/bin/env bash
# Times the modes of the real program on inputs that once made them slow, and
# prints each time (the goal: under 2 s each on a 2-core machine):
#   -check= of 50 and 70 entries that all share one backup name (FILEn=x.eN)
#   -check= of 10,000 FILE keys
#   -plan with a warden.cfg of 4,000 server sections, one of them moved
# Usage: BUILD_DIR=<build> scripts/bench-inputs.sh   (KEEP_BENCH=1 keeps the inputs
# and the outputs in the prefix's C:\bench afterwards)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
BUILD_DIR="$build" bash "$root/scripts/build.sh" >/dev/null
run="$build/wine-run"
exe="$build/bin/WardCfgUp.exe"

# A folder of the prefix's drive C: the program, its scenarios and a client.
bench="$build/wineprefix/drive_c/bench"
rm -rf "$bench"
mkdir -p "$bench/prog" "$bench/client"
cp "$exe" "$bench/prog/"
clsid='{B0E7C5A1-0000-4000-8000-00000000BE0C}'
cleanup() {
    [ -n "${KEEP_BENCH:-}" ] && return
    rm -rf "$bench"
    "$run" reg delete "HKCR\\CLSID\\$clsid" /f >/dev/null 2>&1 || true
}
trap cleanup EXIT

crlf() { sed 's/$/\r/'; }

# Seconds of one start of the program in C:\bench (the download folder).
timed() {
    local start end
    start=$(date +%s%N)
    (cd "$bench" && timeout 600 "$run" 'C:\bench\prog\WardCfgUp.exe' "$@" >/dev/null 2>&1) || true
    end=$(date +%s%N)
    local ms=$(((end - start) / 1000000))
    printf '%d.%02d' $((ms / 1000)) $((ms % 1000 / 10))
}

shared_backup_scenario() {
    {
        echo "[WardCfgUp]"
        for n in $(seq "$1"); do echo "FILE$n=x.e$n"; done
    } | crlf > "$bench/prog/shared$1.ini"
}

many_keys_scenario() {
    {
        echo "[WardCfgUp]"
        for n in $(seq "$1"); do echo "FILE$n=f$n.dll"; done
    } | crlf > "$bench/prog/keys$1.ini"
}

# A client found through its registered control, with a settings file of
# `count` servers; the scenario moves the host of the last one.
large_settings_client() {
    local count=$1
    : > "$bench/client/ctl.ocx"
    "$run" reg add "HKCR\\CLSID\\$clsid\\InprocServer32" /ve /d 'C:\bench\client\ctl.ocx' /f >/dev/null 2>&1
    awk -v count="$count" 'BEGIN {
        for (n = 1; n <= count; n++) {
            printf "[Client\\Web servers\\s%d]\nweb server host=host%d\nweb server address=10.0.%d.%d\n", n, n, n % 250, n % 200
            printf "warden location=tun%d:81\nreserve location=res%d:81\n", n, n
            printf "[Client\\Web servers\\s%d\\Crypto engine]\nCipher=gost\n", n
        }
    }' | crlf > "$bench/client/warden.cfg"
    printf '[WardCfgUp]\nAXCLSID=%s\n[WEB SERVERS HOSTS]\nhost%d=moved.example\n' "$clsid" "$count" |
        crlf > "$bench/prog/plan.ini"
}

"$run" cmd /c exit >/dev/null 2>&1 || true  # the prefix and its server, before any time is taken
printf '%-58s %8s\n' "input" "seconds"
for n in 50 70; do
    shared_backup_scenario "$n"
    printf '%-58s %8s\n' "-check= of $n entries sharing one backup name" "$(timed "-check=shared$n.ini" -l=check.txt)"
done
many_keys_scenario 10000
printf '%-58s %8s\n' "-check= of 10,000 FILE keys" "$(timed -check=keys10000.ini -l=check.txt)"
large_settings_client 4000
printf '%-58s %8s\n' "-plan with a warden.cfg of 4,000 server sections" "$(timed -c=plan.ini -plan -l=plan.txt)"
grep -c 'would add' "$bench/plan.txt" | sed 's/^/  sections the plan would add: /'
