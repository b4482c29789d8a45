#!/usr/bin/env bash
# The run command: installs what is missing, builds Vigil.exe and starts it under Wine.
# With a display it uses the X11 driver; without one it starts Xvfb, saves a screenshot of
# the main window (first argument, default build/vigil-main-window.png) and keeps running
# until interrupted, as the monitor would on a desktop.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
shot=${1:-$root/build/vigil-main-window.png}
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY ftp_proxy no_proxy NO_PROXY all_proxy ALL_PROXY

tools/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Vigil -j"$(nproc)" >/dev/null
exe=$root/build/win64/vigil/Vigil.exe

export VIGIL_WINE_GRAPHICS=x11
export VIGIL_WINE_PREFIX=$root/build/win64/wineprefix
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    WINEPREFIX=$VIGIL_WINE_PREFIX-x11 wineserver -k 2>/dev/null || true
}
trap cleanup EXIT INT TERM

if [ -z "${DISPLAY:-}" ]; then
    display=${VIGIL_RUN_DISPLAY:-:$((90 + RANDOM % 100))} # a free display of your choice, or a guess
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    export DISPLAY=$display
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.2; done
    headless=1
fi

if [ -n "${headless:-}" ]; then
    # Xvfb has no window manager: Wine's own virtual desktop draws the frames and the
    # notification area.
    (cd "$(dirname "$exe")" && exec "$root/tools/wine-run.sh" explorer /desktop=Vigil,800x520 "$exe") &
else
    (cd "$(dirname "$exe")" && exec "$root/tools/wine-run.sh" "$exe") &
fi
pids+=($!)

if [ -n "${headless:-}" ]; then
    mkdir -p "$(dirname "$shot")"
    # Wait for the main window, then until it is painted (a mapped window can still be blank).
    saved=""
    for _ in $(seq 120); do
        window=$(xwininfo -root -tree 2>/dev/null | awk '/"Vigil - Wine desktop"/ { print $1; exit }')
        if [ -n "$window" ]; then
            sleep 1
            import -window "$window" "$shot" 2>/dev/null || true
            spread=$(convert "$shot" -format '%[fx:standard_deviation]' info: 2>/dev/null || echo 0)
            if awk -v s="$spread" 'BEGIN { exit !(s > 0.02) }'; then saved=1; break; fi
        fi
        sleep 0.5
    done
    if [ -n "$saved" ]; then
        echo "Screenshot of the main window: $shot"
    else
        echo "The main window did not appear; no screenshot saved." >&2
    fi
    echo "Vigil is running on $DISPLAY; press Ctrl+C to stop it."
fi
wait "${pids[-1]}"
