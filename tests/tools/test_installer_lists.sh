#!/usr/bin/env bash
# The Windows installer's file lists, made from a staged folder: the installer built
# by makensis from data/windows/kestrel.nsi installs every staged file where it stands
# and nothing else, and its uninstaller deletes each of them and removes every folder
# below the installation folder, deepest first. Read from makensis's own account of
# what it compiled. Exit 77 (skipped) without makensis.
#   test_installer_lists.sh REPOSITORY WORKFOLDER
set -euo pipefail
top=$1 work=$2
command -v makensis >/dev/null || { echo "makensis not found (package nsis): skipped"; exit 77; }
source "$top/tools/windows-installer.sh"
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# What makensis compiled: "install PATH" per File of the installer's list, "delete
# PATH" per Delete of the installation folder, "rmdir PATH" per RMDir below it, in
# order; PATH with backslashes.
compiled() {
    awk '
    $0 == "!insertmacro: KESTREL_INSTALL_FILES" { listing = 1 }
    $0 == "!insertmacro: end of KESTREL_INSTALL_FILES" { listing = 0 }
    listing && /^SetOutPath: / {
        out = $0; sub(/^SetOutPath: "\$INSTDIR/, "", out); sub(/"$/, "", out); sub(/^\\/, "", out) }
    listing && /^File: "/ {
        name = $0; sub(/^File: "/, "", name); sub(/" [0-9\/]+ bytes$/, "", name)
        print "install " (out == "" ? "" : out "\\") name }
    /^Delete: "\$INSTDIR\\/ {
        path = $0; sub(/^Delete: "\$INSTDIR\\/, "", path); sub(/"$/, "", path); print "delete " path }
    /^RMDir: "\$INSTDIR\\/ {
        path = $0; sub(/^RMDir: "\$INSTDIR\\/, "", path); sub(/"$/, "", path); print "rmdir " path }
    ' "$1"
}

# build STAGE: makes the installer of STAGE as tools/windows does; makensis's full
# account of what it compiled is $work/log.
build() {
    KESTREL_MAKENSIS_VERBOSITY=4 kestrel_make_installer "$1" 1.0.0 "$work/kestrel-test.exe" \
        >"$work/log" 2>&1 || { cat "$work/log"; return 1; }
}

rm -rf "$work"
mkdir -p "$work/stage/platforms" "$work/stage/licenses" "$work/stage/deep/er/still" "$work/stage/only/folders"
for name in kestrel.exe kestrel-cam.exe "two words.txt" "Pérez (1).txt" platforms/qwindows.dll \
    licenses/GPL-3.0.txt licenses/Kestrel.txt deep/er/still/down.txt deep/top.txt only/folders/x; do
    printf '%s\n' "$name" >"$work/stage/$name"
done
ln -s kestrel.exe "$work/stage/linked.exe"
build "$work/stage"
compiled "$work/log" >"$work/compiled"

# Every staged file installed once, where it stands, and nothing else.
expected_files=$(cd "$work/stage" && find . -mindepth 1 ! -type d -printf '%P\n' | tr '/' '\\' | LC_ALL=C sort)
diff <(printf '%s\n' "$expected_files") <(sed -n 's/^install //p' "$work/compiled" | LC_ALL=C sort) ||
    fail "the installer does not install exactly the staged files (< staged, > installed)"
[ "$(grep -c '^install ' "$work/compiled")" = "$(grep -c . <<<"$expected_files")" ] ||
    fail "the installer has not one File line per staged file"
# Every one of them deleted, and uninstall.exe, which the installer writes itself.
diff <(printf '%s\nuninstall.exe\n' "$expected_files" | LC_ALL=C sort) \
    <(sed -n 's/^delete //p' "$work/compiled" | LC_ALL=C sort) ||
    fail "the uninstaller does not delete exactly the installed files (< installed, > deleted)"
# Every folder below the installation folder removed, each after the folders in it.
diff <(printf '%s\n' deep 'deep\er' 'deep\er\still' licenses only 'only\folders' platforms | LC_ALL=C sort) \
    <(sed -n 's/^rmdir //p' "$work/compiled" | LC_ALL=C sort) ||
    fail "the uninstaller does not remove exactly the installation's folders (< expected, > removed)"
# Each folder removed after everything in it: its files deleted, its folders removed.
awk '{ kind[NR] = $1; path[NR] = substr($0, index($0, " ") + 1) }
     END {
         for (n = 1; n <= NR; n++)
             for (m = n + 1; kind[n] == "rmdir" && m <= NR; m++)
                 if (kind[m] != "install" && index(path[m], path[n] "\\") == 1) {
                     print "removed before " path[m] ": " path[n]; bad = 1
                 }
         exit bad
     }' "$work/compiled" || fail "a folder is removed before what is in it"

# A file added to the stage is installed and deleted with no list to edit.
printf 'new\n' >"$work/stage/platforms/qoffscreen.dll"
build "$work/stage"
compiled "$work/log" >"$work/compiled"
grep -qxF 'install platforms\qoffscreen.dll' "$work/compiled" ||
    fail "a file added to the stage is not installed"
grep -qxF 'delete platforms\qoffscreen.dll' "$work/compiled" ||
    fail "a file added to the stage is not deleted"

# Refusals: an empty stage, and names NSIS would read otherwise.
mkdir -p "$work/empty"
if kestrel_write_installer_lists "$work/empty" "$work/empty.nsh" 2>/dev/null; then
    fail "an empty stage is accepted"
fi
for name in 'price$1.txt' 'a${STAGE}b' "two"$'\n'"lines.txt" 'back`quote' 'k*.exe' 'q?.txt' \
    "tab"$'\t'"bed.txt"; do
    rm -rf "$work/refused"
    mkdir -p "$work/refused/sub"
    : >"$work/refused/sub/$name"
    if kestrel_write_installer_lists "$work/refused" "$work/refused.nsh" 2>/dev/null; then
        fail "the file name '$name' is accepted"
    fi
done

if [ "$failures" -ne 0 ]; then
    echo "$failures failed"
    exit 1
fi
echo "installer lists: every check passed"
