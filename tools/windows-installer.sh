# shellcheck shell=bash
# Kestrel's Windows installer: its file lists made from the staged folder, making it,
# and testing it under Wine. Meant to be sourced (by tools/windows); each function runs
# in a subshell of its own and returns non-zero with a message on standard error when
# it fails.
#
#   kestrel_write_installer_lists STAGE NSH
#   kestrel_make_installer STAGE VERSION OUTFILE [ICON]       (needs nsis)
#   kestrel_test_installer SETUP_EXE WINEPREFIX [STAGE]       (needs wine)
#
# STAGE is the folder of the files to install, laid out as in the installation folder.

kestrel_installer_source="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
kestrel_installer_nsi=$kestrel_installer_source/data/windows/kestrel.nsi

# A staged file's path on Windows' side: with backslashes.
_kestrel_windows_path() {
    printf '%s' "${1//\//\\}"
}

# kestrel_write_installer_lists STAGE NSH: writes the include that kestrel.nsi reads,
# made from the files of STAGE (and links to files), so that the installer installs
# exactly them and the uninstaller removes exactly them:
#   KESTREL_INSTALL_FILES   a SetOutPath for each folder, then a File line per file
#   KESTREL_REMOVE_FILES    a Delete line per file, then an RMDir per folder below
#                           $INSTDIR, deepest first (each goes only when empty)
# The files are named below ${STAGE}, which makensis is given. Fails on an empty STAGE,
# and on a name that NSIS would read otherwise than the file system names it (a $, a
# double quote, a backquote, a line break or a tab), or as a pattern (a * or a ?, which
# File would widen to other files and Delete to the user's own); no file of Kestrel's
# has one.
kestrel_write_installer_lists() (
    set -euo pipefail
    local usage="kestrel_write_installer_lists STAGE NSH"
    local stage=${1:?$usage} nsh=${2:?$usage}
    if ! [ -d "$stage" ]; then
        echo "kestrel_write_installer_lists: $stage is not a folder" >&2
        return 1
    fi
    local -a files=() folders=()
    local name folder current=.
    # The files folder by folder, the installation folder's own first.
    while IFS= read -r -d '' name; do
        name=${name#*$'\t'}
        if [[ $name == *[\$\"\`\*\?$'\n\r\t']* ]]; then
            echo "kestrel_write_installer_lists: NSIS cannot name the file $stage/$name" >&2
            return 1
        fi
        files+=("$name")
    done < <(cd "$stage" && find . -mindepth 1 \( -type f -o -type l \) -printf '%h\t%P\0' | LC_ALL=C sort -z)
    if [ ${#files[@]} -eq 0 ]; then
        echo "kestrel_write_installer_lists: $stage holds no file" >&2
        return 1
    fi
    # Every folder that holds a file or a folder, deepest first: a folder is empty only
    # once the folders in it are gone.
    while IFS= read -r -d '' folder; do
        folders+=("${folder#*/}")
    done < <(for name in "${files[@]}"; do
        folder=$(dirname "$name")
        while [ "$folder" != . ]; do
            printf '%03d/%s\0' "$(tr -cd / <<<"$folder" | wc -c)" "$folder"
            folder=$(dirname "$folder")
        done
    done | LC_ALL=C sort -zur)
    {
        echo "; Made from the ${#files[@]} files of the staged folder by"
        echo "; tools/windows-installer.sh (kestrel_write_installer_lists): do not edit."
        echo "!macro KESTREL_INSTALL_FILES"
        echo '    SetOutPath "$INSTDIR"'
        for name in "${files[@]}"; do
            folder=$(dirname "$name")
            if [ "$folder" != "$current" ]; then
                current=$folder
                echo "    SetOutPath \"\$INSTDIR\\$(_kestrel_windows_path "$folder")\""
            fi
            echo "    File \"\${STAGE}/$name\""
        done
        echo "!macroend"
        echo "!macro KESTREL_REMOVE_FILES"
        for name in "${files[@]}"; do
            echo "    Delete \"\$INSTDIR\\$(_kestrel_windows_path "$name")\""
        done
        for folder in "${folders[@]}"; do
            echo "    RMDir \"\$INSTDIR\\$(_kestrel_windows_path "$folder")\""
        done
        echo "!macroend"
    } >"$nsh"
    echo "kestrel_write_installer_lists: ${#files[@]} files in ${#folders[@]} folders below the installation folder"
)

# kestrel_make_installer STAGE VERSION OUTFILE [ICON]: writes the lists of STAGE's files
# beside OUTFILE (OUTFILE.files.nsh), then makes the installer OUTFILE from
# data/windows/kestrel.nsi with makensis (package nsis). ICON, an .ico file, becomes the
# installer's and uninstaller's icon (NSIS's own otherwise). makensis reports at
# verbosity KESTREL_MAKENSIS_VERBOSITY (2, warnings and errors, unless set).
kestrel_make_installer() (
    set -euo pipefail
    local usage="kestrel_make_installer STAGE VERSION OUTFILE [ICON]"
    local stage=${1:?$usage} version=${2:?$usage} outfile=${3:?$usage} icon=${4-}
    if ! command -v makensis >/dev/null; then
        echo "kestrel_make_installer: makensis not found (package nsis)" >&2
        return 1
    fi
    if ! [[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
        echo "kestrel_make_installer: VERSION must be three numbers (like 1.0.0), not '$version'" >&2
        return 1
    fi
    # The copyright holders as the package names them (and the programs' version
    # information does).
    local holders
    holders=$(sed -n 's/^Copyright: //p' "$kestrel_installer_source/data/debian/copyright" | head -n 1)
    if [ -z "$holders" ]; then
        echo "kestrel_make_installer: no \"Copyright:\" line in data/debian/copyright" >&2
        return 1
    fi
    # makensis works in the script's folder: every path it gets is absolute. On Linux
    # its options start with "-" ("/WX" would be taken for a file).
    mkdir -p "$(dirname "$outfile")"
    local lists
    lists=$(realpath -m "$outfile.files.nsh")
    kestrel_write_installer_lists "$stage" "$lists"
    local defines=(-DVERSION="$version" -DSTAGE="$(realpath "$stage")" -DOUTFILE="$(realpath -m "$outfile")"
        -DFILES="$lists" -DCOPYRIGHT="Copyright (C) $holders. All rights reserved.")
    [ -z "$icon" ] || defines+=(-DICON="$(realpath "$icon")")
    makensis -WX -V"${KESTREL_MAKENSIS_VERBOSITY:-2}" "${defines[@]}" "$kestrel_installer_nsi"
    echo "kestrel_make_installer: made $outfile"
)

# Runs a Windows program of the test's prefix. winemenubuilder would copy the shortcut
# and the file type to the desktop of the user running the test: it is turned off, and
# so are the prompts for Mono and Gecko.
_kestrel_wine() {
    WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d" wine "$@"
}

# reg query ARGS: its answer, status 1 when reg says the key or value is not there, 2
# when reg gave no answer. A reg that fails otherwise (seen once under Wine, right after
# an uninstaller's copy of itself ended) is run again, up to five times.
_kestrel_reg_query() {
    local output attempt
    for attempt in 1 2 3 4 5; do
        if output=$(_kestrel_wine reg query "$@" 2>&1); then
            printf '%s\n' "$output"
            return 0
        fi
        [[ $output != *"Unable to find the specified registry"* ]] || return 1
        sleep "$attempt"
    done
    echo "reg query $*: no answer: $output" >&2
    return 2
}

# Prints the type and data of a registry value ("REG_SZ<TAB>data"); NAME empty means
# the key's default value. Status 1 when the value is not there, 2 when reg could not
# tell.
_kestrel_reg_value() {
    local key=$1 name=$2 output line
    if [ -z "$name" ]; then
        output=$(_kestrel_reg_query "$key" /ve) || return $?
        name="(Default)"
    else
        output=$(_kestrel_reg_query "$key" /v "$name") || return $?
    fi
    while IFS= read -r line; do
        line=${line%$'\r'}
        if [[ $line == "    $name    REG_"* ]]; then
            line=${line#"    $name    "}
            # How reg shows a key without a default value.
            [ "$name $line" != "(Default) REG_SZ    (value not set)" ] || return 1
            printf '%s\t%s\n' "${line%%    *}" "$(
                [[ $line == *"    "* ]] && printf '%s' "${line#*    }"
            )"
            return 0
        fi
    done <<<"$output"
    return 1
}

# The stages of kestrel_test_installer and their checks. They run inside it and use its
# variables (bash's dynamic scope): setup, stage, WINEPREFIX, progid, classes,
# uninstall_key, instdir_win, instdir and shortcut. A failed check ends the test.
_kestrel_installer_fail() {
    echo "FAILED: $*" >&2
    exit 1
}
_kestrel_installer_ok() { echo "ok: $*"; }

# _kestrel_expect_value KEY NAME TYPE DATA: the value NAME ("" for the default) of KEY
# is DATA.
_kestrel_expect_value() {
    local got
    got=$(_kestrel_reg_value "$1" "$2") || _kestrel_installer_fail "no value '${2:-(Default)}' in $1"
    [ "$got" = "$3"$'\t'"$4" ] ||
        _kestrel_installer_fail "$1 '${2:-(Default)}' is '${got/$'\t'/ }', expected '$3 $4'"
    _kestrel_installer_ok "$1 '${2:-(Default)}' = $3 $4"
}
_kestrel_expect_no_value() {
    local status=0
    _kestrel_reg_value "$1" "$2" >/dev/null || status=$?
    [ "$status" != 0 ] || _kestrel_installer_fail "$1 still has the value '${2:-(Default)}'"
    [ "$status" = 1 ] ||
        _kestrel_installer_fail "reg could not tell whether $1 has the value '${2:-(Default)}'"
    _kestrel_installer_ok "$1 has no value '${2:-(Default)}'"
}
_kestrel_expect_no_key() {
    local status=0
    _kestrel_reg_query "$1" >/dev/null || status=$?
    [ "$status" != 0 ] || _kestrel_installer_fail "the key $1 is still there"
    [ "$status" = 1 ] || _kestrel_installer_fail "reg could not tell whether the key $1 is there"
    _kestrel_installer_ok "no key $1"
}

_kestrel_run_installer() {
    _kestrel_wine "$setup" /S || _kestrel_installer_fail "the installer exited with status $?"
    wineserver -w
    _kestrel_installer_ok "the installer ran silently (/S)"
}

# With STAGE, the installation folder holds exactly its files, byte for byte, and the
# uninstaller; without, at least the editor and the uninstaller.
_kestrel_check_installed_files() {
    local name
    [ -f "$instdir/kestrel.exe" ] || _kestrel_installer_fail "no $instdir/kestrel.exe"
    [ -f "$instdir/uninstall.exe" ] || _kestrel_installer_fail "no $instdir/uninstall.exe"
    if [ -z "$stage" ]; then
        _kestrel_installer_ok "$instdir holds kestrel.exe and uninstall.exe"
        return 0
    fi
    diff <(cd "$stage" && find . -mindepth 1 ! -type d -printf '%P\n' | LC_ALL=C sort) \
        <(cd "$instdir" && find . -mindepth 1 ! -type d ! -path ./uninstall.exe -printf '%P\n' | LC_ALL=C sort) >&2 ||
        _kestrel_installer_fail "the files in $instdir differ from $stage (< only in STAGE, > only installed)"
    while IFS= read -r name; do
        cmp -s "$stage/$name" "$instdir/$name" || _kestrel_installer_fail "$instdir/$name differs from $stage/$name"
    done < <(cd "$stage" && find . -mindepth 1 ! -type d -printf '%P\n')
    _kestrel_installer_ok "$instdir holds exactly the files of $stage, and uninstall.exe"
}

# kestrel-cam runs from the installed folder and draws (with its platform plugins);
# the Start menu has the shortcut.
_kestrel_check_installed_programs() {
    local cam="$instdir_win\\kestrel-cam.exe"
    _kestrel_wine "$cam" --version >/dev/null || _kestrel_installer_fail "$cam --version exited with status $?"
    _kestrel_installer_ok "$cam --version runs"
    _kestrel_wine "$cam" new lotus -o 'C:\lotus.cam' --force &&
        _kestrel_wine "$cam" render 'C:\lotus.cam' -c nose -o 'C:\nose.png' --force ||
        _kestrel_installer_fail "kestrel-cam.exe render from $instdir_win failed"
    [ "$(head -c 8 "$WINEPREFIX/drive_c/nose.png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
        _kestrel_installer_fail "kestrel-cam.exe render from $instdir_win wrote no PNG"
    rm -f "$WINEPREFIX/drive_c/lotus.cam" "$WINEPREFIX/drive_c/nose.png"
    _kestrel_installer_ok "kestrel-cam.exe renders a picture from the installed folder"
    [ -f "$shortcut" ] || _kestrel_installer_fail "no Start menu shortcut $shortcut"
    _kestrel_installer_ok "the Start menu shortcut is there"
}

# _kestrel_check_installed_registry CAM_DEFAULT: the file type, the capabilities, the
# uninstall entry, and .cam's default value CAM_DEFAULT.
_kestrel_check_installed_registry() {
    _kestrel_expect_value "$classes\\$progid\\shell\\open\\command" "" REG_SZ "\"$instdir_win\\kestrel.exe\" \"%1\""
    _kestrel_expect_value "$classes\\$progid\\DefaultIcon" "" REG_SZ "\"$instdir_win\\kestrel.exe\",1"
    _kestrel_expect_value "$classes\\.cam\\OpenWithProgids" "$progid" REG_NONE ""
    _kestrel_expect_value 'HKLM\Software\RegisteredApplications' Kestrel REG_SZ 'Software\Kestrel\Capabilities'
    _kestrel_expect_value 'HKLM\Software\Kestrel\Capabilities\FileAssociations' .cam REG_SZ "$progid"
    _kestrel_expect_value "$uninstall_key" DisplayName REG_SZ Kestrel
    _kestrel_expect_value "$uninstall_key" QuietUninstallString REG_SZ "\"$instdir_win\\uninstall.exe\" /S"
    _kestrel_expect_value "$uninstall_key" InstallLocation REG_SZ "$instdir_win"
    _kestrel_expect_value "$classes\\.cam" "" REG_SZ "$1"
}

# Uninstalls as Apps & features does (the quiet uninstall command): the uninstaller
# copies itself to a temporary folder and starts the copy, which can then remove the
# uninstaller and the folder; wineserver -w waits for the copy to end.
_kestrel_run_uninstaller() {
    _kestrel_wine "$instdir_win\\uninstall.exe" /S || _kestrel_installer_fail "the uninstaller exited with status $?"
    wineserver -w
    _kestrel_installer_ok "the uninstaller ran silently (/S)"
}

_kestrel_check_uninstalled() {
    [ ! -e "$instdir" ] ||
        _kestrel_installer_fail "$instdir is still there: $(cd "$instdir" && find . -mindepth 1 | head -5 | tr '\n' ' ')"
    _kestrel_installer_ok "$instdir is gone"
    [ ! -e "$shortcut" ] || _kestrel_installer_fail "the Start menu shortcut is still there"
    _kestrel_installer_ok "the Start menu shortcut is gone"
    _kestrel_expect_no_key "$classes\\$progid"
    _kestrel_expect_no_key 'HKLM\Software\Kestrel'
    _kestrel_expect_no_key "$uninstall_key"
    _kestrel_expect_no_value 'HKLM\Software\RegisteredApplications' Kestrel
    _kestrel_expect_no_value "$classes\\.cam\\OpenWithProgids" "$progid"
}

_kestrel_installer_stage_new_prefix() {
    echo "== A new Wine prefix in $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    _kestrel_wine wineboot --init >/dev/null 2>&1 || _kestrel_installer_fail "wineboot --init exited with status $?"
    wineserver -w
    _kestrel_expect_no_key "$classes\\.cam"
}

# Where no program claims .cam, Kestrel takes it, also when installed twice (as an
# update does), and gives it back when uninstalled.
_kestrel_installer_stage_unclaimed() {
    echo "== Install where no program opens .cam files, then install again over it"
    local round
    for round in first second; do
        _kestrel_run_installer
        _kestrel_check_installed_files
        _kestrel_check_installed_programs
        _kestrel_check_installed_registry "$progid"
    done
    echo "== Uninstall"
    _kestrel_run_uninstaller
    _kestrel_check_uninstalled
    _kestrel_expect_no_key "$classes\\.cam"
}

# Where another program owns .cam, Kestrel is only offered, and the other program's
# values stay through the install and the uninstall.
_kestrel_installer_stage_claimed() {
    echo "== Install where another program owns .cam files"
    _kestrel_wine reg add "$classes\\.cam" /ve /d Other.File /f >/dev/null 2>&1 ||
        _kestrel_installer_fail "reg add could not set the default value of $classes\\.cam"
    _kestrel_wine reg add "$classes\\.cam\\OpenWithProgids" /v Other.File /t REG_NONE /f >/dev/null 2>&1 ||
        _kestrel_installer_fail "reg add could not add Other.File to $classes\\.cam\\OpenWithProgids"
    wineserver -w
    _kestrel_expect_value "$classes\\.cam" "" REG_SZ Other.File
    local other
    other=$(_kestrel_reg_value "$classes\\.cam\\OpenWithProgids" Other.File) ||
        _kestrel_installer_fail "reg add made no value Other.File in $classes\\.cam\\OpenWithProgids"
    _kestrel_run_installer
    _kestrel_check_installed_files
    _kestrel_check_installed_programs
    _kestrel_check_installed_registry Other.File
    _kestrel_expect_value "$classes\\.cam\\OpenWithProgids" Other.File "${other%%$'\t'*}" "${other#*$'\t'}"
    echo "== Uninstall"
    _kestrel_run_uninstaller
    _kestrel_check_uninstalled
    _kestrel_expect_value "$classes\\.cam" "" REG_SZ Other.File
    _kestrel_expect_value "$classes\\.cam\\OpenWithProgids" Other.File "${other%%$'\t'*}" "${other#*$'\t'}"
}

# kestrel_test_installer SETUP_EXE WINEPREFIX [STAGE]: installs and uninstalls SETUP_EXE
# silently in a new Wine prefix (WINEPREFIX must not exist yet or be empty) and checks
# the files, the shortcut and every registry value after each step: first where no
# program claims .cam files (and with a second install over the first, as an update
# does), then where another program already owns .cam. With STAGE, the installation
# folder must hold exactly STAGE's files (and the uninstaller), byte for byte. Prints
# one line per check and stops at the first that fails.
kestrel_test_installer() (
    set -euo pipefail
    local usage="kestrel_test_installer SETUP_EXE WINEPREFIX [STAGE]"
    local setup=${1:?$usage} stage=${3-}
    export WINEPREFIX=${2:?$usage}
    [[ $WINEPREFIX == /* ]] || WINEPREFIX=$PWD/$WINEPREFIX
    if ! command -v wine >/dev/null; then
        echo "kestrel_test_installer: wine not found (package wine)" >&2
        return 1
    fi
    if [ -e "$WINEPREFIX" ] && [ -n "$(ls -A "$WINEPREFIX")" ]; then
        echo "kestrel_test_installer: $WINEPREFIX is not empty; the test needs a new Wine prefix" >&2
        return 1
    fi
    setup=$(realpath "$setup")

    local progid=Kestrel.CameraFile
    local classes='HKLM\Software\Classes'
    local uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrel'
    local instdir_win='C:\Program Files\Kestrel'
    local instdir=$WINEPREFIX/drive_c/Program\ Files/Kestrel
    local shortcut=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Kestrel.lnk

    _kestrel_installer_stage_new_prefix
    _kestrel_installer_stage_unclaimed
    _kestrel_installer_stage_claimed
    echo "kestrel_test_installer: all checks passed"
)
