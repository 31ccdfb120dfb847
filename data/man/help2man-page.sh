#!/bin/sh
# Writes the manual page of a command-line program with help2man, from what the
# program prints for --help and --version, and gives each COMMAND a section of its
# own, made from what "PROGRAM COMMAND --help" prints (by default each command the
# program's help lists under "Commands:"):
#
#   sh help2man-page.sh PROGRAM NAME DESCRIPTION OUTPUT [COMMAND...]
#
# The help texts are turned into filled roff: the lines of a paragraph are joined
# and refilled to the reader's width, "Usage:" lines become the synopsis, lists of
# options and arguments (a name, two spaces, its description) become tagged
# paragraphs, and a line that starts with a label ("Exit status: ...") starts a
# paragraph of its own in a command's section, a line of its own in the program's
# description ("Cameras: ..."). The page's date comes from
# SOURCE_DATE_EPOCH when it is set, so that a rebuild gives the same page. Fails,
# writing nothing, when the program fails or a command prints no usage.
set -eu
if [ $# -lt 4 ]; then
    echo "usage: help2man-page.sh PROGRAM NAME DESCRIPTION OUTPUT [COMMAND...]" >&2
    exit 2
fi
program=$1 name=$2 description=$3 output=$4
shift 4

# Without COMMANDs, the commands are those the program's help lists under "Commands:".
if [ $# -eq 0 ]; then
    set -- $("$program" --help | sed -n '/^Commands:$/,/^$/s/^  *\([^ ][^ ]*\).*/\1/p')
fi

include="$output.include"
trap 'rm -f "$include" "$output.tmp"' EXIT

# One command's help text as roff. Text is escaped (backslash, minus, a leading
# dot or quote); in a synopsis or a list's tag, options are bold and placeholders
# (FILE, CAMERA.FIELD=VALUE, <OUT>) italic.
command_to_roff='
function esc(s) {
    gsub(/\\/, "\\e", s)
    gsub(/-/, "\\-", s)
    if (s ~ /^[.\047]/) s = "\\&" s
    return s
}
function word(w,   lead, core, trail) {
    lead = w; sub(/[^[(].*$/, "", lead)
    core = substr(w, length(lead) + 1)
    trail = core; sub(/^.*[^]),.]/, "", trail)
    if (trail == core) trail = ""
    core = substr(core, 1, length(core) - length(trail))
    if (core ~ /^-/) core = "\\fB" esc(core) "\\fR"
    else if (core ~ /^(<.*>|[A-Z][A-Z0-9._=]*|options)$/) core = "\\fI" esc(core) "\\fR"
    else core = esc(core)
    return esc(lead) core esc(trail)
}
function words(s,   n, i, part, out) {
    n = split(s, part, " ")
    for (i = 1; i <= n; i++) out = out (i > 1 ? " " : "") word(part[i])
    return out
}
# state: "" between paragraphs, "text" in one, "item" in a list item.
function paragraph() { if (state != "text") print ".PP"; state = "text" }
NR == 1 && synopsis {
    sub(/^[Uu]sage: *[^ ]* +[^ ]+ */, "")
    printf ".br\n\\fB%s %s\\fR %s\n", esc(name), command, words($0)
    exit
}
NR == 1 {
    sub(/^[Uu]sage: *[^ ]* +[^ ]+ */, "")
    printf ".SS %s\n.PP\n\\fB%s %s\\fR %s\n", command, esc(name), command, words($0)
    next
}
/^[ \t]*$/ { state = ""; next }
NR == 2 { print ".PP"; print esc($0); state = ""; next }
/^[A-Za-z][A-Za-z ]*:$/ { print ".PP"; print "\\fI" esc($0) "\\fR"; state = "heading"; next }
/^ / {
    indent = match($0, /[^ ]/) - 1
    text = substr($0, indent + 1)
    if (state == "item" && indent > item_indent) { print esc(text); next }
    if (match(text, /   */)) {
        print ".TP"
        print words(substr(text, 1, RSTART - 1))
        text = substr(text, RSTART + RLENGTH)
    } else if (state != "text") {
        print ".TP"
        print words(text)
        text = ""
    }
    if (text != "") print esc(text)
    state = "item"; item_indent = indent
    next
}
{
    if (state == "item" || state == "heading") state = ""
    if ($0 ~ /^[A-Z][A-Za-z ]*: /) state = ""
    paragraph()
    print esc($0)
}
'

{
    # Filled without hyphens (file names and JSON keys stay whole), ragged right.
    printf '[SYNOPSIS]\n.nh\n.ad l\n'
    printf '\\fB%s\\fR [\\fIoptions\\fR] \\fICOMMAND\\fR ...\n' "$(printf '%s' "$name" | sed 's/-/\\-/g')"
    for command in "$@"; do
        "$program" "$command" --help |
            awk -v name="$name" -v command="$command" -v synopsis=1 "$command_to_roff"
    done
    if [ $# -gt 0 ]; then
        printf '[COMMANDS]\n'
    fi
    for command in "$@"; do
        help=$("$program" "$command" --help)
        case "$help" in
        [Uu]sage:*) ;;
        *)
            echo "help2man-page.sh: $program $command --help prints no \"Usage:\" line" >&2
            exit 1
            ;;
        esac
        printf '%s\n' "$help" | awk -v name="$name" -v command="$command" "$command_to_roff"
    done
    printf '[SEE ALSO]\n.BR kestrel (1)\n'
} >"$include"

help2man --no-info --section 1 --name "$description" --include "$include" \
    --output "$output.tmp" "$program"
# A line of the program's own description that starts with a label starts a line.
awk '/^[A-Z][A-Za-z ]*: / && previous !~ /^\./ && previous != "" { print ".br" }
     { print; previous = $0 }' "$output.tmp" >"$output.tmp2"
mv "$output.tmp2" "$output"
