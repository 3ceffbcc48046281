#!/usr/bin/env bash
# Renders the PNG sizes of the application icon from aimlvorrel.svg (needs librsvg2-bin).
# Run by hand after changing the drawing, and commit the PNGs: the build does not render them.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" aimlvorrel.svg --output "aimlvorrel-$size.png"
done
