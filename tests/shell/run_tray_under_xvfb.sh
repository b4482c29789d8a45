#!/usr/bin/env bash
# The tray icon with a real notification area: tray_menu_demo.exe in a Wine virtual desktop
# under Xvfb with the X11 driver. The shell must accept the icon's add, tip, image and delete
# requests, and the right click must open the menu.
#   run_tray_under_xvfb.sh <tray_menu_demo.exe>
set -uo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
run=${VIGIL_WINE_RUN:-$here/../../tools/wine-run.sh}
report=$(dirname "$exe")/tray-demo-test.txt
rm -f "$report"
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY ftp_proxy no_proxy NO_PROXY all_proxy ALL_PROXY

# A display of our own, whichever number is free.
exec 8< <(Xvfb -displayfd 1 -screen 0 800x600x24 -nolisten tcp 2>/dev/null & echo "pid $!"; wait)
read -r _ xvfb <&8
read -r number <&8 || { echo "Xvfb did not start" >&2; exit 1; }
trap 'kill "$xvfb" 2>/dev/null' EXIT
export DISPLAY=:$number VIGIL_WINE_GRAPHICS=x11

winreport=$("$run" winepath -w "$report" 2>/dev/null | tr -d '\r')
(cd "$(dirname "$exe")" && timeout 120 "$run" explorer /desktop=TrayTest,640x480 "$exe" "$winreport" 3)
expected=$'add 1\ntip 1\nicon 1\nmenu yes\ndelete 1'
got=$(tr -d '\r' <"$report" 2>/dev/null)
if [ "$got" != "$expected" ]; then
    printf 'expected:\n%s\ngot:\n%s\n' "$expected" "$got" >&2
    exit 1
fi
echo "tray icon added, changed and deleted; the right click opened the menu"
