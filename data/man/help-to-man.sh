#!/bin/sh
# Writes the manual page of a command-line program from what it prints for --help:
#
#   sh help-to-man.sh PROGRAM NAME VERSION DESCRIPTION OUTPUT [COMMAND...]
#
# The "Usage:" lines become the synopsis and every other line is kept as printed,
# in a block that is not refilled, so the page never says more or less than the
# program does. Each COMMAND of a program with sub-commands gets a section of its
# own from "PROGRAM COMMAND --help". Fails, writing nothing, when the program fails
# or prints no usage.
set -eu
if [ $# -lt 5 ]; then
    echo "usage: help-to-man.sh PROGRAM NAME VERSION DESCRIPTION OUTPUT [COMMAND...]" >&2
    exit 2
fi
program=$1 name=$2 version=$3 description=$4 output=$5
shift 5

help=$("$program" --help)

# Text into roff: backslashes and minus signs escaped, a leading dot or quote made
# literal, an empty line kept empty.
roff() {
    sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^[.']/\\\\\\&&/"
}

# A program that names itself by the path it was started with (as Qt's command-line
# parser does) is named by its plain name.
usage_of() {
    printf '%s\n' "$1" | sed -n 's/^[Uu]sage: *//p' | while IFS= read -r line; do
        case "$line" in
        "$program"*) printf '%s%s\n' "$name" "${line#"$program"}" ;;
        *) printf '%s\n' "$line" ;;
        esac
    done
}
# Everything but the usage lines, from the first line with text on.
rest_of() {
    printf '%s\n' "$1" | sed -e '/^[Uu]sage:/d' | sed -e '/./,$!d'
}
usage=$(usage_of "$help")
rest=$(rest_of "$help")
if [ -z "$usage" ]; then
    echo "help-to-man.sh: $program --help prints no \"Usage:\" line" >&2
    exit 1
fi

upper=$(printf '%s' "$name" | tr '[:lower:]' '[:upper:]' | roff)
{
    printf '.TH %s 1 "" "Kestrel %s" "User Commands"\n' "$upper" "$version"
    printf '.SH NAME\n%s \\- %s\n' "$(printf '%s' "$name" | roff)" "$(printf '%s' "$description" | roff)"
    printf '.SH SYNOPSIS\n.nf\n%s\n.fi\n' "$(printf '%s\n' "$usage" | roff)"
    if [ -n "$rest" ]; then
        printf '.SH DESCRIPTION\n.nf\n%s\n.fi\n' "$(printf '%s\n' "$rest" | roff)"
    fi
    if [ $# -gt 0 ]; then
        printf '.SH COMMANDS\n'
    fi
    for command in "$@"; do
        command_help=$("$program" "$command" --help)
        command_usage=$(usage_of "$command_help")
        if [ -z "$command_usage" ]; then
            echo "help-to-man.sh: $program $command --help prints no \"Usage:\" line" >&2
            exit 1
        fi
        printf '.SS %s\n.nf\n.B %s\n%s\n.fi\n' "$(printf '%s' "$command" | roff)" \
            "$(printf '%s\n' "$command_usage" | roff)" "$(rest_of "$command_help" | roff)"
    done
    printf '.SH "SEE ALSO"\n.BR kestrel (1)\n'
} > "$output.tmp"
mv "$output.tmp" "$output"
