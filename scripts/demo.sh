#!/usr/bin/env bash
# The demo: a complete update of a simulated banking client under Wine.
#
# In a Wine prefix of its own it installs an older client (test controls,
# a registered class, warden.cfg with two servers, the stand-in tunnel client
# running with a control loaded), puts WardCfgUp.exe with a scenario and newer
# files into a download folder, and runs the real program. Every message box is
# printed and answered from the demo's script, and each step the progress window
# shows is printed; with --interactive (and a DISPLAY) you see the real windows
# and answer them yourself. With --plan the dry run's plan is printed before the
# real run. It ends with the run log and a summary of what changed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bin="$build/bin"
interactive=false
plan=false
for option in "$@"; do
    case "$option" in
    --interactive)
        : "${DISPLAY:?--interactive needs a DISPLAY}"
        export WINE_RUN_DISPLAY="$DISPLAY"
        interactive=true ;;
    --plan) plan=true ;;
    *) echo "usage: $0 [--interactive] [--plan]" >&2; exit 2 ;;
    esac
done

export WINE_RUN_PREFIX="$build/demo-prefix"
wr() { "$build/wine-run" "$@"; }
trap 'wr --stop' EXIT

rm -rf "$WINE_RUN_PREFIX" "$WINE_RUN_PREFIX.run"
echo "Preparing a Wine prefix for the demo (about 20 s)..."
wr cmd /c exit >/dev/null 2>&1

drive_c="$WINE_RUN_PREFIX/drive_c"
client="$drive_c/BankClient"
update="$drive_c/Update"
clsid="{5B1F0A4E-2C7D-4E8A-9A11-3F6D2B7C9E01}"
mkdir -p "$client" "$update"

# --- The installed client: older controls, a newer library, the tunnel client.
cp "$bin/testcontrol_1_0_0_0.ocx" "$client/bankctl.ocx"
cp "$bin/testcontrol_1_2_0_0.ocx" "$client/bankaux.ocx"
cp "$bin/testcontrol_3_1_4_1.ocx" "$client/bankcore.dll"
cp "$bin/wardlink.exe" "$client/wardlink.exe"
printf '%s\r\n' "$clsid" > "$client/testcontrol.clsid"
printf '%s\r\n' \
    '[Client\Web servers\s1]' 'web server host=online.oldbank.example' 'web server address=192.0.2.10' \
    'warden location=tunnel.oldbank.example:8443' 'reserve location=reserve.oldbank.example' \
    '[Client\Web servers\s1\Crypto engine]' 'Key exchange=RSA' 'Cipher=AES' \
    '[Client\Web servers\s2]' 'web server host=mail.otherbank.example' 'web server address=' \
    'warden location=tunnel.otherbank.example:443' 'reserve location=' \
    '[Client\Web servers\s2\Crypto engine]' 'Key exchange=RSA' > "$client/warden.cfg"
cp "$client/warden.cfg" "$build/demo-warden.before"
wr regsvr32 /s 'C:\BankClient\bankctl.ocx'
wr 'C:\BankClient\wardlink.exe' -t=600 'C:\BankClient\bankctl.ocx' &
sleep 2

# --- The download folder: the program, its scenario and the newer files.
cp "$bin/WardCfgUp.exe" "$update/"
cp "$bin/testcontrol_2_0_0_0.ocx" "$update/bankctl.ocx"
cp "$bin/testcontrol_2_0_0_0.ocx" "$update/bankaux.ocx"
cp "$bin/testcontrol_2_0_0_0.ocx" "$update/bankcore.dll"
cp "$bin/exitprobe.exe" "$update/welcome.exe"
cp "$bin/exitprobe.exe" "$update/support.exe"
printf '%s\r\n' \
    '[WardCfgUp]' 'RemoveBackup=1' "AXCLSID=$clsid" 'FILE1=bankctl.ocx' 'FILE2=bankaux.ocx' 'FILE3=bankcore.dll' \
    '[WEB SERVERS HOSTS]' 'online.oldbank.example=online.newbank.example' \
    '[WARDEN LOCATION]' 'tunnel.oldbank.example:8443=tunnel.newbank.example:9443' \
    'reserve.oldbank.example:80=reserve.newbank.example:9443' \
    '[CRYPTO PARAMS]' 'Cipher=GOST' \
    '[RUN OK]' 'C:\Update\welcome.exe=0 update completed' \
    '[RUN NOT OK]' 'C:\Update\support.exe=0 update failed' > "$update/scenario.ini"

if $plan; then
    echo
    echo "=== C:\\Update\\WardCfgUp.exe -c=scenario.ini -plan -l=plan.txt"
    code=0
    wr "$bin/uidriver.exe" --cwd 'C:\Update' -- '"C:\Update\WardCfgUp.exe" -c=scenario.ini -plan -l=plan.txt' || code=$?
    iconv -f CP1251 -t UTF-8 "$update/plan.txt" 2>/dev/null | tr -d '\r' || echo "(no plan)"
    echo "(exit code $code)"
    rm -f "$update/plan.txt"
fi

echo
echo "=== C:\\Update\\WardCfgUp.exe -c=scenario.ini -l=update.log"
if $interactive; then
    (cd "$update" && wr 'C:\Update\WardCfgUp.exe' -c=scenario.ini -l=update.log) || true
else
    # OK to the request to close the tunnel client, OK to the final message.
    wr "$bin/uidriver.exe" --answers OK,OK --cwd 'C:\Update' -- '"C:\Update\WardCfgUp.exe" -c=scenario.ini -l=update.log' || true
fi

sleep 2
echo
echo "=== Run log (C:\\Update\\update.log)"
iconv -f CP1251 -t UTF-8 "$update/update.log" 2>/dev/null || echo "(no log)"

echo
echo "=== What changed"
for name in bankctl.ocx bankaux.ocx bankcore.dll; do
    base=${name%.*}
    if [ -f "$client/$base.bak" ]; then
        echo "replaced:      C:\\BankClient\\$name (the old file kept as $base.bak)"
    else
        echo "not replaced:  C:\\BankClient\\$name (installed version not older)"
    fi
done
for name in bankctl.ocx bankaux.ocx bankcore.dll; do
    [ -f "$update/$name" ] && echo "source kept:   C:\\Update\\$name" || echo "source deleted: C:\\Update\\$name"
done
echo "class $clsid registered to: $(wr reg query "HKCR\\CLSID\\$clsid\\InprocServer32" /ve 2>/dev/null | tr -d '\r' | grep -o 'C:.*' || echo none)"
echo "warden.cfg:    sections added (warden.bak keeps the old file):"
diff <(grep '^\[' "$build/demo-warden.before" | tr -d '\r') <(grep '^\[' "$client/warden.cfg" | tr -d '\r') |
    sed -n 's/^> /                 /p' || true  # diff answers 1 when it finds a difference
tr -d '\r' < "$client/warden.cfg" | sed -n '/s3\]$/,$p' | sed 's/^/                   /'
# The result programs and the tunnel client start without being waited for.
for _ in $(seq 20); do [ -f "$update/welcome.calls" ] || [ -f "$update/support.calls" ] && break; sleep 0.5; done
for program in welcome support; do
    if [ -f "$update/$program.calls" ]; then echo "started:       $(tr -d '\r' < "$update/$program.calls")"; fi
done
if pgrep -f 'BankClient.wardlink.exe' >/dev/null; then
    echo "tunnel client: running again from C:\\BankClient\\wardlink.exe"
else
    echo "tunnel client: not running"
fi
