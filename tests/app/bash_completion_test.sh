#!/usr/bin/env bash
# vxlconf's bash completion: it registers itself; it completes switch words typed in any letter
# case, files by extension after upgrade, import, restore and loadprofile, any file after the
# other file switches, paths after device, nothing after port; a value after '=' both as bash
# splits it and as one word.
# usage: bash_completion_test.sh COMPLETION_SCRIPT
set -u
script=$(realpath "$1")
registered=$(bash -c "source '$script' && complete -p vxlconf")
[ "$registered" = "complete -F _vxlconf vxlconf" ] ||
    { echo "FAIL: sourcing $script registers: '$registered'"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" && mkdir sub && touch a.fw B.FW 'with blank.fw' notes.txt t.upg p.ini b.img sub/m0
# shellcheck source=/dev/null
source "$script"
failures=0
# check EXPECTED WORD...: completing the last word of "vxlconf WORD..." offers EXPECTED (the
# offers sorted, separated by '|').
check() {
    local expected=$1 got
    shift
    COMP_WORDS=(vxlconf "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    _vxlconf
    got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort -u | paste -sd'|')
    [ "$got" = "$expected" ] || {
        echo "FAIL: vxlconf $*<TAB> offers '$got', not '$expected'"
        failures=$((failures + 1))
    }
}
check 'saveprofile|softbreak|stealth' s
check 'device' DEV
check '--help|--version|-h' -
check 'B.FW|a.fw|sub|with blank.fw' upgrade ''
check 'B.FW|a.fw|sub|with blank.fw' UPGRADE =
check 'p.ini|sub' LoadProfile ''
check 'notes.txt' stealth n
check 'sub/m0' device sub/m
check '' port ''
check 'upgrade=B.FW|upgrade=a.fw|upgrade=sub|upgrade=with blank.fw' upgrade=
[ "$failures" -eq 0 ] || exit 1
echo "bash completion: $script completes switches and their values"
