#!/usr/bin/env bash
# Installs what the build, the tests and the release need on a Debian machine (run as root).
# With --screenshots, also what the screenshot scripts need (xwd, xwininfo, ImageMagick).
# Idempotent: does nothing slow when everything is already there.
set -euo pipefail
source "$(dirname "$0")/arch.sh"

# Both compilers on every host: the shipped program is always the i686 build,
# and the tests run as x86 or x64 programs (scripts/arch.sh).
need=()
command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-i686)
command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-x86-64-posix)
command -v i686-w64-mingw32-windres  >/dev/null || need+=(mingw-w64-tools)
command -v wine   >/dev/null || need+=(wine wine64)
# Wine's 32-bit loader, where the kernel can run it.
if host_runs_32bit; then
    dpkg -s wine32:i386 >/dev/null 2>&1 || need+=(wine32:i386)
fi
command -v Xvfb   >/dev/null || need+=(xvfb)
command -v xauth  >/dev/null || need+=(xauth)
command -v localedef >/dev/null || need+=(locales)
[ -d /usr/src/googletest ] || need+=(googletest)
command -v cmake  >/dev/null || need+=(cmake)
command -v python3 >/dev/null || need+=(python3)
# The release signs and verifies with these; its test makes a throwaway authority.
command -v osslsigncode >/dev/null || need+=(osslsigncode)
command -v openssl >/dev/null || need+=(openssl)
if [ "${1:-}" = "--screenshots" ]; then
    command -v xwd >/dev/null || need+=(x11-apps)
    command -v xwininfo >/dev/null || need+=(x11-utils)
    [ -x /usr/bin/convert ] || need+=(imagemagick)
fi

if [ ${#need[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    if [[ " ${need[*]} " == *:i386* ]]; then
        dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    fi
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# Wine takes the ANSI code page from the locale: ru_RU.UTF-8 gives 1251.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
    localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
