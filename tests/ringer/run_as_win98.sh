#!/usr/bin/env bash
# Runs a Windows test program under Wine with Windows 98 as the version Wine reports to it.
# The setting is keyed by the program's file name, so other programs in the same prefix
# (running at the same time) keep their version.
set -uo pipefail
run=${VIGIL_WINE_RUN:?}
program=$1
shift
name=$(basename "$program")
"$run" reg add "HKCU\\Software\\Wine\\AppDefaults\\$name" /v Version /d win98 /f \
    </dev/null >/dev/null 2>&1 || { echo "could not set the Windows version of $name"; exit 1; }
exec "$run" "$program" "$@"
