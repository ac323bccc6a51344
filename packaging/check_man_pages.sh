#!/usr/bin/env bash
# Checks the manual pages against their programs: each page formats without a warning, and its
# list of switches (vxlconf), options (vxlsim) or commands and options (vxlfw) holds exactly what
# the program takes, so that a switch added or dropped in a program shows here.
#
# usage: check_man_pages.sh MAN_DIR VXLCONF VXLSIM VXLFW SWITCH_DOCS
# SWITCH_DOCS is the tool that prints vxlconf's table of switches ("list": one a line, as
# "port N" or "help --help -h").
set -euo pipefail
man_dir=$1 vxlconf=$2 vxlsim=$3 vxlfw=$4 switch_docs=$5
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Formatting: groff's warnings and those of man as Debian's package checker runs it.
for page in "$man_dir"/vxlconf.1 "$man_dir"/vxlsim.1 "$man_dir"/vxlfw.1; do
    warnings=$(groff -ww -man -Tutf8 -z "$page" 2>&1)
    warnings+=$(echo; LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "${warnings//$'\n'/}" ] || fail "$(basename "$page") does not format cleanly:"$'\n'"$warnings"
done

# The words a page describes in the given sections: the tags of its .TP entries
# (".BI port \" N\"" gives "port"; ".BR help \", \" \-\-help" gives "help" and "--help").
page_entries() {
    local page=$1 sections=$2
    awk -v sections="|$sections|" '
        /^\.SH / { name = $0; sub(/^\.SH +/, "", name); gsub(/"/, "", name)
                   inside = index(sections, "|" name "|") > 0; next }
        inside && /^\.TP/ { getline tag; print tag }' "$page" |
        sed -E 's/^\.[A-Z]+ +//; s/\\-/-/g; s/"[^"]*[ ][^"]*"//g; s/[",]/ /g' |
        tr ' ' '\n' | grep -E '^-{0,2}[a-z][a-z-]*$' | sort -u
}

# Compares two word lists; the third argument names the page, the fourth the program's side.
compare() {
    local described=$1 taken=$2 page=$3 program=$4 word
    for word in $taken; do
        grep -qx -- "$word" <<<"$described" || fail "$page lacks '$word', which $program takes"
    done
    for word in $described; do
        grep -qx -- "$word" <<<"$taken" || fail "$page describes '$word', which $program does not take"
    done
}

# vxlconf: each switch of its table is described with its value ('.BI port " N"'), and 'vxlconf
# help' (made from the same table) lists it.
table=$("$switch_docs" list | sort)
[ -n "$table" ] || fail "the table of switches is empty"
described=$(awk '/^\.SH / { inside = ($0 ~ /^\.SH +"?SWITCHES"?$/); next }
                 inside && /^\.TP/ { getline tag; print tag }' "$man_dir/vxlconf.1" |
    sed -E 's/^\.[A-Z]+ +//; s/\\-/-/g; s/[",]/ /g; s/ +/ /g; s/^ //; s/ $//' | sort)
while read -r line; do
    grep -qxF -- "$line" <<<"$described" || fail "vxlconf.1 lacks the switch '$line'"
done <<<"$table"
while read -r line; do
    grep -qxF -- "$line" <<<"$table" || fail "vxlconf.1 describes '$line', which vxlconf does not take"
done <<<"$described"
help=$("$vxlconf" help)
while read -r line; do
    grep -qE -- "^  ${line%% *}[ ,]" <<<"$help" || fail "'vxlconf help' does not list '${line%% *}'"
done <<<"$table"

# vxlsim: the options of its --help.
compare "$(page_entries "$man_dir/vxlsim.1" OPTIONS)" \
    "$("$vxlsim" --help | grep -oE '^  --[a-z-]+' | tr -d ' ' | sort -u)" vxlsim.1 "'vxlsim --help'"

# vxlfw: the commands of its usage lines and the options its help names, and help itself.
fw_help=$("$vxlfw" --help)
compare "$(page_entries "$man_dir/vxlfw.1" "COMMANDS|OPTIONS")" \
    "$({ grep -oE 'vxlfw [a-z]+' <<<"$fw_help" | cut -d' ' -f2
         grep -oE -- '--[a-z][a-z-]+' <<<"$fw_help"
         printf '%s\n' help --help -h; } | sort -u)" vxlfw.1 "'vxlfw --help'"

[ "$failures" -eq 0 ] || { echo "$failures problem(s) in the manual pages"; exit 1; }
echo "manual pages: formatted cleanly, every switch, option and command described"
