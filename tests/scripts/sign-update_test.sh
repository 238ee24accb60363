#!/usr/bin/env bash
# The signing of an update (scripts/sign-update.sh) on real files, run as the
# bank runs it in the folder of the sources: the hashes of the FILEn values the
# program reads, every other byte of the scenario kept, the same files from a
# second run, and nothing written when a source is missing. That the program
# takes what it signs, the end-to-end tests show (e2e/SignedUpdate_test).
#   sign-update_test.sh PRIVATE_KEY_PEM
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
key=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

failures=0
check() {  # WHAT COMMAND...: the command succeeds
    "${@:2}" || { echo "FAILED: $1"; failures=$((failures + 1)); }
}
sign() { bash "$root/scripts/sign-update.sh" scen.ini "$key" >/dev/null 2>&1; }
hash() { sha256sum "$1" | cut -c1-64; }

mkdir sub
printf 'a' >a.ocx
printf 'b' >sub/b.dll
# FILE1 with blanks and quotes around its value, FILE2 in a folder, FILE4 never
# read (FILE3 is missing), an old [SHA256] among the sections (the first %b),
# text in code page 1251, and a last line without its CR LF (the second %b).
scenario='[WardCfgUp]\r\n file1 = "a.ocx" \r\nFILE2=sub\\b.dll\r\nFILE4=never.dll\r\n%b'
scenario+='[Messages]\r\nALL_OK=\xc3\xee\xf2\xee\xe2\xee\r\n[RUN OK]\r\nC:\\done.exe%b'
# shellcheck disable=SC2059  # the scenario is the format
printf "$scenario" '[sha256]\r\nold.dll=00\r\n' '' >scen.ini
# shellcheck disable=SC2059
printf "$scenario" '' '\r\n' >expected.ini
printf '[SHA256]\r\na.ocx=%s\r\nsub\\b.dll=%s\r\n' "$(hash a.ocx)" "$(hash sub/b.dll)" >>expected.ini

sign
check "the scenario keeps its bytes and ends in the hashes of FILE1 and FILE2" cmp scen.ini expected.ini
cp scen.ini first.ini
cp scen.ini.sig first.sig
sign
check "a second run gives the same files" cmp scen.ini first.ini
check "a second run gives the same signature" cmp scen.ini.sig first.sig

rm a.ocx
check "a missing source fails the signing" test "$(sign; echo $?)" != 0
check "and leaves the scenario and its signature" cmp <(cat scen.ini scen.ini.sig) <(cat first.ini first.sig)
check "and no file of its own" test -z "$(ls ./*.signing 2>/dev/null)"

[ "$failures" -eq 0 ] || exit 1
echo "sign-update: every check passed"
