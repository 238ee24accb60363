#!/usr/bin/env bash
# The release (scripts/release.sh), run as a person runs it, from this clone
# and from a copy in another folder: the same bytes from both; signed with a
# throwaway certificate authority made here (never a key kept), time-stamped
# by a stand-in server on the loopback interface; a failed release leaves no
# program in dist/. The signed program passes the checks of the shipped file
# (Imports_test of the build tree BUILD_DIR).
#   release_test.sh BUILD_DIR
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
work=$(mktemp -d "$build/release-test.XXXXXX")
tsa_pid=
trap '[ -z "$tsa_pid" ] || kill "$tsa_pid" 2>/dev/null; rm -rf "$work"' EXIT
unset WCU_SIGN_PFX WCU_SIGN_PASSWORD WCU_SIGN_CA WCU_TIMESTAMP_URL UPDATE_PUBLIC_KEY

passed=0
failed=0
expect() {  # WHAT COMMAND...: the command succeeds
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $what"
    fi
}
fails() { ! "$@"; }
has_line() { grep -qF -- "$2" "$1" || { echo "--- $1:"; cat "$1"; false; }; }
no_program_in() { [ ! -e "$1/WardCfgUp.exe" ] && [ ! -e "$1/SHA256SUMS" ] && [ -z "$(ls -A "$1")" ]; }

release() {  # SOURCE NAME [VARIABLE=VALUE...]: into $work/NAME, output in $work/NAME.out
    local source=$1 name=$2
    shift 2
    env BUILD_DIR="$work/$name-build" DIST_DIR="$work/$name" "$@" \
        timeout 900 bash "$source/scripts/release.sh" >"$work/$name.out" 2>&1
}

# A throwaway update key: the public half in $work/update.pub.pem, its fingerprint printed.
make_update_key() {
    openssl genrsa 2048 2>/dev/null | openssl rsa -pubout -out "$work/update.pub.pem" 2>/dev/null &&
        openssl pkey -pubin -in "$work/update.pub.pem" -outform DER | sha256sum | cut -c1-64
}

# A release into $work/signed with the throwaway certificate; the password
# goes through the environment, as a person gives it.
signed_release() {  # SOURCE PASSWORD [VARIABLE=VALUE...]
    local source=$1 password=$2
    shift 2
    (
        export WCU_SIGN_PFX="$work/ca/signer.pfx" WCU_SIGN_PASSWORD="$password" WCU_SIGN_CA="$work/ca/ca.pem"
        release "$source" signed "$@"
    )
}

# The authority, a code-signing certificate in a PKCS#12 file with its
# password, and a time-stamping certificate, all valid for two days.
make_authority() {
    local ca=$work/ca
    mkdir "$ca"
    openssl req -x509 -newkey rsa:2048 -nodes -keyout "$ca/ca.key" -out "$ca/ca.pem" -days 2 \
        -subj "/CN=WardCfgUp throwaway CA" -addext "basicConstraints=critical,CA:TRUE" \
        -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null || return
    issue signer codeSigning && issue tsa critical,timeStamping &&
        WCU_SIGN_PASSWORD=$password openssl pkcs12 -export -inkey "$ca/signer.key" -in "$ca/signer.pem" \
            -certfile "$ca/ca.pem" -out "$ca/signer.pfx" -passout env:WCU_SIGN_PASSWORD
}
issue() {  # NAME EXTENDED_KEY_USAGE
    local ca=$work/ca
    openssl req -newkey rsa:2048 -nodes -keyout "$ca/$1.key" -out "$ca/$1.csr" -subj "/CN=WardCfgUp throwaway $1" \
        2>/dev/null &&
        openssl x509 -req -in "$ca/$1.csr" -CA "$ca/ca.pem" -CAkey "$ca/ca.key" -CAcreateserial -days 2 \
            -out "$ca/$1.pem" 2>/dev/null -extfile <(printf '%s\n' "basicConstraints=critical,CA:FALSE" \
            "keyUsage=critical,digitalSignature" "extendedKeyUsage=$2")
}

start_timestamp_server() {
    timeout 900 python3 "$root/tests/fixtures/timestamp_server.py" "$work/ca/tsa.pem" "$work/ca/tsa.key" \
        "$work/ca/ca.pem" "$work/tsa.port" 900 &
    tsa_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/tsa.port" ] && return
        sleep 0.1
    done
    false
}

# From here on osslsigncode and openssl note their command lines.
note_command_lines() {
    local tool
    mkdir "$work/bin"
    for tool in osslsigncode openssl; do
        printf '#!/bin/sh\necho "%s $*" >>"%s"\nexec "%s" "$@"\n' \
            "$tool" "$work/command-lines" "$(command -v "$tool")" >"$work/bin/$tool"
        chmod +x "$work/bin/$tool"
    done
    PATH="$work/bin:$PATH"
}

verify() {  # PROGRAM
    timeout 300 osslsigncode verify -CAfile "$work/ca/ca.pem" -TSA-CAfile "$work/ca/ca.pem" -in "$1" \
        >"$work/verify.out" 2>&1
}

passes_shipped_checks() {  # PROGRAM
    local program
    program=$(timeout 120 "$build/wine-run" winepath -w "$1") &&
        WCU_SHIPPED_PROGRAM=$program timeout 300 "$build/wine-run" "$build/bin/Imports_test.exe" \
            --gtest_filter='Imports.Shipped*' >"$work/imports.out" 2>&1 || { cat "$work/imports.out"; false; }
}

# Another clone: the working tree's files (committed or not) in a folder of another name and depth.
copy_sources() {
    local copy=$work/another/clone/of/WardCfgUp
    mkdir -p "$copy"
    (cd "$root" && git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$copy") &&
        echo "$copy"
}

password='throwaway pass phrase'

# Without a certificate: unsigned, said on one line, with its checksum.
expect "the unsigned release succeeds" release "$root" unsigned
expect "it says on one line that it is not signed" has_line "$work/unsigned.out" "Not signed: no code-signing certificate given (WCU_SIGN_PFX)"
expect "and that it carries no update key" has_line "$work/unsigned.out" "Update key: none"
expect "its SHA256SUMS checks" bash -c "cd '$work/unsigned' && sha256sum --quiet -c SHA256SUMS"
expect "it prints the hash" has_line "$work/unsigned.out" "SHA-256 $(cut -d' ' -f1 "$work/unsigned/SHA256SUMS")"
expect "the unsigned program carries no signature" fails verify "$work/unsigned/WardCfgUp.exe"

# Signed and time-stamped, from another clone in another folder.
expect "a throwaway authority is made" make_authority
expect "the stand-in time-stamp server starts" start_timestamp_server
note_command_lines
expect "the signed release succeeds" signed_release "$(copy_sources)" "$password" \
    WCU_TIMESTAMP_URL="http://127.0.0.1:$(cat "$work/tsa.port")/"
expect "it signs with osslsigncode" has_line "$work/command-lines" "osslsigncode sign -pkcs12 $work/ca/signer.pfx"
expect "the password stands on no command line" fails grep -qF "$password" "$work/command-lines"
expect "nor in a log of the release" fails grep -rqF "$password" "$work/signed.out" "$work/signed-build/release"
expect "two clones in two folders build the same bytes" \
    cmp "$work/unsigned/WardCfgUp.exe" "$work/signed-build/release/bin/WardCfgUp.exe"
expect "the signed program verifies against the authority" verify "$work/signed/WardCfgUp.exe"
expect "its time stamp verifies" has_line "$work/verify.out" "Timestamp Server Signature verification: ok"
expect "its SHA256SUMS checks" bash -c "cd '$work/signed' && sha256sum --quiet -c SHA256SUMS"
expect "the signed program passes the checks of the shipped file" passes_shipped_checks "$work/signed/WardCfgUp.exe"
expect "without its signature it is the unsigned release, byte for byte" bash -c \
    "osslsigncode remove-signature -in '$work/signed/WardCfgUp.exe' -out '$work/removed.exe' >/dev/null &&
     cmp '$work/removed.exe' '$work/unsigned/WardCfgUp.exe'"
cp "$work/signed/WardCfgUp.exe" "$work/changed.exe"
printf '\x90' | dd of="$work/changed.exe" bs=1 seek=4100 conv=notrunc status=none
expect "the byte is changed" fails cmp -s "$work/changed.exe" "$work/signed/WardCfgUp.exe"
expect "a changed byte fails verification" fails verify "$work/changed.exe"

# Failures: a wrong password, and a time stamp that cannot be had after a
# good password, each over an earlier release, which must not stay either.
expect "a wrong password fails the release" fails signed_release "$root" "not the $password"
expect "it says why" has_line "$work/signed.out" "Release failed: WCU_SIGN_PASSWORD does not open $work/ca/signer.pfx"
expect "it leaves no program in dist/" no_program_in "$work/signed"
cp "$work/unsigned/WardCfgUp.exe" "$work/unsigned/SHA256SUMS" "$work/signed/"
# This release builds with an update key (UPDATE_PUBLIC_KEY) before it fails.
fingerprint=$(make_update_key)
expect "a time stamp that cannot be had fails the release" fails signed_release "$root" "$password" \
    WCU_TIMESTAMP_URL=http://127.0.0.1:1/ UPDATE_PUBLIC_KEY="$work/update.pub.pem"
expect "it says why" has_line "$work/signed.out" "Release failed: osslsigncode could not sign the program"
expect "it leaves no program in dist/" no_program_in "$work/signed"
expect "it names the update key" has_line "$work/signed.out" "Update key: SHA-256 $fingerprint, from $work/update.pub.pem"
expect "its program carries that key" grep -qF "$fingerprint" "$work/signed-build/release/bin/WardCfgUp.exe"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
