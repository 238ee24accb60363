#!/usr/bin/env bash
# Builds the shipped program (i686, MinSizeRel, stripped) in a clean tree of
# its own, signs it when a code-signing certificate is given, and writes
# dist/WardCfgUp.exe and dist/SHA256SUMS; prints the version, size and hash.
#   WCU_SIGN_PFX       a PKCS#12 file holding the certificate and its key: sign
#   WCU_SIGN_PASSWORD  its password, taken from the environment only: it never
#                      stands on a command line, and nothing prints it
#   WCU_SIGN_CA        the PEM chains the signature and its time stamp are
#                      verified against (default: the system's authorities)
#   WCU_TIMESTAMP_URL  an RFC 3161 time-stamp server
#   UPDATE_PUBLIC_KEY  the PEM file of the bank's public update key: the
#                      program applies only the updates it signed
#   BUILD_DIR          the tree is $BUILD_DIR/release (default build/release)
#   DIST_DIR           where the release goes (default dist/)
# dist/ holds a whole release or none: a release that fails removes its files
# there, an earlier release's too, so that no unverified program waits there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
dist=${DIST_DIR:-$root/dist}
tree="$build/release"
trusted=${WCU_SIGN_CA:-"the system's authorities"}
source "$root/scripts/shipped.sh"

fail() {
    echo "Release failed: $*" >&2
    exit 1
}

# What signing needs, checked before the build: a wrong password costs no build.
check_certificate() {
    [ -r "$WCU_SIGN_PFX" ] || fail "WCU_SIGN_PFX names no readable file: $WCU_SIGN_PFX"
    [ -n "${WCU_SIGN_PASSWORD+set}" ] || fail "WCU_SIGN_PASSWORD is not set (the password of $WCU_SIGN_PFX)"
    [ -z "${WCU_SIGN_CA:-}" ] || [ -r "$WCU_SIGN_CA" ] || fail "WCU_SIGN_CA names no readable file: $WCU_SIGN_CA"
    # -legacy reads the older encryptions of the files Windows exports too, as osslsigncode does.
    openssl pkcs12 -in "$WCU_SIGN_PFX" -passin env:WCU_SIGN_PASSWORD -noout -legacy >/dev/null 2>&1 ||
        fail "WCU_SIGN_PASSWORD does not open $WCU_SIGN_PFX (a wrong password, or no PKCS#12 file)"
}

# Prints the tool's log and fails with the reason when the tool failed.
run_logged() {  # LOG REASON COMMAND...
    local log=$1 reason=$2
    shift 2
    "$@" >"$log" 2>&1 || { cat "$log" >&2; fail "$reason"; }
}

# Authenticode with SHA-256, time-stamped when a server is named. The password
# reaches osslsigncode through a pipe of this shell, not through its arguments.
sign() {  # UNSIGNED SIGNED
    local timestamp=()
    [ -z "${WCU_TIMESTAMP_URL:-}" ] || timestamp=(-ts "$WCU_TIMESTAMP_URL")
    run_logged "$tree/sign.log" "osslsigncode could not sign the program (its reason above)" \
        timeout 600 osslsigncode sign -pkcs12 "$WCU_SIGN_PFX" -readpass <(printf '%s' "$WCU_SIGN_PASSWORD") \
        -h sha256 "${timestamp[@]}" -in "$1" -out "$2"
}

verify() {  # SIGNED
    local trust=()
    [ -z "${WCU_SIGN_CA:-}" ] || trust=(-CAfile "$WCU_SIGN_CA" -TSA-CAfile "$WCU_SIGN_CA")
    run_logged "$tree/verify.log" "the signature does not verify against $trusted" \
        timeout 600 osslsigncode verify "${trust[@]}" -in "$1"
}

source_state() {
    local commit
    # A copy of the sources inside another checkout is not that checkout's commit.
    if [ "$(git -C "$root" rev-parse --show-toplevel 2>/dev/null)" != "$(cd "$root" && pwd -P)" ]; then
        echo "sources outside git"
        return
    fi
    commit=$(git -C "$root" rev-parse HEAD)
    if [ -n "$(git -C "$root" status --porcelain)" ]; then
        echo "commit $commit and uncommitted changes, which no commit rebuilds"
    else
        echo "commit $commit"
    fi
}

# The packages whose versions make the bytes: a rebuild needs the same ones.
toolchain_packages() {
    dpkg-query -W -f='${Package} ${Version}, ' g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix-runtime \
        binutils-mingw-w64-i686 mingw-w64-i686-dev cmake 2>/dev/null | sed 's/, $//'
}

mkdir -p "$dist"
trap 'status=$?; [ $status -eq 0 ] || rm -f "$dist/WardCfgUp.exe" "$dist/SHA256SUMS"' EXIT
bash "$root/scripts/setup.sh"
[ -z "${WCU_SIGN_PFX:-}" ] || check_certificate

# The bank's update key, checked before the build; its fingerprint as the program names it.
key="none: the program applies every update unchecked"
if [ -n "${UPDATE_PUBLIC_KEY:-}" ]; then
    [ -r "$UPDATE_PUBLIC_KEY" ] || fail "UPDATE_PUBLIC_KEY names no readable file: $UPDATE_PUBLIC_KEY"
    UPDATE_PUBLIC_KEY=$(realpath "$UPDATE_PUBLIC_KEY")
    fingerprint=$(openssl pkey -pubin -in "$UPDATE_PUBLIC_KEY" -outform DER 2>/dev/null | sha256sum | cut -c1-64) ||
        fail "UPDATE_PUBLIC_KEY holds no PEM public key: $UPDATE_PUBLIC_KEY"
    key="SHA-256 $fingerprint, from $UPDATE_PUBLIC_KEY"
fi
echo "Update key: $key"

rm -rf "$tree"
unsigned=$(build_shipped_program "$root" "$tree" "${UPDATE_PUBLIC_KEY:-}")
if [ -n "${WCU_SIGN_PFX:-}" ]; then
    shipped="$tree/signed/WardCfgUp.exe"
    mkdir -p "$tree/signed"
    sign "$unsigned" "$shipped"
    verify "$shipped"
    echo "Signed: Authenticode, SHA-256, ${WCU_TIMESTAMP_URL:+time-stamped by }${WCU_TIMESTAMP_URL:-no time stamp}; verified against $trusted"
    echo "Unsigned build: SHA-256 $(sha256sum <"$unsigned" | cut -d' ' -f1) (what a rebuild of these sources gives)"
else
    shipped=$unsigned
    echo "Not signed: no code-signing certificate given (WCU_SIGN_PFX)"
fi
cp "$shipped" "$dist/WardCfgUp.exe"
(cd "$dist" && sha256sum WardCfgUp.exe >SHA256SUMS)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$tree/CMakeCache.txt")
echo "Built from $(source_state)"
echo "Built with $(toolchain_packages)"
echo "$dist/WardCfgUp.exe: version $version, $(stat -c %s "$dist/WardCfgUp.exe") bytes, SHA-256 $(cut -d' ' -f1 "$dist/SHA256SUMS")"
