#!/usr/bin/env bash
# Renders carillix.svg into the PNG sizes the application and the desktop use.
# Run by hand after changing the drawing; the PNGs are committed.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 256; do
    convert -background none -density 384 carillix.svg -resize "${size}x${size}" "carillix-${size}.png"
done
