#!/usr/bin/env bash
# Renders the program's icon at every size the desktop's icon theme asks for
# (resources/iconos/aplicacion/N.png, N × N pixels) from its SVG source.
# Needs rsvg-convert (Debian package librsvg2-bin). Run it after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/../resources/iconos"
mkdir -p aplicacion
for n in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$n" -h "$n" fiscalino.svg -o "aplicacion/$n.png"
done
