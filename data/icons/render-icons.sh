#!/usr/bin/env bash
# Renders the application icon at every hicolor size from the drawing beside this
# script. The PNGs are kept in the repository so that building needs no renderer;
# run this (it needs rsvg-convert, package librsvg2-bin) after changing the drawing
# and commit the result.
set -euo pipefail
cd "$(dirname "$0")"
id=org.kestreleditor.kestrel
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "${size}x${size}"
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "${size}x${size}/$id.png" "$id.svg"
done
