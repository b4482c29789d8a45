#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix.
# Used as CMAKE_CROSSCOMPILING_EMULATOR by ctest and by the other scripts.
#
#   VIGIL_WINE_PREFIX   the prefix (default: build/win64/wineprefix)
#   VIGIL_WINE_GRAPHICS "null" (default: windows without a display) or "x11"
#   VIGIL_WINEDEBUG     Wine's debug channels (default: none); "-all,warn+heap" makes Wine fill
#                       freed memory, so a test that touches it fails instead of passing by luck
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
graphics=${VIGIL_WINE_GRAPHICS:-null}
prefix=${VIGIL_WINE_PREFIX:-$here/../build/win64/wineprefix}
[ "$graphics" = null ] || prefix="$prefix-$graphics"
mkdir -p "$(dirname "$prefix")"
prefix=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")

export WINEPREFIX=$prefix
export WINEARCH=win64
export WINEDEBUG=${VIGIL_WINEDEBUG:--all}
# No debugger on a crash (it would wait forever), no Mono/Gecko install prompts.
export WINEDLLOVERRIDES="winedbg.exe=d;mscoree=d;mshtml=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY ftp_proxy no_proxy NO_PROXY all_proxy ALL_PROXY

# Create the prefix once; tests may start at the same time, so take a lock.
exec 9>"$prefix.lock"
flock 9
if [ ! -f "$prefix/.vigil-ready" ]; then
    wineboot -i </dev/null >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$graphics" /f </dev/null >/dev/null 2>&1
    wineserver -w </dev/null >/dev/null 2>&1
    touch "$prefix/.vigil-ready"
fi
# Start the wineserver and Wine's services with their streams on /dev/null, so they do not
# hold the caller's pipes open after the program ends.
wineserver -p 30 </dev/null >/dev/null 2>&1 &
wine cmd /c exit </dev/null >/dev/null 2>&1
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
wine "$@" <"${VIGIL_WINE_STDIN:-/dev/null}" >"$out/stdout" 2>"$out/stderr" &
child=$!
wait "$child"
rc=$?
child=""
finish
exit $rc
