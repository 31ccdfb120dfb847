#!/usr/bin/env bash
# Tries the portable zip as a Windows user would, in a fresh Wine prefix: kestrel-cam
# makes, shows, sets, copies, exports, imports and renders files whose bytes equal
# those of the Linux build for the same commands, through files with non-ASCII names,
# Windows paths and standard input and output; the editor, started on a virtual
# display with a file on its command line, shows that file's cameras, and its camera's
# eye window, opened by the portable settings, shows what render --eye draws.
# Usage: tools/windows-try-zip.sh ZIP WORK   (called by tools/windows)
set -euo pipefail
cd "$(dirname "$0")/.."
zip="$(realpath "$1")"
work="$(realpath -m "$2")"

echo "-- kestrel-cam for Linux, to compare with"
cmake -S . -B build/windows/native -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTREL_BUILD_TESTS=OFF \
    -DKESTREL_BUILD_BENCH=OFF >/dev/null
cmake --build build/windows/native --target kestrel-cam >/dev/null
linux="$(realpath build/windows/native/cli/kestrel-cam)"

rm -rf "$work"
mkdir -p "$work/linux" "$work/windows"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH
wine wineboot --init >/dev/null 2>&1
wineserver -w
# Unpacked where a user would put it: nothing else of Kestrel's is on this system.
unzip -q "$zip" -d "$WINEPREFIX/drive_c/Tools"
folder="$(find "$WINEPREFIX/drive_c/Tools" -mindepth 1 -maxdepth 1 -type d)"
cam_exe="C:\\Tools\\$(basename "$folder")\\kestrel-cam.exe"
[ -f "$folder/Kestrel.ini" ] || { echo "the zip lacks Kestrel.ini" >&2; exit 1; }

fail() {
    echo "windows zip: $*" >&2
    exit 1
}

# Each step runs in a folder of its own for each system with the same arguments;
# Windows is given its files by Windows paths (Z:\...\Pérez.cam).
windows_path() { winepath -w "$1" 2>/dev/null; }
run_linux() { (cd "$work/linux" && "$linux" "$@"); }
run_windows() { (cd "$work/windows" && wine "$cam_exe" "$@"); }
both() {
    run_linux "$@" >"$work/linux/out.txt" 2>"$work/linux/err.txt" || echo "exit $?" >>"$work/linux/err.txt"
    run_windows "$@" >"$work/windows/out.txt" 2>"$work/windows/err.txt" ||
        echo "exit $?" >>"$work/windows/err.txt"
    # Text ends its lines with CR LF on Windows; the same lines otherwise.
    for stream in out err; do
        if ! cmp -s "$work/linux/$stream.txt" <(tr -d '\r' <"$work/windows/$stream.txt"); then
            diff "$work/linux/$stream.txt" <(tr -d '\r' <"$work/windows/$stream.txt") >&2 || true
            fail "kestrel-cam $*: standard $stream differs from Linux"
        fi
    done
}
# Two pictures with the same pixels, whatever their PNG compression: the same size and
# the same RGBA bytes. Only a difference is counted, for the message.
same_pixels() {
    local linux="$1" windows="$2" what="$3" size
    size="$(identify -format '%wx%h' "$windows")" || fail "$what: $windows is no picture"
    [ "$size" = "$(identify -format '%wx%h' "$linux")" ] ||
        fail "$what: $size, not $(identify -format '%wx%h' "$linux") as on Linux"
    cmp -s <(convert "$linux" -depth 8 rgba:-) <(convert "$windows" -depth 8 rgba:-) ||
        fail "$what: $(compare -metric AE "$linux" "$windows" null: 2>&1 || true) pixels differ from Linux ($windows)"
}
same_file() {
    cmp "$work/linux/$1" "$work/windows/$1" >/dev/null || fail "$1 differs from the Linux build's"
    echo "same bytes: $1 ($(stat -c %s "$work/linux/$1") bytes)"
}

both new lotus -o Pérez.cam
same_file Pérez.cam
both new brabham -o brabham.cam
both show Pérez.cam
both show Pérez.cam -c rollbar --exact
both set Pérez.cam nose.zoom=77.99 rollbar.pitch1=-7.16 frontsusp.x=1.2
same_file Pérez.cam
both copy brabham.cam gearbox Pérez.cam --to rearsusp
same_file Pérez.cam
both export Pérez.cam -o Pérez.json
same_file Pérez.json
both import Pérez.json -o back.cam
same_file back.cam
both diff brabham.cam Pérez.cam
both check Pérez.cam brabham.cam
# Bad input: the same messages and exit codes.
both show missing.cam
both set Pérez.cam nose.zoom=500
both new nomake -o x.cam
head -c 227 "$work/linux/brabham.cam" >"$work/linux/short.cam"
cp "$work/linux/short.cam" "$work/windows/short.cam"
both show short.cam
[ "$(wc -l <"$work/linux/err.txt")" -ge 1 ] || fail "no error for a short file"

# Windows paths: a drive letter with backslashes, forward slashes, a UNC path.
drive="$(windows_path "$work/windows/Pérez.cam")"
run_windows show "$drive" >"$work/windows/by-drive.txt"
run_windows show "${drive//\\//}" >"$work/windows/by-slashes.txt"
run_windows show '\\?\'"$drive" >"$work/windows/by-unc.txt"
run_linux show Pérez.cam >"$work/linux/by-name.txt"
for how in drive slashes unc; do
    cmp -s "$work/linux/by-name.txt" <(tr -d '\r' <"$work/windows/by-$how.txt") ||
        fail "show by a path with $how differs"
done
run_windows show 'Z:\no\such\folder\x.cam' 2>"$work/windows/err.txt" && fail "a missing folder was read"
grep -q 'Z:\\no\\such\\folder\\x.cam: No such file or directory' "$work/windows/err.txt" ||
    fail "a missing file's message: $(cat "$work/windows/err.txt")"
echo "paths: drive letter, forward slashes, \\\\?\\ prefix, missing folder"

# Standard output and input carry camera files and pictures byte for byte: a file whose
# bytes a text stream would change (LF, CR LF, and Lotus' Ctrl-Z) goes through both.
run_linux new lotus -o - >"$work/linux/lotus-stdout.cam"
run_windows new lotus -o - >"$work/windows/lotus-stdout.cam"
same_file lotus-stdout.cam
cp "$work/linux/lotus-stdout.cam" "$work/linux/awkward.cam"
printf '\x0a\x0d\x0a\x3f' | dd of="$work/linux/awkward.cam" bs=1 seek=12 conv=notrunc status=none
cp "$work/linux/awkward.cam" "$work/windows/awkward.cam"
bytes="$(od -An -tx1 -v "$work/linux/awkward.cam" | tr -s ' \n' ' ')"
for wanted in ' 0a ' ' 0d 0a ' ' 1a '; do
    [[ "$bytes" == *"$wanted"* ]] || fail "awkward.cam lacks the bytes$wanted"
done
run_linux show - <"$work/linux/awkward.cam" >"$work/linux/stdin.txt"
run_windows show - <"$work/windows/awkward.cam" >"$work/windows/stdin.txt"
cmp -s "$work/linux/stdin.txt" <(tr -d '\r' <"$work/windows/stdin.txt") || fail "show - differs"
grep -q $'\r$' "$work/windows/stdin.txt" || fail "text lines do not end with CR LF on Windows"
run_linux export - -o - <"$work/linux/awkward.cam" | run_linux import - -o - >"$work/linux/piped.cam"
run_windows export - -o - <"$work/windows/awkward.cam" | run_windows import - -o - \
    >"$work/windows/piped.cam"
cmp -s "$work/linux/awkward.cam" "$work/linux/piped.cam" || fail "the Linux build changed awkward.cam"
same_file piped.cam
# A reader that goes away (head) and a full disk: exit 2, told as on Linux.
names=()
for _ in $(seq 1000); do names+=(Pérez.cam); done
(run_windows show "${names[@]}" 2>"$work/windows/err.txt" && status=0 || status=$?
    echo "exit $status" >>"$work/windows/err.txt") | head -n 1 >/dev/null
[ "$(tr -d '\r' <"$work/windows/err.txt")" = $'kestrel-cam: standard output: Broken pipe\nexit 2' ] ||
    fail "a closed pipe: $(cat "$work/windows/err.txt")"
run_windows show Pérez.cam >/dev/full 2>"$work/windows/err.txt" && fail "a full disk was not told"
grep -q 'kestrel-cam: standard output: No space left on device' "$work/windows/err.txt" ||
    fail "a full disk: $(cat "$work/windows/err.txt")"
echo "standard input and output: binary files byte for byte, text with CR LF", a closed pipe and a full disk told

# Pictures: the same pixels (PNG's compression may differ).
run_linux render Pérez.cam -c nose -o nose.png
run_windows render Pérez.cam -c nose -o nose.png
run_windows render Pérez.cam -c nose -o - >"$work/windows/nose-stdout.png"
for picture in nose.png nose-stdout.png; do
    same_pixels "$work/linux/nose.png" "$work/windows/$picture" "render $picture"
done
run_linux render Pérez.cam -c rollbar --eye -o eye.png
run_windows render Pérez.cam -c rollbar --eye -o eye.png
same_pixels "$work/linux/eye.png" "$work/windows/eye.png" "render --eye"
# The sheet's captions are drawn with the font beside the program, the same as Linux's.
run_linux render Pérez.cam -o sheet.png
run_windows render Pérez.cam -o sheet.png
same_pixels "$work/linux/sheet.png" "$work/windows/sheet.png" "render's sheet"
echo "render: one camera, its eye view and the sheet with its captions pixel for pixel as on Linux, through a file and standard output"

# The editor on a virtual display, opened on a file named on its command line: its
# window shows the file's first camera exactly as render draws it (the window's theme
# may paint the background between the views in its own colour). Wine's first window
# in a new prefix can take a while.
editor_exe="C:\\Tools\\$(basename "$folder")\\kestrel.exe"
# The file lies where a user keeps one, so that the window (and the README's picture
# of it, docs/windows-screenshot.png) shows a user's folder.
mkdir -p "$WINEPREFIX/drive_c/Games/cars"
cp "$work/linux/Pérez.cam" "$WINEPREFIX/drive_c/Games/cars/Pérez.cam"
opened='C:\Games\cars\Pérez.cam'
# The prefix's programs started without a display (its desktop process among them)
# would keep the editor's window from the virtual one: end them first, and start no
# other program of the prefix (winepath included) before the editor.
wineserver -k 2>/dev/null || true
wineserver -w
background="$(sed -n 's/.*WindowBackground(\([0-9]*\), \([0-9]*\), \([0-9]*\)).*/\1 \2 \3/p' \
    src/views/viewplaces.h | xargs printf '%02x%02x%02x')"
# editor_on_screen SIZE LOG SHOT PICTURE [FIND-PICTURE OPTIONS]: starts the editor on
# the file on a virtual screen of SIZE pixels and takes screenshots (the last in SHOT)
# until PICTURE shows in one, for two minutes at most; the editor's output is in LOG.
editor_on_screen() {
    local size=$1 log=$2 shot=$3
    shift 3
    xvfb-run -a -s "-screen 0 ${size}x24" bash -c '
        wine "$1" "$2" >"$3" 2>&1 &
        for _ in $(seq 120); do
            sleep 1
            import -window root "$4" 2>/dev/null || continue
            python3 tools/find-picture.py "$4" "${@:5}" >/dev/null 2>&1 && break
        done
        wineserver -k
    ' sh "$editor_exe" "$opened" "$log" "$shot" "$@"
}
editor_on_screen 1024x768 "$work/editor.log" "$work/editor.png" "$work/linux/nose.png" \
    --ignore "$background"
place="$(python3 tools/find-picture.py "$work/editor.png" "$work/linux/nose.png" --ignore "$background")" ||
    fail "the editor's window does not show Pérez.cam's nose camera (see $work/editor.png)"
# The window alone, for the README's picture: everything but the empty screen.
convert "$work/editor.png" -trim +repage "$work/editor-window.png"
echo "editor: opened $opened from its command line; its views equal render's, $place ($work/editor-window.png, the README's docs/windows-screenshot.png)"
# The portable copy keeps its settings beside it.
grep -q 'MostRecentFilePath' "$folder/Kestrel.ini" ||
    fail "the portable editor did not keep its settings in Kestrel.ini"
echo "editor: settings in the zip's Kestrel.ini"

# The camera's eye window, opened again at start as the settings remember it (here
# written into the portable Kestrel.ini by hand, with no size or place: it opens at
# 640 x 480): its picture equals render --eye of the file's first camera at that size,
# on Windows as on Linux. The pictures to look for are drawn before the editor starts.
run_linux render Pérez.cam -c nose --eye --size 640x480 -o eye-window.png
run_windows render Pérez.cam -c nose --eye --size 640x480 -o eye-window.png
same_pixels "$work/linux/eye-window.png" "$work/windows/eye-window.png" "render --eye --size 640x480"
grep -q '^\[CameraEye\]' "$folder/Kestrel.ini" && fail "Kestrel.ini already has a CameraEye section"
printf '\r\n[CameraEye]\r\nVisible=1\r\n' >>"$folder/Kestrel.ini"
wineserver -k 2>/dev/null || true
wineserver -w
editor_on_screen 1600x1200 "$work/editor-eye.log" "$work/editor-eye.png" \
    "$work/windows/eye-window.png"
place="$(python3 tools/find-picture.py "$work/editor-eye.png" "$work/windows/eye-window.png")" ||
    fail "the camera's eye window does not show render --eye's picture (see $work/editor-eye.png)"
echo "editor: the camera's eye window, opened by Kestrel.ini, equals render --eye, $place"
# In the eye window's own section; Qt may end the lines with CR LF on Windows.
awk '{ sub(/\r$/, "") } /^\[/ { section = $0 }
     section == "[CameraEye]" && /^Geometry=/ { found = 1 } END { exit !found }' \
    "$folder/Kestrel.ini" ||
    fail "the camera's eye window's size and place are not in Kestrel.ini"
echo "editor: the camera's eye window's size and place in Kestrel.ini"
wineserver -k 2>/dev/null || true
