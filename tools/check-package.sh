#!/usr/bin/env bash
# Builds the Debian package as the README's "Installing" section does and checks it
# with Debian's and freedesktop.org's own tools: lintian, desktop-file-validate,
# appstreamcli, groff and man (in 80 columns) on each manual page and
# update-mime-database on the camera file type. Every check looks at the files
# inside the .deb. Any error or warning fails. Called by tools/test; can be run
# alone.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup-deps.sh
kestrel_packages+=("${kestrel_package_check_packages[@]}")
kestrel_ensure_packages

id=org.kestreleditor.kestrel
mime_type=application/x-kestrel-cam
build=build/pkg
failures=0

fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# Runs a command that must print nothing at all.
silent() {
    local output
    if ! output="$("$@" 2>&1)"; then
        fail "$* exited with an error${output:+:}"
        [ -n "$output" ] && printf '%s\n' "$output" >&2
        return 0
    fi
    if [ -n "$output" ]; then
        printf '%s\n' "$output" >&2
        fail "$* printed the above"
    fi
}

echo "== Build the Debian package"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DKESTREL_BUILD_TESTS=OFF -DKESTREL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/*.deb)
[ ${#debs[@]} -eq 1 ] || { echo "expected one .deb in $build, found ${#debs[@]}" >&2; exit 1; }
deb="${debs[0]}"
echo "$deb"

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
root="$tmp/root"
dpkg-deb -x "$deb" "$root"

echo "== lintian"
# lintian says when it is run as root (as in CI) before it starts; that line says
# nothing about the package. Info tags are shown but do not fail.
lintian_status=0
lintian_output="$(lintian --fail-on error,warning --display-info "$deb" 2>&1)" || lintian_status=$?
printf '%s\n' "$lintian_output" | grep -v -x 'running with root privileges is not recommended!' || true
[ "$lintian_status" -eq 0 ] || fail "lintian reports errors or warnings (exit status $lintian_status)"

echo "== desktop-file-validate"
# It exits 0 on warnings and hints: any output at all is a failure.
desktop="$root/usr/share/applications/$id.desktop"
if [ -f "$desktop" ]; then
    silent desktop-file-validate "$desktop"
    grep -q -x "Icon=$id" "$desktop" || fail "$id.desktop does not name the icon $id"
    # The editor opens the camera file it is handed: file managers offer it for them.
    grep -q -x "MimeType=$mime_type;" "$desktop" || fail "$id.desktop does not give MimeType=$mime_type;"
    grep -q -x 'Exec=kestrel %f' "$desktop" || fail "$id.desktop does not start kestrel with the file (%f)"
else
    fail "the package holds no usr/share/applications/$id.desktop"
fi

echo "== appstreamcli validate"
# Errors and warnings fail; pedantic notes are shown.
metainfo="$root/usr/share/metainfo/$id.metainfo.xml"
if [ -f "$metainfo" ]; then
    appstreamcli validate --no-net --pedantic "$metainfo" || fail "the metainfo does not validate"
    # The tree check finds the desktop entry the metainfo launches.
    appstreamcli validate-tree --no-net "$root" >/dev/null ||
        fail "the installed tree does not validate: run appstreamcli validate-tree on it"
    grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
else
    fail "the package holds no usr/share/metainfo/$id.metainfo.xml"
fi

echo "== Icons"
for size in 16 22 24 32 48 64 128 256; do
    png="$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    if [ ! -f "$png" ]; then
        fail "no ${size}x${size} icon"
    elif ! file -b "$png" | grep -q "^PNG image data, $size x $size,"; then
        fail "the ${size}x${size} icon is $(file -b "$png")"
    fi
    # The PNGs in the repository are what the drawing renders to: the same size and the
    # same pixels, give or take the edge smoothing of another librsvg (at most 1 pixel
    # in 100 more than 10% off).
    kept="data/icons/${size}x${size}/$id.png"
    rsvg-convert --width "$size" --height "$size" --format png "data/icons/$id.svg" >"$tmp/icon.png"
    if [ "$(identify -format '%w x %h' "$kept")" != "$size x $size" ]; then
        fail "$kept is $(identify -format '%w x %h' "$kept"), not $size x $size"
    else
        # compare prints the number of differing pixels, also when it exits 1.
        differing="$(compare -metric AE -fuzz 10% "$tmp/icon.png" "$kept" null: 2>&1)" || true
        awk -v n="$differing" -v most=$((size * size / 100)) 'BEGIN { exit !(n ~ /^[0-9.e+]+$/ && n + 0 <= most) }' ||
            fail "$kept is not rendered from $id.svg ($differing pixels differ): run data/icons/render-icons.sh"
    fi
done
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$id.svg" ] || fail "no scalable icon"

echo "== Manual pages"
pages=("$root"/usr/share/man/man1/*.1.gz)
[ -f "${pages[0]}" ] || fail "the package holds no manual pages"
for page in "${pages[@]}"; do
    [ -f "$page" ] || continue
    echo "${page#"$root"}"
    zcat "$page" >"$tmp/page"
    silent groff -man -ww -z "$tmp/page"
    # As man shows it in an 80-column terminal: nothing on standard error and no
    # line wider than the terminal (counted in characters, not bytes).
    if ! MANWIDTH=80 LC_ALL=C.UTF-8 man -l "$tmp/page" >"$tmp/page.txt" 2>"$tmp/page.err"; then
        fail "man -l ${page#"$root"} failed"
    fi
    if [ -s "$tmp/page.err" ]; then
        cat "$tmp/page.err" >&2
        fail "man -l ${page#"$root"} printed the above on standard error"
    fi
    if LC_ALL=C.UTF-8 grep -n '.\{81\}' "$tmp/page.txt" >&2; then
        fail "${page#"$root"} has the above lines over 80 columns in an 80-column terminal"
    fi
done
for program in "$root"/usr/bin/*; do
    [ -f "$root/usr/share/man/man1/$(basename "$program").1.gz" ] ||
        fail "usr/bin/$(basename "$program") has no manual page"
done

echo "== Bash completion"
completion="$root/usr/share/bash-completion/completions/kestrel-cam"
if [ -f "$completion" ]; then
    [ ! -x "$completion" ] || fail "the bash completion is executable"
    bash -n "$completion" || fail "the bash completion is no valid bash script"
else
    fail "the package holds no usr/share/bash-completion/completions/kestrel-cam"
fi

echo "== Camera file type"
mime_xml="$root/usr/share/mime/packages/$id.xml"
if [ -f "$mime_xml" ]; then
    mkdir -p "$tmp/data/mime/packages"
    cp "$mime_xml" "$tmp/data/mime/packages/"
    # A folder outside the search path gets a note: put it in the path.
    XDG_DATA_DIRS="$tmp/data" XDG_DATA_HOME="$tmp/data" \
        silent update-mime-database "$tmp/data/mime"
    grep -q -x "50:$mime_type:\*\.cam" "$tmp/data/mime/globs2" ||
        fail "globs2 does not give *.cam to $mime_type"
    # The magic entry: the type, then offset 0, a two-byte length 4 and "MACC".
    grep -q -F "[50:$mime_type]" "$tmp/data/mime/magic" ||
        fail "magic has no entry for $mime_type"
    tr '\000\004' '@#' <"$tmp/data/mime/magic" | grep -q -F '>0=@#MACC' ||
        fail "magic does not match MACC at offset 0"
    grep -q -x "$mime_type:$id" "$tmp/data/mime/icons" || fail "the type does not have the icon $id"
else
    fail "the package holds no usr/share/mime/packages/$id.xml"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures package check(s) failed" >&2
    exit 1
fi
echo "All package checks passed"
