#!/usr/bin/env bash
# The README's pictures: tools/screenshots.sh photographs every view of Vigil.exe, and each
# picture is cut to its windows (the desktop around them removed) and stored with a 64-colour
# palette in docs/images/, a few KB each.
#   tools/readme-images.sh [display]   (default :51)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/screenshots.sh "${1:-:51}"
mkdir -p docs/images
desktop='srgb(37,111,149)' # the colour of Wine's virtual desktop
for shot in build/screenshots/*.png; do
    view=$(basename "$shot" .png)
    [ "$view" = settings ] && continue # a hidden holder, never shown to a user
    convert "$shot" -bordercolor "$desktop" -border 1 -trim +repage +dither -colors 64 \
        "PNG8:docs/images/$view.png"
done
ls -l docs/images
