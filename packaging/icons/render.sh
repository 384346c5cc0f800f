#!/usr/bin/env bash
# Renders the application icon's PNG sizes from zingaroo.svg. The PNGs are kept
# in the repository, so the build itself needs no SVG renderer; run this again
# after changing the drawing. Needs Debian's librsvg2-bin (rsvg-convert).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert --width="$size" --height="$size" --keep-aspect-ratio \
    zingaroo.svg --output="zingaroo-$size.png"
done
