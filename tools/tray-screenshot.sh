#!/usr/bin/env bash
# Screenshot of the notification-area icon's menu under Xvfb with Wine's X11 driver: starts
# tray_menu_demo.exe (tests/shell) in a Wine virtual desktop, whose taskbar holds the
# notification area, waits until the menu is up and painted, and saves the whole screen.
#
#   tools/tray-screenshot.sh [DISPLAY [OUTPUT.png]]   (defaults :47, build/tray-menu.png)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
display=${1:-:47}
shot=${2:-$root/build/tray-menu.png}
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY ftp_proxy no_proxy NO_PROXY all_proxy ALL_PROXY

cmake --preset win64 >/dev/null
cmake --build --preset win64 --target tray_menu_demo -j2 >/dev/null
exe=$root/build/win64/tests/shell/tray_menu_demo.exe
report=$root/build/win64/tests/shell/tray-demo.txt
rm -f "$report"

export VIGIL_WINE_GRAPHICS=x11
export VIGIL_WINE_PREFIX=$root/build/win64/wineprefix
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
}
trap cleanup EXIT INT TERM

Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.2; done

winreport=$("$root/tools/wine-run.sh" winepath -w "$report" 2>/dev/null | tr -d '\r')
(cd "$(dirname "$exe")" &&
    exec "$root/tools/wine-run.sh" explorer /desktop=Tray,640x480 "$exe" "$winreport" 20) &
pids+=($!)

# Wait for the menu to be up, then until the screen is painted (a mapped window can be blank).
saved=""
mkdir -p "$(dirname "$shot")"
for _ in $(seq 60); do
    sleep 0.5
    grep -q "^icon" "$report" 2>/dev/null || continue
    sleep 1.5
    import -window root "$shot" 2>/dev/null || continue
    spread=$(convert "$shot" -format '%[fx:standard_deviation]' info: 2>/dev/null || echo 0)
    if awk -v s="$spread" 'BEGIN { exit !(s > 0.02) }'; then saved=1; break; fi
done
wait "${pids[-1]}" || true
cat "$report" 2>/dev/null || true
if [ -n "$saved" ]; then
    echo "Screenshot of the tray menu: $shot"
else
    echo "No screenshot saved." >&2
    exit 1
fi
