#!/usr/bin/env bash
# Runs ringer_client.vbs with Wine's cscript against the registered Ringer.dll and the test
# rasapi32.dll. Wine looks for a program's native DLLs in the program's own folder, so a copy
# of cscript.exe goes into a folder of its own beside a copy of the test rasapi32.dll.
set -uo pipefail
run=${VIGIL_WINE_RUN:?}
bin=${VIGIL_BINARY_DIR:?}
src=${VIGIL_SOURCE_DIR:?}
prefix=${VIGIL_WINE_PREFIX:?}
here=$bin/tests/ringer
dir=$here/cscript
winpath() { local p=$1; echo "Z:${p//\//\\}"; }
fail() { echo "$1"; exit 1; }

mkdir -p "$dir"
"$run" regsvr32 /s "$(winpath "$bin/ringer/Ringer.dll")" </dev/null >/dev/null 2>&1 ||
    fail "regsvr32 could not register Ringer.dll"
cp -f "$prefix/drive_c/windows/system32/cscript.exe" "$dir/" || fail "no cscript.exe in the prefix"
cp -f "$here/rasapi32.dll" "$dir/" || fail "the test rasapi32.dll is not built"

scenario=$dir/scenario.txt
printf 'family|nt\nentry|Office\nentry|Home ISP\nlive|17|Home ISP\n' >"$scenario"
export RINGER_FAKE_SCENARIO
RINGER_FAKE_SCENARIO=$(winpath "$scenario")
export WINEDLLOVERRIDES=rasapi32=n

cd "$src/tests/ringer" || exit 1
output=$(timeout 120 "$run" "$dir/cscript.exe" //nologo ringer_client.vbs </dev/null 2>&1)
rc=$?
echo "$output"
[ $rc -eq 0 ] || fail "cscript exited with $rc"
grep -q '^ALL OK' <<<"$output" || fail "the script did not reach its end"
grep '^fault|' "$scenario" && fail "rasapi32 saw a wrong size or byte count"
grep -q '^call|RasDialA Office$' "$scenario" || fail "the script's dial did not reach rasapi32"
exit 0
