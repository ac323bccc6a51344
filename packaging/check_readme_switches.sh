#!/usr/bin/env bash
# The README's table of vxlconf's switches is the one made from the program's table; on a
# difference it shows what the table makes now.
# usage: check_readme_switches.sh README.md SWITCH_DOCS
set -euo pipefail
readme=$1 switch_docs=$2
start='<!-- switch table: made by vxl_switch_docs readme -->'
in_readme=$(sed -n "\|^$start\$|,\|^<!-- end of switch table -->\$|p" "$readme" | sed '1d;$d')
made=$("$switch_docs" readme)
if [ "$in_readme" != "$made" ]; then
    echo "FAIL: the switch table in $readme differs from the program's; it should read:"
    echo "$made"
    exit 1
fi
echo "README: the table of switches matches the program's"
