# shellcheck shell=bash
# Kestrel's Windows installer: checking its file lists, making it, and testing it
# under Wine. Meant to be sourced (by tools/windows); each function runs in a subshell
# of its own and returns non-zero with a message on standard error when it fails.
#
#   kestrel_check_installer_lists STAGE NSI
#   kestrel_make_installer STAGE VERSION OUTFILE [ICON]       (needs nsis)
#   kestrel_test_installer SETUP_EXE WINEPREFIX [STAGE]       (needs wine)
#
# STAGE is the folder of the files to install, laid out as in the installation folder.

kestrel_installer_source="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
kestrel_installer_nsi=$kestrel_installer_source/data/windows/kestrel.nsi

# Reads what the .nsi installs and removes, one item a line:
#   file REL         a File line: STAGE/REL is installed as INSTDIR\REL
#   made REL         a file the installer writes itself (WriteUninstaller)
#   delete REL       a Delete line for INSTDIR\REL
#   rmdir REL        an RMDir line for the folder INSTDIR\REL ("." for INSTDIR itself)
#   shortcut PATH    a CreateShortcut line
#   deleteother PATH a Delete line for a file outside INSTDIR
#   error TEXT       a line the lists cannot be read from
_kestrel_nsi_lists() {
    awk '
    function quoted(s) { return match(s, /"[^"]*"/) ? substr(s, RSTART + 1, RLENGTH - 2) : "" }
    function rel(path) {
        if (path == "$INSTDIR") return ""
        if (index(path, "$INSTDIR\\") != 1) return "-"
        path = substr(path, 10)
        gsub(/\\/, "/", path)
        return path
    }
    {
        line = $0
        sub(/^[ \t]+/, "", line)
        sub(/\r$/, "", line)
        if (line == "" || line ~ /^[;#]/) next
        command = tolower(line)
        sub(/[ \t].*/, "", command)
        rest = substr(line, length(command) + 1)
        sub(/^[ \t]+/, "", rest)
        where = FILENAME ":" FNR ": "
        if (command != "setoutpath" && command != "file" && command != "writeuninstaller" &&
            command != "delete" && command != "rmdir" && command != "createshortcut") next
        if (rest ~ /^\//) {
            print "error " where "an option on a " command " line (each file is named by itself, and folders are removed only when empty): " line
            next
        }
        if (rest !~ /^"[^"]*"/) {
            print "error " where "expected a quoted path after " command ": " line
            next
        }
        path = quoted(rest)
        if (command == "setoutpath") {
            out = rel(path)
            if (out == "-") print "error " where "SetOutPath outside $INSTDIR: " line
            else if (out != "") out = out "/"
        } else if (command == "file") {
            if (index(path, "${STAGE}/") != 1 || path ~ /[*?]/ || rest !~ /^"[^"]*"[ \t]*(;.*)?$/) {
                print "error " where "a File line names one file of ${STAGE} and nothing else: " line
                next
            }
            name = substr(path, 10)
            base = name
            sub(/.*\//, "", base)
            if (out == "-" || out base != name)
                print "error " where name " would be installed as " out base " (check the SetOutPath before it)"
            print "file " name
        } else if (command == "writeuninstaller") {
            if (rel(path) == "-" || rel(path) == "") print "error " where "uninstaller outside $INSTDIR: " line
            else print "made " rel(path)
        } else if (command == "delete") {
            if (path ~ /[*?]/ || rest !~ /^"[^"]*"[ \t]*(;.*)?$/) {
                print "error " where "a Delete line names one file and nothing else: " line
                next
            }
            if (rel(path) == "-") print "deleteother " path
            else print "delete " rel(path)
        } else if (command == "rmdir") {
            if (rel(path) != "-") print "rmdir " (rel(path) == "" ? "." : rel(path))
        } else if (command == "createshortcut") {
            print "shortcut " path
        }
    }' "$1"
}

# kestrel_check_installer_lists STAGE NSI: fails when a file of STAGE has no File line or
# no Delete line in NSI, when a File or Delete line names a file that is not in STAGE
# (or that the installer does not write itself), when a folder of the installation has
# no RMDir, or a shortcut no Delete. Lists every problem, each naming its file.
kestrel_check_installer_lists() (
    set -euo pipefail
    local stage=${1:?kestrel_check_installer_lists STAGE NSI} nsi=${2:?kestrel_check_installer_lists STAGE NSI}
    if ! [ -d "$stage" ]; then
        echo "kestrel_check_installer_lists: $stage is not a folder" >&2
        return 1
    fi
    if ! [ -f "$nsi" ]; then
        echo "kestrel_check_installer_lists: $nsi is not a file" >&2
        return 1
    fi
    local lists problems=() item
    lists=$(_kestrel_nsi_lists "$nsi")
    local -A staged=() files=() made=() deleted=() rmdirs=() deletedother=()
    local -a shortcuts=()
    while IFS= read -r item; do
        staged[$item]=1
    done < <(cd "$stage" && find . -mindepth 1 \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort)
    while IFS= read -r item; do
        case $item in
        "error "*) problems+=("${item#error }") ;;
        "file "*) files[${item#file }]=1 ;;
        "made "*) made[${item#made }]=1 ;;
        "delete "*) deleted[${item#delete }]=1 ;;
        "rmdir "*) rmdirs[${item#rmdir }]=1 ;;
        "shortcut "*) shortcuts+=("${item#shortcut }") ;;
        "deleteother "*) deletedother[${item#deleteother }]=1 ;;
        esac
    done <<<"$lists"

    local name folder
    for name in "${!staged[@]}"; do
        [ -n "${files[$name]+x}" ] || problems+=("$stage/$name has no File line in $nsi")
        [ -n "${deleted[$name]+x}" ] || problems+=("$stage/$name has no Delete line in $nsi")
    done
    for name in "${!files[@]}"; do
        [ -n "${staged[$name]+x}" ] || problems+=("$nsi has a File line for $name, which is not in $stage")
    done
    for name in "${!deleted[@]}"; do
        [ -n "${staged[$name]+x}" ] || [ -n "${made[$name]+x}" ] ||
            problems+=("$nsi has a Delete line for $name, which the installer does not install")
    done
    for name in "${!made[@]}"; do
        [ -n "${deleted[$name]+x}" ] || problems+=("$nsi writes $name but has no Delete line for it")
    done
    for name in "${!files[@]}" "${!made[@]}"; do
        folder=$(dirname "$name")
        while [ "$folder" != . ]; do
            [ -n "${rmdirs[$folder]+x}" ] || problems+=("$nsi installs into the folder $folder but has no RMDir for it")
            folder=$(dirname "$folder")
        done
    done
    [ -n "${rmdirs[.]+x}" ] || problems+=("$nsi has no RMDir for \$INSTDIR")
    for name in "${shortcuts[@]}"; do
        [ -n "${deletedother[$name]+x}" ] || problems+=("$nsi creates the shortcut $name but has no Delete line for it")
    done

    if [ ${#problems[@]} -gt 0 ]; then
        printf 'kestrel_check_installer_lists: %s\n' "${problems[@]}" | LC_ALL=C sort -u >&2
        return 1
    fi
    echo "kestrel_check_installer_lists: the ${#staged[@]} files of $stage each have a File and a Delete line in $nsi"
)

# kestrel_make_installer STAGE VERSION OUTFILE [ICON]: checks the lists, then makes the
# installer OUTFILE from data/windows/kestrel.nsi with makensis (package nsis). ICON, an
# .ico file, becomes the installer's and uninstaller's icon (NSIS's own otherwise).
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
    kestrel_check_installer_lists "$stage" "$kestrel_installer_nsi"
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
    local defines=(-DVERSION="$version" -DSTAGE="$(realpath "$stage")" -DOUTFILE="$(realpath -m "$outfile")"
        -DCOPYRIGHT="Copyright (C) $holders. All rights reserved.")
    [ -z "$icon" ] || defines+=(-DICON="$(realpath "$icon")")
    mkdir -p "$(dirname "$outfile")"
    makensis -WX -V2 "${defines[@]}" "$kestrel_installer_nsi"
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

    fail() {
        echo "FAILED: $*" >&2
        exit 1
    }
    ok() { echo "ok: $*"; }
    # expect_value KEY NAME TYPE DATA: the value NAME ("" for the default) of KEY is DATA.
    expect_value() {
        local got
        got=$(_kestrel_reg_value "$1" "$2") || fail "no value '${2:-(Default)}' in $1"
        [ "$got" = "$3"$'\t'"$4" ] || fail "$1 '${2:-(Default)}' is '${got/$'\t'/ }', expected '$3 $4'"
        ok "$1 '${2:-(Default)}' = $3 $4"
    }
    expect_no_value() {
        local status=0
        _kestrel_reg_value "$1" "$2" >/dev/null || status=$?
        [ "$status" != 0 ] || fail "$1 still has the value '${2:-(Default)}'"
        [ "$status" = 1 ] || fail "reg could not tell whether $1 has the value '${2:-(Default)}'"
        ok "$1 has no value '${2:-(Default)}'"
    }
    expect_no_key() {
        local status=0
        _kestrel_reg_query "$1" >/dev/null || status=$?
        [ "$status" != 0 ] || fail "the key $1 is still there"
        [ "$status" = 1 ] || fail "reg could not tell whether the key $1 is there"
        ok "no key $1"
    }
    run_installer() {
        _kestrel_wine "$setup" /S || fail "the installer exited with status $?"
        wineserver -w
        ok "the installer ran silently (/S)"
    }
    check_installed() {
        local cam_default=$1 name
        [ -f "$instdir/kestrel.exe" ] || fail "no $instdir/kestrel.exe"
        [ -f "$instdir/uninstall.exe" ] || fail "no $instdir/uninstall.exe"
        if [ -n "$stage" ]; then
            diff <(cd "$stage" && find . -mindepth 1 ! -type d -printf '%P\n' | LC_ALL=C sort) \
                <(cd "$instdir" && find . -mindepth 1 ! -type d ! -path ./uninstall.exe -printf '%P\n' | LC_ALL=C sort) >&2 ||
                fail "the files in $instdir differ from $stage (< only in STAGE, > only installed)"
            while IFS= read -r name; do
                cmp -s "$stage/$name" "$instdir/$name" || fail "$instdir/$name differs from $stage/$name"
            done < <(cd "$stage" && find . -mindepth 1 ! -type d -printf '%P\n')
            ok "$instdir holds exactly the files of $stage, and uninstall.exe"
        else
            ok "$instdir holds kestrel.exe and uninstall.exe"
        fi
        _kestrel_wine "$instdir_win\\kestrel-cam.exe" --version >/dev/null ||
            fail "$instdir_win\\kestrel-cam.exe --version exited with status $?"
        ok "$instdir_win\\kestrel-cam.exe --version runs"
        # render needs the platform plugins of the installed folder.
        _kestrel_wine "$instdir_win\\kestrel-cam.exe" new lotus -o 'C:\lotus.cam' --force &&
            _kestrel_wine "$instdir_win\\kestrel-cam.exe" render 'C:\lotus.cam' -c nose -o 'C:\nose.png' --force ||
            fail "kestrel-cam.exe render from $instdir_win failed"
        [ "$(head -c 8 "$WINEPREFIX/drive_c/nose.png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
            fail "kestrel-cam.exe render from $instdir_win wrote no PNG"
        rm -f "$WINEPREFIX/drive_c/lotus.cam" "$WINEPREFIX/drive_c/nose.png"
        ok "kestrel-cam.exe renders a picture from the installed folder"
        [ -f "$shortcut" ] || fail "no Start menu shortcut $shortcut"
        ok "the Start menu shortcut is there"
        expect_value "$classes\\$progid\\shell\\open\\command" "" REG_SZ "\"$instdir_win\\kestrel.exe\" \"%1\""
        expect_value "$classes\\$progid\\DefaultIcon" "" REG_SZ "\"$instdir_win\\kestrel.exe\",1"
        expect_value "$classes\\.cam\\OpenWithProgids" "$progid" REG_NONE ""
        expect_value 'HKLM\Software\RegisteredApplications' Kestrel REG_SZ 'Software\Kestrel\Capabilities'
        expect_value 'HKLM\Software\Kestrel\Capabilities\FileAssociations' .cam REG_SZ "$progid"
        expect_value "$uninstall_key" DisplayName REG_SZ Kestrel
        expect_value "$uninstall_key" QuietUninstallString REG_SZ "\"$instdir_win\\uninstall.exe\" /S"
        expect_value "$uninstall_key" InstallLocation REG_SZ "$instdir_win"
        expect_value "$classes\\.cam" "" REG_SZ "$cam_default"
    }
    # Uninstalls as Apps & features does (the quiet uninstall command): the uninstaller
    # copies itself to a temporary folder and starts the copy, which can then remove the
    # uninstaller and the folder; wineserver -w waits for the copy to end.
    run_uninstaller() {
        _kestrel_wine "$instdir_win\\uninstall.exe" /S || fail "the uninstaller exited with status $?"
        wineserver -w
        ok "the uninstaller ran silently (/S)"
    }
    check_uninstalled() {
        [ ! -e "$instdir" ] || fail "$instdir is still there: $(cd "$instdir" && find . -mindepth 1 | head -5 | tr '\n' ' ')"
        ok "$instdir is gone"
        [ ! -e "$shortcut" ] || fail "the Start menu shortcut is still there"
        ok "the Start menu shortcut is gone"
        expect_no_key "$classes\\$progid"
        expect_no_key 'HKLM\Software\Kestrel'
        expect_no_key "$uninstall_key"
        expect_no_value 'HKLM\Software\RegisteredApplications' Kestrel
        expect_no_value "$classes\\.cam\\OpenWithProgids" "$progid"
    }

    echo "== A new Wine prefix in $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    _kestrel_wine wineboot --init >/dev/null 2>&1 || fail "wineboot --init exited with status $?"
    wineserver -w
    expect_no_key "$classes\\.cam"

    echo "== Install where no program opens .cam files, then install again over it"
    run_installer
    check_installed "$progid"
    run_installer
    check_installed "$progid"
    echo "== Uninstall"
    run_uninstaller
    check_uninstalled
    expect_no_key "$classes\\.cam"

    echo "== Install where another program owns .cam files"
    _kestrel_wine reg add "$classes\\.cam" /ve /d Other.File /f >/dev/null 2>&1 ||
        fail "reg add could not set the default value of $classes\\.cam"
    _kestrel_wine reg add "$classes\\.cam\\OpenWithProgids" /v Other.File /t REG_NONE /f >/dev/null 2>&1 ||
        fail "reg add could not add Other.File to $classes\\.cam\\OpenWithProgids"
    wineserver -w
    expect_value "$classes\\.cam" "" REG_SZ Other.File
    local other
    other=$(_kestrel_reg_value "$classes\\.cam\\OpenWithProgids" Other.File) ||
        fail "reg add made no value Other.File in $classes\\.cam\\OpenWithProgids"
    run_installer
    check_installed Other.File
    expect_value "$classes\\.cam\\OpenWithProgids" Other.File "${other%%$'\t'*}" "${other#*$'\t'}"
    echo "== Uninstall"
    run_uninstaller
    check_uninstalled
    expect_value "$classes\\.cam" "" REG_SZ Other.File
    expect_value "$classes\\.cam\\OpenWithProgids" Other.File "${other%%$'\t'*}" "${other#*$'\t'}"
    echo "kestrel_test_installer: all checks passed"
)
