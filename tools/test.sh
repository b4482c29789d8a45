#!/usr/bin/env bash
# The test command: installs what is missing, builds host, win64 and win32, runs every
# test (host natively, win64 and win32 one after the other through Wine, each in its build's
# own prefix) and ends with the test runners' summaries.
set -uo pipefail
cd "$(dirname "$0")/.."
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY ftp_proxy no_proxy NO_PROXY all_proxy ALL_PROXY

tools/install-deps.sh || exit 1
jobs=$(nproc)

build() {
    cmake --preset "$1" >"build/build-$1.log" 2>&1 && cmake --build --preset "$1" -j"$jobs" >>"build/build-$1.log" 2>&1
    local rc=$?
    if [ $rc -ne 0 ]; then
        tail -n 60 "build/build-$1.log"
        echo "build of preset $1 failed (full log: build/build-$1.log)"
    fi
    return $rc
}
mkdir -p build
for preset in host win64 win32; do
    build "$preset" || exit 1
done

# The i686 tests need the 32-bit Wine; where it could not be installed only they are skipped.
wine32_missing=""
if ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' ||
    [ ! -x /usr/lib/wine/wine ]; then
    wine32_missing="win32: skipped, the 32-bit Wine (wine32:i386) is not installed on this machine"
fi

status=0
summaries=()
for preset in host win64 win32; do
    if [ "$preset" = win32 ] && [ -n "$wine32_missing" ]; then
        echo "$wine32_missing"
        summaries+=("$wine32_missing")
        continue
    fi
    log="build/ctest-$preset.log"
    ctest --preset "$preset" -j"$jobs" --timeout 600 2>&1 | tee "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
    summaries+=("$preset: $(grep -E 'tests passed|tests failed' "$log" | tail -n 1)")
    [ "$preset" = host ] || WINEPREFIX="$PWD/build/$preset/wineprefix" wineserver -k >/dev/null 2>&1 || true
done

echo
echo "== summary =="
printf '%s\n' "${summaries[@]}"
exit $status
