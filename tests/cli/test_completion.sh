#!/usr/bin/env bash
# kestrel-cam's bash completion, through bash: the completion function is run as
# bash runs it on <Tab> (COMP_WORDS split at "=" as bash splits them, COMP_CWORD,
# COMP_LINE, COMP_POINT) and COMPREPLY is compared with what a user must be offered.
# Then it is held against the built program: every command that "kestrel-cam --help"
# lists, every option that "kestrel-cam COMMAND --help" lists and the cameras, fields
# and makes the help names must be completed, so a new option or name that the
# completion does not know fails here.
#
#   bash test_completion.sh KESTREL_CAM COMPLETION_SCRIPT
set -u
program=$(realpath "$1")
script=$2

datadir=$(pkg-config --variable=datadir bash-completion 2>/dev/null) || datadir=/usr/share
if [[ ! -f $datadir/bash-completion/bash_completion ]]; then
    echo "bash-completion is not installed (tools/setup-deps.sh installs it)" >&2
    exit 1
fi
source "$datadir/bash-completion/bash_completion"
source "$script"

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# compopt works only while bash completes; here it records what was asked.
compopt() { compopt_options+=" $*"; }

# complete LINE: runs the completion with the cursor at the end of LINE.
complete_line() {
    local line=$1 word
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMP_WORDS=()
    for word in $line; do
        while [[ $word == *=* ]]; do
            [[ -n ${word%%=*} ]] && COMP_WORDS+=("${word%%=*}")
            COMP_WORDS+=("=")
            word=${word#*=}
        done
        [[ -n $word ]] && COMP_WORDS+=("$word")
    done
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    compopt_options=""
    _kestrel_cam kestrel-cam "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
}

sorted() { printf '%s\n' "$@" | sort | tr '\n' ' '; }

# expect LINE WORD...: completing LINE offers exactly WORD... (none when none given).
expect() {
    local line=$1
    shift
    complete_line "$line"
    local got want
    got=$(sorted ${COMPREPLY[@]+"${COMPREPLY[@]}"})
    want=$(sorted "$@")
    [[ $got == "$want" ]] || fail "'$line<Tab>' offers [ $got] instead of [ $want]"
}

# expect_offered LINE WORD...: completing LINE offers at least WORD...
expect_offered() {
    local line=$1 word missing=()
    shift
    complete_line "$line"
    for word in "$@"; do
        [[ " ${COMPREPLY[*]-} " == *" $word "* ]] || missing+=("$word")
    done
    ((${#missing[@]} == 0)) ||
        fail "'$line<Tab>' does not offer ${missing[*]} (offers: ${COMPREPLY[*]-nothing})"
}

expect_nospace() {
    [[ $compopt_options == *nospace* ]] || fail "'$COMP_LINE<Tab>' would add a space"
}

cd "$(mktemp -d)" || exit 1
trap 'rm -rf "$PWD"' EXIT
mkdir folder
touch lotus.cam FERRARI.CAM doc.json shot.png notes.txt

echo "== Completion of representative command lines"
expect "kestrel-cam " show check diff export import new set copy render
expect "kestrel-cam s" show set
expect "kestrel-cam --v" --version
expect "kestrel-cam show -" -c --camera --exact -h --help
expect "kestrel-cam check -" -h --help
expect "kestrel-cam copy a.cam nose b.cam -" --to -q --quiet -h --help
# Files by kind; folders always, to reach files in them.
expect "kestrel-cam show " lotus.cam FERRARI.CAM folder
expect "kestrel-cam diff lotus.cam " lotus.cam FERRARI.CAM folder
expect "kestrel-cam import " doc.json folder
expect "kestrel-cam import doc.json -o " lotus.cam FERRARI.CAM folder
expect "kestrel-cam export lotus.cam -o " lotus.cam FERRARI.CAM doc.json shot.png notes.txt folder
expect "kestrel-cam render lotus.cam --output " shot.png folder
expect "kestrel-cam render lotus.cam --scale "
# Cameras, with "all" where a command takes it; any case.
expect "kestrel-cam show lotus.cam -c " all nose gearbox zeppelin rollbar frontsusp rearsusp
expect "kestrel-cam show lotus.cam --camera=ze" zeppelin
expect "kestrel-cam render lotus.cam -c " nose gearbox zeppelin rollbar frontsusp rearsusp
expect "kestrel-cam render lotus.cam -c R" rollbar rearsusp
expect "kestrel-cam copy lotus.cam " all nose gearbox zeppelin rollbar frontsusp rearsusp
expect "kestrel-cam copy -q lotus.cam g" gearbox
expect "kestrel-cam copy lotus.cam nose " lotus.cam FERRARI.CAM folder
expect "kestrel-cam copy lotus.cam nose x.cam --to " nose gearbox zeppelin rollbar frontsusp rearsusp
# Makes, once.
expect "kestrel-cam new " Brabham BRM Coventry Eagle Ferrari Lotus Murasama
expect "kestrel-cam new br" Brabham BRM
expect "kestrel-cam new Lotus "
# set: files first, then CAMERA. and CAMERA.FIELD=, the value left to the user.
expect "kestrel-cam set " lotus.cam FERRARI.CAM folder
expect "kestrel-cam set -o x.cam lotus.cam n" nose.
expect_nospace
expect "kestrel-cam set lotus.cam a" all.
expect "kestrel-cam set lotus.cam nose.zo" nose.zoom=
expect_nospace
expect "kestrel-cam set lotus.cam nose.z" nose.z= nose.zoom=
expect "kestrel-cam set lotus.cam Nose.Y" Nose.y= Nose.yaw1= Nose.yaw2=
expect "kestrel-cam set lotus.cam all." all.x= all.y= all.z= all.yaw1= all.pitch1= all.bank= \
    all.zoom= all.yaw2= all.pitch2=
expect "kestrel-cam set lotus.cam nose.zoom="
expect "kestrel-cam set lotus.cam nose.zoom=7"
expect "kestrel-cam set lotus.cam nose.zoom=70 f" frontsusp.
expect "kestrel-cam set lotus.cam -- " all. nose. gearbox. zeppelin. rollbar. frontsusp. rearsusp.
expect "kestrel-cam set lotus.cam -- -"

echo "== Completion against $program"
help=$("$program" --help) || fail "kestrel-cam --help failed"

# The lines of a help text's section ("Options:", "Commands:"), up to an empty line.
section() { printf '%s\n' "$1" | sed -n "/^$2:\$/,/^\$/{/^ /p}"; }

commands=$(section "$help" Commands | awk '{ print $1 }')
[[ -n $commands ]] || fail "kestrel-cam --help lists no commands under \"Commands:\""
expect_offered "kestrel-cam " $commands

# Options: each -x and --long before the column of descriptions.
options_of() { section "$1" Options | sed -E 's/^ +//; s/  .*//' | grep -oE -- '--?[[:alnum:]][[:alnum:]-]*'; }
expect_offered "kestrel-cam -" $(options_of "$help")
for command in $commands; do
    command_help=$("$program" "$command" --help) || fail "kestrel-cam $command --help failed"
    options=$(options_of "$command_help")
    [[ -n $options ]] || fail "kestrel-cam $command --help lists no options"
    expect_offered "kestrel-cam $command -" $options
done

# "Cameras: nose, ..., or 0-5." and the like: the names in the line, without the
# words in brackets and the digits.
names() {
    printf '%s\n' "$help" | sed -n "s/^$1: //p" | sed -E 's/\([^)]*\)//g; s/\.$//; s/(^|, )or /, /g' |
        tr ',' '\n' | tr -d ' ' | grep -E '^[[:alpha:]][[:alnum:]]*$'
}
cameras=$(names Cameras)
fields=$(names Fields)
makes=$(names Makes)
[[ -n $cameras && -n $fields && -n $makes ]] ||
    fail "kestrel-cam --help does not name the cameras, fields and makes (\"Cameras: ...\" lines)"
expect_offered "kestrel-cam show lotus.cam -c " $cameras
expect_offered "kestrel-cam copy lotus.cam " $cameras
expect_offered "kestrel-cam new " $makes
for camera in $cameras; do
    expect_offered "kestrel-cam set lotus.cam $camera." $(printf "$camera.%s= " $fields)
done

if ((failures)); then
    echo "$failures completion check(s) failed" >&2
    exit 1
fi
echo "All completion checks passed"
