#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine needs to build and test the suite.
# Idempotent and quiet when everything is already there.
#
# The 32-bit Wine (wine32:i386, for the i686 tests) comes from the i386 architecture, whose
# package index has been broken on some days: if it cannot be installed, this says so in one
# line and still succeeds; tools/test.sh then skips only the i686 tests.
set -euo pipefail

packages=(
    cmake make g++ git
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
    libwine-dev wine wine64 fonts-wine
    googletest
    xvfb x11-utils imagemagick
    python3 python3-aiosmtpd nginx-light
    procps util-linux
    nsis clang
)
wine32=wine32:i386

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done
need_wine32=""
installed "$wine32" || need_wine32=1
[ ${#missing[@]} -eq 0 ] && [ -z "$need_wine32" ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
trap 'rm -f "$log"' EXIT

wanted=("${missing[@]}")
[ -z "$need_wine32" ] || wanted+=("$wine32")
echo "Installing: ${wanted[*]}"
if [ -n "$need_wine32" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
# A broken index of one architecture must not stop the others: the installs below say
# whether what they need was there.
$SUDO apt-get update -qq >"$log" 2>&1 || true
if [ ${#missing[@]} -gt 0 ]; then
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >>"$log" 2>&1 || {
        cat "$log" >&2
        exit 1
    }
fi
if [ -n "$need_wine32" ]; then
    if ! $SUDO apt-get install -y -qq --no-install-recommends "$wine32" >>"$log" 2>&1; then
        reason=$(grep -E '^(E|Err):' "$log" | tail -n 1 || true)
        echo "The 32-bit Wine ($wine32) could not be installed, so the i686 tests cannot run${reason:+ (apt: $reason)}" >&2
    fi
fi
exit 0
