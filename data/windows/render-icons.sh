#!/usr/bin/env bash
# Renders the camera file's icon (camera-file.svg with the application icon's drawing
# put into it) at the sizes of the Windows icons, into icons/. Like the application
# icon's PNGs in ../icons, the PNGs are kept in the repository so that building needs
# no renderer: the build only packs them into .ico files (see windows-resources.cmake).
# Run this (it needs rsvg-convert, package librsvg2-bin) after changing either drawing
# and commit the result; `render-icons.sh --check` fails when the committed PNGs are
# not what the drawings give.
set -euo pipefail
cd "$(dirname "$0")"
mark=../icons/org.kestreleditor.kestrel.svg
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The application icon's elements: everything between its <svg ...> and </svg> lines.
sed -n '/^<svg /,/^<\/svg>/{/^<svg /d;/^<\/svg>/d;p}' "$mark" > "$work/mark"
if ! [ -s "$work/mark" ]; then
    echo "render-icons.sh: no drawing found in $mark" >&2
    exit 1
fi
sed "/<svg id=\"mark\"/r $work/mark" camera-file.svg > "$work/camera-file.svg"

out=icons
[ "${1-}" = --check ] && out=$work/icons
mkdir -p "$out"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "$out/camera-file-$size.png" "$work/camera-file.svg"
done
if [ "${1-}" = --check ]; then
    for size in 16 24 32 48 64 128 256; do
        if ! cmp -s "$out/camera-file-$size.png" "icons/camera-file-$size.png"; then
            echo "render-icons.sh: data/windows/icons/camera-file-$size.png is not what the drawings give; run data/windows/render-icons.sh" >&2
            exit 1
        fi
    done
    echo "render-icons.sh: the camera file's icons are up to date"
fi
