#!/usr/bin/env bash
# The test command: installs what is missing, builds host, win64 and win32, runs every
# test (host natively, win64 through Wine) and ends with the test runners' summaries.
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


status=0
summaries=()
for preset in host win64; do
    log="build/ctest-$preset.log"
    ctest --preset "$preset" -j"$jobs" --timeout 600 2>&1 | tee "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
    summaries+=("$preset: $(grep -E 'tests passed|tests failed' "$log" | tail -n 1)")
done
VIGIL_WINE_PREFIX=build/win64/wineprefix WINEPREFIX="$PWD/build/win64/wineprefix" wineserver -k >/dev/null 2>&1 || true

echo
echo "== summary =="
printf '%s\n' "${summaries[@]}"
exit $status
