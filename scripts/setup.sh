#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine (run as root).
# Idempotent: does nothing slow when everything is already there.
set -euo pipefail

need=()
command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-i686)
command -v i686-w64-mingw32-windres  >/dev/null || need+=(mingw-w64-tools)
command -v wine   >/dev/null || need+=(wine wine64)
dpkg -s wine32:i386 >/dev/null 2>&1 || need+=(wine32:i386)
command -v Xvfb   >/dev/null || need+=(xvfb)
command -v xauth  >/dev/null || need+=(xauth)
command -v localedef >/dev/null || need+=(locales)
[ -d /usr/src/googletest ] || need+=(googletest)
command -v cmake  >/dev/null || need+=(cmake)
command -v python3 >/dev/null || need+=(python3)

if [ ${#need[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# Wine takes the ANSI code page from the locale: ru_RU.UTF-8 gives 1251.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
    localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
