# Sourced by the scripts: builds the shipped program as it ships (i686,
# MinSizeRel, stripped; only its own target) from the sources in $1 into the
# tree $2, with the update key of the PEM file $3 when given, and prints the
# program's path.
build_shipped_program() {
    local source=$1 tree=$2 key=${3:-}
    cmake -S "$source" -B "$tree" -DCMAKE_TOOLCHAIN_FILE="$source/cmake/toolchain-mingw32.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_TESTING=OFF -DUPDATE_PUBLIC_KEY="$key" >/dev/null
    timeout 1800 cmake --build "$tree" -j"$(nproc)" --target WardCfgUp >/dev/null
    echo "$tree/bin/WardCfgUp.exe"
}
