#!/usr/bin/env bash
# Renders the program's icon, src/gui/res/app/mardo.svg, to the PNG sizes the desktop and the
# window title use, next to it. Run after changing the drawing; the PNGs are checked in so that
# neither a build nor a package needs the renderer.
set -euo pipefail
cd "$(dirname "$0")/.."

command -v rsvg-convert >/dev/null || scripts/install-deps.sh icon
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" src/gui/res/app/mardo.svg -o "src/gui/res/app/mardo-$size.png"
done
