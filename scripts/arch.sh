# Sourced by the scripts: chooses the architecture of the test build.
#   x86  i686 programs in a 32-bit Wine prefix (the shipped program's own)
#   x64  x86_64 programs in a 64-bit prefix, for hosts whose kernel runs no
#        32-bit code (Wine's 32-bit loader is itself a 32-bit program)
# WCU_ARCH=x86|x64 overrides the choice. The shipped WardCfgUp.exe is the
# i686 build on either path.

# Does the kernel start a 32-bit x86 program? A 93-byte i386 ELF that only
# exits with code 0 answers without anything installed.
host_runs_32bit() {
    local probe
    probe=$(mktemp)
    printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\135\0\0\0\135\0\0\0\5\0\0\0\0\20\0\0\270\1\0\0\0\61\333\315\200' > "$probe"
    chmod +x "$probe"
    local status=0
    "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    return "$status"
}

# Sets WCU_ARCH and prints one line that names it and why.
choose_arch() {
    case "${WCU_ARCH:-}" in
    x86|x64)
        echo "Architecture: $WCU_ARCH (set by WCU_ARCH)"
        ;;
    "")
        if host_runs_32bit; then
            WCU_ARCH=x86
            echo "Architecture: x86 (this host runs 32-bit programs)"
        else
            WCU_ARCH=x64
            echo "Architecture: x64 (this host runs 64-bit programs only, so Wine's 32-bit loader cannot start)"
        fi
        ;;
    *)
        echo "WCU_ARCH must be x86 or x64, not '$WCU_ARCH'" >&2
        return 2
        ;;
    esac
    export WCU_ARCH
}
