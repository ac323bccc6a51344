#!/usr/bin/env bash
# Checks the Debian package as a user meets it: lintian accepts it (no error, no warning);
# unpacked into a scratch root, the programs run from there without help (no library path, no
# stored settings, a working folder without data files), vxlconf exports a simulated modem's
# settings through the installed vxlsim (to a path with blanks, capitals and '=', written there
# and nowhere else), its bash completion works, vxlfw checks an upgrade file, the installed
# desktop entry and metadata pass their validators and the manual pages open with man; and the
# desktop
# entry's command opens the main window under a virtual X server, which finds the installed
# definitions file beside the program.
#
# usage: check_package.sh PACKAGE.deb
set -euo pipefail
if [ "${1:-}" = "--window" ]; then
    window_stage=1
    shift
fi
deb=$(realpath "$1")
script=$(realpath "$0")

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# Runs a command, showing its output only when it fails.
quietly() {
    local output
    output=$("$@" 2>&1) || { echo "$output" >&2; fail "$*"; }
}

if [ -z "${window_stage:-}" ]; then
    work=$(realpath "$(mktemp -d)")
    sim=""
    trap '[ -n "$sim" ] && kill "$sim" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
    root="$work/root"
    bin="$root/usr/bin"
    echo "-- lintian"
    lintian --fail-on error,warning "$deb" >"$work/lintian.out" 2>&1 || {
        cat "$work/lintian.out"
        fail "lintian finds errors or warnings in $deb"
    }

    echo "-- unpacked into a scratch root"
    dpkg -x "$deb" "$root"
    for file in usr/bin/vxlconf usr/bin/vxlsim usr/bin/vxlfw usr/share/vxlconf/vxlconf.ini \
        usr/share/vxlconf/vxllogo.svg usr/share/vxlconf/help/index.html \
        usr/share/icons/hicolor/scalable/apps/vxlconf.svg usr/share/doc/vxlconf/copyright \
        usr/share/bash-completion/completions/vxlconf; do
        [ -e "$root/$file" ] || fail "the package lacks /$file"
    done
    for side in 16 32 48 64 128 256; do
        icon="$root/usr/share/icons/hicolor/${side}x${side}/apps/vxlconf.png"
        # A PNG file gives its width and height as two 32-bit numbers from byte 16 on.
        [ "$(od -An -tx1 -j16 -N8 "$icon" | tr -d ' \n')" = "$(printf '%08x%08x' "$side" "$side")" ] ||
            fail "$icon is not a $side x $side picture"
    done
    quietly desktop-file-validate "$root"/usr/share/applications/*.desktop
    quietly appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
    man -l "$root/usr/share/man/man1/vxlconf.1.gz" 2>/dev/null | grep -q "stealth NAME" ||
        fail "man vxlconf does not show the switches"

    # Nothing but the installed files: no stored settings, a working folder without data.
    export XDG_CONFIG_HOME="$work/config"
    unset LD_LIBRARY_PATH QT_PLUGIN_PATH
    mkdir -p "$work/run" && cd "$work/run"

    echo "-- vxlconf dbgargs, help and ports"
    "$bin/vxlconf" dbgargs port=3 softbreak help >help.out 2>dbgargs.out ||
        fail "vxlconf dbgargs ... help exits with status $?"
    grep -qx ' \[dbgargs\] \[port\] \[3\] \[softbreak\] \[help\]' dbgargs.out ||
        fail "vxlconf dbgargs echoes: $(cat dbgargs.out)"
    grep -q '^  stealth NAME' help.out || fail "vxlconf help lists no switches"
    "$bin/vxlconf" ports >ports.out 2>&1 || fail "vxlconf ports exits with status $?"
    [ -s ports.out ] || fail "vxlconf ports says nothing"

    echo "-- vxlfw pack and check"
    { printf '\0\0\043\005'; head -c 252 /dev/zero; } >fw.bin
    printf '\220\0' >vector.bin
    srec_cat fw.bin -binary -offset 0x8400 vector.bin -binary -offset 0xFFFE -o fw.s19 \
        -motorola -address-length=2 -crlf -disable=data-count -execution-start-address=0x9000
    quietly "$bin/vxlfw" pack fw.s19 fw.fw
    "$bin/vxlfw" check fw.fw >check.out 2>&1 || fail "vxlfw check: $(cat check.out)"
    grep -q "firmware revision 3.55" check.out || fail "vxlfw check says: $(cat check.out)"

    echo "-- stealth export from the installed vxlsim"
    "$bin/vxlsim" --no-line-timing --operator-power-cycle 0 --link "$work/modem" >sim.out 2>&1 &
    sim=$!
    for _ in $(seq 100); do grep -q '^ready ' sim.out 2>/dev/null && break; sleep 0.1; done
    grep -q '^ready ' sim.out || fail "vxlsim did not start: $(cat sim.out)"
    quietly "$bin/vxlconf" stealth station7 device="$work/modem" nologo
    quietly xmllint --noout station7.xml
    grep -q '<serial-number>01427259</serial-number>' station7.xml ||
        fail "station7.xml holds no serial number"
    mkdir "Site A" "site a"
    quietly "$bin/vxlconf" "STEALTH=Site A/St=7" device="$work/modem" nologo
    quietly xmllint --noout "Site A/St=7.xml"
    [ -z "$(ls -A "site a")" ] || fail "vxlconf wrote into the lower-case twin: $(ls "site a")"
    status=0
    "$bin/vxlconf" port=abc stealth x 2>bad.out || status=$?
    [ "$status" = 2 ] || fail "vxlconf port=abc stealth x exits with status $status, not 2"
    grep -q "'port' needs a number, not 'abc'" bad.out || fail "vxlconf port=abc says: $(cat bad.out)"
    kill "$sim"
    wait "$sim" 2>/dev/null || true
    sim=""

    echo "-- bash completion"
    quietly "$(dirname "$script")/../tests/app/bash_completion_test.sh" \
        "$root/usr/share/bash-completion/completions/vxlconf"

    echo "-- the desktop entry opens the main window (virtual X server)"
    cd "$work"
    xvfb-run -a -s "-screen 0 1024x768x24" "$script" --window "$deb" "$root" ||
        fail "the window did not open from the desktop entry"
    echo "package checks passed: $deb"
    exit 0
fi

# Under the virtual X server: the desktop entry's command, with the package's programs first
# on the path, as a desktop starts it.
root=$2
entry=$(ls "$root"/usr/share/applications/*.desktop)
name=$(sed -n 's/^Name=//p' "$entry")
command=$(sed -n 's/^Exec=//p' "$entry" | sed -E 's/ ?%[fFuUdDnNickvm]//g')
export QT_QPA_PLATFORM=xcb
# A port is stored, as after the first start, so that no port dialog stands before the window.
mkdir -p "$XDG_CONFIG_HOME/Norvale Corporation"
printf '[Settings]\nComPortNum=1\n' >"$XDG_CONFIG_HOME/Norvale Corporation/vxlconf.conf"
log=$(mktemp)
PATH="$root/usr/bin:$PATH" sh -c "exec $command" >"$log" 2>&1 &
program=$!
trap 'kill "$program" 2>/dev/null; wait 2>/dev/null; rm -f "$log"' EXIT
find_window() { xwininfo -root -tree | grep -F "\"$1" | awk '{print $1}' | head -1 || true; }
window=""
for _ in $(seq 200); do
    window=$(find_window "$name")
    [ -n "$window" ] && break
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
[ -n "$window" ] || { cat "$log"; fail "no window titled \"$name...\" appeared"; }
echo "window $window: $(xwininfo -id "$window" | sed -n 's/^xwininfo: Window id: [^ ]* //p')"
# Alt+I shows the definitions file in the title: the one installed beside the program.
xdotool windowfocus --sync "$window" key alt+i
ini="$root/usr/share/vxlconf/vxlconf.ini"
for _ in $(seq 50); do
    xwininfo -id "$window" | grep -qF "$ini" && exit 0
    sleep 0.1
done
fail "the window does not name $ini: $(xwininfo -id "$window" | head -2)"
