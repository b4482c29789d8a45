#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine needs to build and test the suite.
# Idempotent and quiet when everything is already there.
set -euo pipefail

packages=(
    cmake make g++ git
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
    libwine-dev wine wine64
    googletest
    xvfb x11-utils imagemagick
    python3 python3-aiosmtpd nginx-light
    procps util-linux
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
