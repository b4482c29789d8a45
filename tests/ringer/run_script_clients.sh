#!/usr/bin/env bash
# Runs ringer_client.vbs and ringer_client.js with Wine's cscript of the bitness under test
# against the registered Ringer.dll and the test rasapi32.dll. Wine looks for a program's
# native DLLs in the program's own folder, so a copy of cscript.exe goes into a folder of its
# own beside a copy of the test rasapi32.dll.
set -uo pipefail
run=${VIGIL_WINE_RUN:?}
bin=${VIGIL_BINARY_DIR:?}
src=${VIGIL_SOURCE_DIR:?}
# The system folder of the bitness under test: a 32-bit cscript comes from syswow64.
sysdir=${VIGIL_WINE_SYSTEM_DIR:?}
here=$bin/tests/ringer
dir=$here/cscript
winpath() { local p=$1; echo "Z:${p//\//\\}"; }
fail() { echo "$1"; exit 1; }

mkdir -p "$dir"
"$run" regsvr32 /s "$(winpath "$bin/ringer/Ringer.dll")" </dev/null >/dev/null 2>&1 ||
    fail "regsvr32 could not register Ringer.dll"
cp -f "$sysdir/cscript.exe" "$dir/" || fail "no cscript.exe in $sysdir"
cp -f "$here/rasapi32.dll" "$dir/" || fail "the test rasapi32.dll is not built"

export WINEDLLOVERRIDES=rasapi32=n
scenario=$dir/scenario.txt
export RINGER_FAKE_SCENARIO
RINGER_FAKE_SCENARIO=$(winpath "$scenario")
cd "$src/tests/ringer" || exit 1

# Runs one script against a fresh phone book: Office idle, Home ISP connected.
run_client() {
    printf 'family|nt\nentry|Office\nentry|Home ISP\nlive|17|Home ISP\n' >"$scenario"
    local output rc
    output=$(timeout 120 "$run" "$dir/cscript.exe" //nologo "$1" </dev/null 2>&1)
    rc=$?
    echo "$1: $output"
    [ $rc -eq 0 ] || fail "$1: cscript exited with $rc"
    grep -q '^ALL OK' <<<"$output" || fail "$1 did not reach its end"
    grep '^fault|' "$scenario" && fail "$1: rasapi32 saw a wrong size or byte count"
    return 0
}

run_client ringer_client.vbs
grep -q '^call|RasDialA Office$' "$scenario" || fail "the script's dial did not reach rasapi32"
run_client ringer_client.js
exit 0
