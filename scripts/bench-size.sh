#!/usr/bin/env bash
# Builds the shipped program (i686, stripped) in a tree of its own and prints
# its size, the sizes of its sections and, from the link map, the library
# members and sources that take the most space.
#   BUILD_DIR=... bash scripts/bench-size.sh [TOP]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
tree="$build/size"
top=${1:-15}
source "$root/scripts/shipped.sh"
exe=$(build_shipped_program "$root" "$tree")

echo "WardCfgUp.exe (i686, stripped): $(stat -c %s "$exe") bytes"
echo "section    bytes (PE names are cut at 8 characters)"
i686-w64-mingw32-objdump -h "$exe" | while read -r index name size _; do
    if [[ $index =~ ^[0-9]+$ ]]; then printf '%-10s %7d\n' "$name" "$((16#$size))"; fi
done

echo "largest parts: bytes of .text, .rdata, .eh_frame and .data, by object"
# In the memory map, each kept input section is a line " NAME ADDRESS SIZE FILE",
# its name alone on the line before when it is long.
awk '
    function hex(text,    i, n) {
        for (i = 3; i <= length(text); i++) n = n * 16 + index("0123456789abcdef", tolower(substr(text, i, 1))) - 1
        return n
    }
    /^Linker script and memory map/ { map = 1; next }
    !map { next }
    /^\.[a-z_]/ { out = $1 }
    /^ [^ ]+$/ { next }
    out ~ /^\.(text|rdata|eh_frame|data)$/ && NF >= 3 && $(NF - 2) ~ /^0x/ && $(NF - 1) ~ /^0x/ &&
        $NF ~ /\.(o|obj)\)?$/ {
        file = $NF; sub(/.*\//, "", file)
        size = hex($(NF - 1))
        total[file] += size; part[file, out] += size
    }
    END {
        for (f in total) printf "%7d  %-52s .text %6d  .eh_frame %6d\n", total[f], f, part[f, ".text"], part[f, ".eh_frame"]
    }' "$tree/WardCfgUp.map" | sort -rn | head -n "$top"
