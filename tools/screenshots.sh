#!/usr/bin/env bash
# Photographs every page and sub-page of the main window and every other window of Vigil.exe
# under Xvfb, one start of the program per view (its test switch "/show:<view>" brings the view
# forward), into build/screenshots/<view>.png.
#   tools/screenshots.sh [display] [view ...]   (display default :51; views default: all)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
display=${1:-:51}
shift || true
views=("$@")
[ ${#views[@]} -gt 0 ] || views=(monitor options.connection options.startup options.reporting
    options.audio connection.dialup connection.proxy connection.ie schedule notification about
    settings report errors errors.expanded uptime emailer alert splash)
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY ftp_proxy no_proxy NO_PROXY all_proxy ALL_PROXY

cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Vigil -j2 >/dev/null
exe=$root/build/win64/vigil/Vigil.exe
out=$root/build/screenshots
mkdir -p "$out"

export VIGIL_WINE_GRAPHICS=x11
export VIGIL_WINE_PREFIX=$root/build/win64/wineprefix-shots
prefix=$VIGIL_WINE_PREFIX-x11
xvfb=""
cleanup() {
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT INT TERM

export DISPLAY=$display
if ! xdpyinfo >/dev/null 2>&1; then
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.2; done
fi

for view in "${views[@]}"; do
    # Wine's own virtual desktop draws the frames, since Xvfb has no window manager.
    (cd "$(dirname "$exe")" &&
        exec "$root/tools/wine-run.sh" explorer /desktop=Vigil,900x600 "$exe" "/show:$view") &
    runner=$!
    shot=$out/$view.png
    saved=""
    for _ in $(seq 60); do
        window=$(xwininfo -root -tree 2>/dev/null | awk '/"Vigil - Wine desktop"/ { print $1; exit }')
        if [ -n "$window" ]; then
            # The splash closes itself after 2 s; wait it out, then wait for the paint.
            sleep ${VIGIL_SHOT_DELAY:-3}
            import -window "$window" "$shot" 2>/dev/null || true
            spread=$(convert "$shot" -format '%[fx:standard_deviation]' info: 2>/dev/null || echo 0)
            if awk -v s="$spread" 'BEGIN { exit !(s > 0.02) }'; then saved=1; break; fi
        fi
        sleep 0.5
    done
    if [ -n "$saved" ]; then echo "$shot"; else echo "no picture of $view" >&2; fi
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    wait "$runner" 2>/dev/null || true
done
