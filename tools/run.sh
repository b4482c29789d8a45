#!/usr/bin/env bash
# The run command: installs what is missing, builds Vigil.exe and its two libraries, registers
# the libraries in the run's Wine prefix, starts the demo (local web sites and an SMTP server on
# 127.0.0.1, tools/demo_sites.py), points the monitor's settings at it and starts Vigil.exe.
#
#   tools/run.sh [--fresh] [screenshot]
#
# --fresh    start Vigil as a first start would: its settings key is deleted, nothing is
#            seeded and no demo runs.
# screenshot without a display, where the picture of the monitor goes (default
#            build/vigil-main-window.png).
#
# With a display it uses the X11 driver; without one it starts Xvfb and saves the screenshot,
# in the demo after the first check cycle has sent its e-mail. It runs until Ctrl+C or until
# Vigil ends; the demo stops with it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
fresh=""
shot=""
for arg in "$@"; do
    case "$arg" in
    --fresh) fresh=1 ;;
    -h | --help)
        sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'
        exit 0
        ;;
    -*)
        echo "run.sh: unknown option $arg (see --help)" >&2
        exit 2
        ;;
    *) shot=$arg ;;
    esac
done
shot=${shot:-$root/build/vigil-main-window.png}
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY ftp_proxy no_proxy NO_PROXY all_proxy ALL_PROXY

tools/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Vigil Ringer OvHttpClient -j"$(nproc)" >/dev/null
bin=$root/build/win64
exe=$bin/vigil/Vigil.exe
# Where an installer would put them: the folder of reports beside the program.
mkdir -p "$bin/vigil/reports"

export VIGIL_WINE_GRAPHICS=x11
export VIGIL_WINE_BITS=64
export VIGIL_WINE_PREFIX=$bin/wineprefix
prefix=$VIGIL_WINE_PREFIX-x11
ports_file=$root/build/demo-ports
mail_log=$root/build/demo-mail.log
seeded_mark=$prefix/.vigil-demo-seeded
python=/usr/bin/python3
[ -x "$python" ] || python=python3

pids=()
cleanup() {
    # Wine before the display it draws on, the newest first.
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    WINEPREFIX=$prefix timeout 10 wineserver -w 2>/dev/null || true
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

if [ -z "${DISPLAY:-}" ]; then
    # VIGIL_DISPLAY picks the display; otherwise a free one.
    display=${VIGIL_DISPLAY:-}
    if [ -z "$display" ]; then
        n=$((90 + RANDOM % 100))
        while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
        display=:$n
    fi
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    export DISPLAY=$display
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.2; done
    headless=1
fi

wine() { "$root/tools/wine-run.sh" "$@" </dev/null >/dev/null 2>&1; }
winpath() { echo "Z:${1//\//\\}"; }

# The installation: both libraries registered, the folder in the installer's key (its Path
# ends with one character past the folder name: the backslash).
wine regsvr32 /s "$(winpath "$bin/ringer/Ringer.dll")" || echo "run.sh: Ringer.dll is not registered" >&2
wine regsvr32 /s "$(winpath "$bin/ovhttpclient/OvHttpClient.dll")" ||
    echo "run.sh: OvHttpClient.dll is not registered" >&2
wine reg add 'HKLM\Software\Vigil Locale' /v Path /d "$(winpath "$bin/vigil/")" /f

if [ -n "$fresh" ]; then
    wine reg delete 'HKLM\Software\Vigil Settings' /f || true
    rm -f "$seeded_mark"
    echo "Starting Vigil as on its first start: no settings, no demo."
else
    # The ports of the last run are preferred, so seeded settings stay valid across runs.
    [ ! -e "$ports_file" ] || mv -f "$ports_file" "$ports_file.last"
    "$python" "$root/tools/demo_sites.py" --ports-file "$ports_file" \
        --last-ports "$ports_file.last" --mail-log "$mail_log" --parent $$ &
    pids+=($!)
    for _ in $(seq 100); do
        [ -e "$ports_file" ] && break
        kill -0 "${pids[-1]}" 2>/dev/null || { echo "run.sh: the demo servers did not start" >&2; exit 1; }
        sleep 0.1
    done
    [ -e "$ports_file" ] || { echo "run.sh: the demo servers did not start" >&2; exit 1; }
    # shellcheck source=/dev/null
    . "$ports_file"
    # The demo's settings go in when the key is not there yet (a first start) or when the
    # demo's ports have changed since they were seeded; otherwise the monitor keeps what the
    # user changed in it.
    site="http://127.0.0.1:$SITE_PORT"
    if ! wine reg query 'HKLM\Software\Vigil Settings' /v WebSiteCount ||
        ! cmp -s "$ports_file" "$seeded_mark"; then
        reg=$root/build/demo-settings.reg
        {
            printf 'REGEDIT4\r\n\r\n'
            printf '[-HKEY_LOCAL_MACHINE\\Software\\Vigil Settings]\r\n\r\n'
            printf '[HKEY_LOCAL_MACHINE\\Software\\Vigil Settings]\r\n'
            value() { printf '"%s"="%s"\r\n' "$1" "$2"; }
            value WebSiteCount 3
            value WebSite0 "$site/shop/"
            value WebSite1 "$site/checkout.asp"
            value WebSite2 "http://127.0.0.1:$FLAP_PORT/"
            for n in 0 1 2; do value "Email1-$n" ""; value "Email2-$n" ""; done
            value Email1-1 "shop-team@demo.localhost"
            value connectionUrl "$site/online"
            value dialType "IE Default"
            value intervalHours 0
            value intervalMins 1
            value startSchedule 1
            value emailNotify "POP3 Emailer"
            value smtpserver "127.0.0.1:$SMTP_PORT"
            value emailAddress "webmaster@demo.localhost"
            value FrequencyRec 1
            value AutoReport 1
            value errorWin 0
            value top 0
            value left 0
        } >"$reg"
        wine regedit /s "$(winpath "$reg")"
        cp "$ports_file" "$seeded_mark"
        echo "Demo settings seeded: 3 sites on 127.0.0.1, checked every minute, e-mail to the local SMTP server."
    fi
fi

if [ -n "${headless:-}" ]; then
    # Xvfb has no window manager: Wine's own virtual desktop draws the frames, and its task
    # bar the notification area with the monitor's icon.
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops\Vigil' /v EnableShell /t REG_DWORD /d 1 /f
    (cd "$(dirname "$exe")" && exec "$root/tools/wine-run.sh" explorer /desktop=Vigil,900x560 "$exe") &
else
    (cd "$(dirname "$exe")" && exec "$root/tools/wine-run.sh" "$exe") &
fi
vigil=$!
pids+=($vigil)

# The picture of the virtual desktop once it is painted (a mapped window can still be blank).
photograph() {
    local window spread
    window=$(xwininfo -root -tree 2>/dev/null | awk '/"Vigil - Wine desktop"/ { print $1; exit }')
    [ -n "$window" ] || return 1
    import -window "$window" "$shot" 2>/dev/null || return 1
    spread=$(convert "$shot" -format '%[fx:standard_deviation]' info: 2>/dev/null || echo 0)
    awk -v s="$spread" 'BEGIN { exit !(s > 0.02) }'
}

if [ -n "${headless:-}" ]; then
    mkdir -p "$(dirname "$shot")"
    saved=""
    if [ -z "$fresh" ]; then
        # The first cycle comes a minute after start-up; its failure e-mail is the sign that it
        # is over. Give it three minutes at most.
        echo "Waiting for the first check cycle (about a minute)..."
        for _ in $(seq 180); do
            grep -qs '^=== message' "$mail_log" && break
            kill -0 "$vigil" 2>/dev/null || break
            sleep 1
        done
        grep -qs '^=== message' "$mail_log" || echo "No e-mail has arrived from the first cycle." >&2
        sleep 3
    fi
    for _ in $(seq 120); do
        photograph && { saved=1; break; }
        sleep 0.5
    done
    if [ -n "$saved" ]; then
        echo "Screenshot of the monitor: $shot"
    else
        echo "The main window did not appear; no screenshot saved." >&2
    fi
    echo "Vigil is running on $DISPLAY; press Ctrl+C to stop it."
fi
wait "$vigil"
