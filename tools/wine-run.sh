#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix.
# Used as CMAKE_CROSSCOMPILING_EMULATOR by ctest and by the other scripts.
#
#   VIGIL_WINE_BITS     the bitness under test, 64 (default) or 32: picks the loader, so that
#                       built-in programs named without a path (cscript, regsvr32, reg, cmd) run
#                       as that bitness and see that view of the registry
#   VIGIL_WINE_PREFIX   the prefix (default: build/win64/wineprefix, build/win32/wineprefix)
#   VIGIL_WINE_GRAPHICS "null" (default: windows without a display) or "x11"
#   VIGIL_WINEDEBUG     Wine's debug channels (default: none); "-all,warn+heap" makes Wine fill
#                       freed memory, so a test that touches it fails instead of passing by luck
#
# The program gets VIGIL_WINE_SYSTEM_DIR (the Unix path of the system folder of its bitness:
# system32 for 64-bit, syswow64 for 32-bit) and VIGIL_WINE_SYSTEM_DIR_WIN (the same as a
# Windows path). `wine-run.sh --system-dir` makes sure the prefix exists and prints the Unix
# path, for scripts that copy a system program.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
bits=${VIGIL_WINE_BITS:-64}
wine64=/usr/lib/wine/wine64
wine32=/usr/lib/wine/wine
case "$bits" in
64) loader=$wine64 sysdir=system32 ;;
32) loader=$wine32 sysdir=syswow64 ;;
*)
    echo "wine-run.sh: VIGIL_WINE_BITS must be 64 or 32, not '$bits'" >&2
    exit 2
    ;;
esac
if [ ! -x "$loader" ]; then
    if [ "$bits" = 32 ]; then
        echo "wine-run.sh: the 32-bit Wine is not installed (apt-get install wine32:i386)" >&2
    else
        echo "wine-run.sh: the 64-bit Wine is not installed (apt-get install wine64)" >&2
    fi
    exit 127
fi

graphics=${VIGIL_WINE_GRAPHICS:-null}
prefix=${VIGIL_WINE_PREFIX:-$here/../build/win$bits/wineprefix}
[ "$graphics" = null ] || prefix="$prefix-$graphics"
mkdir -p "$(dirname "$prefix")"
prefix=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")

export WINEPREFIX=$prefix
export WINEARCH=win64
export WINEDEBUG=${VIGIL_WINEDEBUG:--all}
# No debugger on a crash (it would wait forever), no Mono/Gecko install prompts.
export WINEDLLOVERRIDES="winedbg.exe=d;mscoree=d;mshtml=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
export VIGIL_WINE_SYSTEM_DIR=$prefix/drive_c/windows/$sysdir
export VIGIL_WINE_SYSTEM_DIR_WIN="C:\\windows\\$sysdir"
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY ftp_proxy no_proxy NO_PROXY all_proxy ALL_PROXY

quiet() { "$@" </dev/null >/dev/null 2>&1; }

# Create the prefix once; tests may start at the same time, so take a lock.
exec 9>"$prefix.lock"
flock 9
# A prefix made while only the 64-bit Wine was installed cannot start 32-bit programs ("could
# not load kernel32.dll"): once the 32-bit Wine is there, such a prefix is made again.
if [ -f "$prefix/.vigil-ready" ] && [ -x "$wine32" ] &&
    [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; then
    quiet wineserver -k
    quiet wineserver -w
    rm -rf "$prefix"
fi
if [ ! -f "$prefix/.vigil-ready" ]; then
    quiet "$wine64" wineboot -i
    quiet "$wine64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$graphics" /f
    # The first session's desktop started before the driver was chosen and cannot make
    # windows; nothing can until that session has ended, so end it and wait for it.
    quiet "$wine64" wineboot -e
    quiet wineserver -w
    touch "$prefix/.vigil-ready"
fi
if [ "${1:-}" = --system-dir ]; then
    flock -u 9
    echo "$VIGIL_WINE_SYSTEM_DIR"
    exit 0
fi
# Start the wineserver and Wine's services with their streams on /dev/null, so they do not
# hold the caller's pipes open after the program ends.
wineserver -p 30 </dev/null >/dev/null 2>&1 &
quiet "$loader" cmd /c exit
flock -u 9
exec 9>&-

# Wine starts some helpers (the desktop process, services) on first need, from whichever program
# needs them, and they inherit that program's Unix streams. Give the program files instead of the
# caller's pipes, so a helper that outlives it cannot keep a test runner waiting; copy the output
# through when the program ends (or when the runner stops it).
out=$(mktemp -d)
child=""
finish() {
    [ -n "$child" ] && kill "$child" 2>/dev/null
    cat "$out/stdout"
    cat "$out/stderr" >&2
    rm -rf "$out"
}
trap 'finish; exit 143' TERM INT
"$loader" "$@" <"${VIGIL_WINE_STDIN:-/dev/null}" >"$out/stdout" 2>"$out/stderr" &
child=$!
wait "$child"
rc=$?
child=""
finish
exit $rc
