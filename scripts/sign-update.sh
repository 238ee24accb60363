#!/usr/bin/env bash
# Signs an update for a program built with the bank's public key (README,
# "Signed updates"). Run it in the folder of the sources, where the run reads them:
#   bash scripts/sign-update.sh <scenario> <private key PEM>
# It writes the scenario's section [SHA256], the SHA-256 of each FILEn source
# under its FILEn value (in place of any such section, at the end), and then
# the signature <scenario>.sig: RSA PKCS#1 v1.5 with SHA-256 of the scenario's
# bytes, as `openssl dgst -sha256 -sign` writes it. The rest of the scenario
# keeps its bytes (code page 1251, lines ended by CR LF); running it again
# gives the same files. Each file is written whole and then renamed into place.
set -euo pipefail
export LC_ALL=C  # the scenario's bytes are code page 1251, not text of this machine's locale

fail() {
    echo "sign-update: $*" >&2
    exit 1
}

[ $# -eq 2 ] || fail "usage: bash scripts/sign-update.sh <scenario> <private key PEM>"
scenario=$1
key=$2
[ -f "$scenario" ] || fail "no scenario $scenario"
[ -r "$key" ] || fail "cannot read the private key $key"

# What the profile functions make of a line: a section's name, or a key and its
# value without the blanks and control characters around them (and a value
# without its enclosing quotes).
readonly ini_awk='
    function trim(s) { gsub(/^[\001-\040]+|[\001-\040]+$/, "", s); return s }
    function section(line) { sub(/^[\001-\040]*\[/, "", line); sub(/\].*$/, "", line); return toupper(trim(line)) }
    function unquoted(v) { return length(v) >= 2 && v ~ /^(".*"|\047.*\047)$/ ? substr(v, 2, length(v) - 2) : v }
'

# The FILEn values as the run reads them: from the first [WardCfgUp], FILE1,
# FILE2, ... up to the first that is missing or empty, the first of each name.
source_files() {
    awk "$ini_awk"'
        /^[\001-\040]*\[/ { inside = section($0) == "WARDCFGUP" && !seen++; next }
        inside && index($0, "=") {
            name = tolower(trim(substr($0, 1, index($0, "=") - 1)))
            if (name ~ /^file[1-9][0-9]*$/ && !(name in files))
                files[name] = unquoted(trim(substr($0, index($0, "=") + 1)))
        }
        END { for (n = 1; files["file" n] != ""; n++) print files["file" n] }
    ' "$scenario"
}

# The scenario without its [SHA256] sections, every line ended by CR LF.
other_sections() {
    awk "$ini_awk"'
        /^[\001-\040]*\[/ { skip = section($0) == "SHA256" }
        !skip { sub(/\r$/, ""); printf "%s\r\n", $0 }
    ' "$scenario"
}

hashes() {
    local file path
    local -A written=()
    printf '[SHA256]\r\n'
    while IFS= read -r file; do
        [ -z "${written[$file]:-}" ] || continue
        written[$file]=1
        path=${file//\\//}
        [ -f "$path" ] || fail "the source $file is missing in $(pwd)"
        printf '%s=%s\r\n' "$file" "$(sha256sum "$path" | cut -c1-64)"
    done < <(source_files)
}

trap 'rm -f "$scenario.signing" "$scenario.sig.signing"' EXIT
{ other_sections && hashes; } >"$scenario.signing"
mv -f "$scenario.signing" "$scenario"
openssl dgst -sha256 -sign "$key" -out "$scenario.sig.signing" "$scenario" || fail "openssl could not sign with $key"
mv -f "$scenario.sig.signing" "$scenario.sig"
echo "Signed $scenario: $(source_files | wc -l) source files, signature $scenario.sig"
