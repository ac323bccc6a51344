#!/usr/bin/python3
"""The shipped vxlconf window as a user runs it, on simulated modems: the first run's port
dialog, names a screen reader reads, the guide used with the mouse and keys, a load by soft break
with edits, pastes and Program confirmed by a headless export, a power-on capture cancelled and
then loaded, an adapter pulled out while the window is idle, and ports that cannot be opened.

usage: window_e2e.py BUILD_DIR SCENARIO   (exit 77: a tool the run needs is missing)"""

import os
import re
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SKIPPED = 77
MAIN = "VXL Configuration Program - End User"
# Tab round the window of a loaded modem with changes on its Radio Link page: the buttons on the
# left that are enabled, the tabs, the page by columns, the buttons below the sheet.
RADIO_LINK_CYCLE = ["Help", "Program", "Close", "Print", "Exit", "Radio Link", "Channel TX RX",
                    "Import Channel Table", "Link Rate:", "Modulation Type:", "Digisquelch:", "Transmit Retries:",
                    "TX ACK Timeout:", "Local Address:", "Remote Address:", "Forward Error Correction:",
                    "Scrambling:", "CSMA Monitor:", "Undo Changes", "Factory Defaults"]
GUIDE = "VXL Configuration Software Help"


def figure(name, seconds):
    # Timing goes to the log, never into a pass or fail.
    print("figure: %s %.2f s" % (name, seconds), flush=True)


def expect(condition, what):
    if not condition:
        raise Failure(what)


# ---- checks shared by the scenarios ----

def spoken_name(acc):
    """What a screen reader names a control by: the label it is labelled by, else its own name.
    Qt names a combo box by its value on Linux and ties its label to it by the relation."""
    for relation in acc.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY and relation.getNTargets() > 0:
            return " ".join(relation.getTarget(0).name.split())
    return "" if role(acc) == "combo box" else " ".join(acc.name.split())


def unnamed_controls(window):
    """Showing controls a screen reader could not name."""
    roles = ("text", "combo box", "spin button", "push button", "check box", "page tab", "table")
    return ["%s in %s" % (role(a), role(a.parent)) for a in
            descendants(window, lambda a: a is not None and role(a) in roles and showing(a) and not spoken_name(a))]


def focused(window):
    """The control with the keyboard focus (the innermost of the widgets that report it)."""
    found = descendants(window, lambda a: a is not None and state(a, pyatspi.STATE_FOCUSED))
    return found[-1] if found else None


def tab_cycle(w, window):
    """The names of the controls Tab visits, once round, starting from the one after the focus."""
    names = []
    while len(names) < 60 and (len(names) < 2 or names[-1] != names[0]):
        w.key("Tab")
        previous = names[-1] if names else None
        names.append(wait_for("the focus to move", lambda: spoken_name(focused(window)) != previous
                              and spoken_name(focused(window))))
    return names[:-1]


def same_cycle(visited, expected):
    start = visited.index(expected[0]) if expected[0] in visited else 0
    return visited[start:] + visited[:start] == expected


def field(window, label):
    return wait_for("the field \"%s\"" % label, lambda: find(window, "text", label, showing))


def tab(window, name):
    return find(window, "page tab", name)


def open_tab(w, window, name):
    w.click(tab(window, name))
    wait_for("the page \"%s\"" % name, lambda: state(tab(window, name), pyatspi.STATE_SELECTED))


def press(w, window, button):
    target = find(window, "push button", button)
    wait_for("%s to be enabled" % button, lambda: enabled(target))
    w.click(target)


def scroll_position(window):
    def upright(bar):
        extents = bar.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return extents.height > extents.width
    return find(window, "scroll bar", None, upright).queryValue().currentValue


def click_text(w, acc, words):
    """A real click on `words` in a text (a link of the guide)."""
    t = acc.queryText()
    offset = t.getText(0, t.characterCount).index(words)
    extents = t.getCharacterExtents(offset + len(words) // 2, pyatspi.DESKTOP_COORDS)
    w.xdotool("mousemove", str(extents[0] + 1), str(extents[1] + extents[3] // 2), "click", "1")


def exported(session, sim, name):
    """The modem's settings by a headless export over its line."""
    session.vxlconf("stealth", name, "device=" + sim.link, "softbreak")
    with open(session.path(name + ".xml")) as f:
        return f.read()


def xml_value(document, element):
    match = re.search("<%s>([^<]*)</%s>" % (element, element), document)
    return match.group(1) if match else None


# ---- scenarios ----

def first_run_guide_and_names(s):
    """No load: the first run's port dialog, the names of the empty window, the guide."""
    sim = s.start_modem()
    s.write_preferences("[Ports]\nCOM1=%s\n" % sim.link)
    w = s.start_window()
    ports = w.top("Select Serial Port")
    rows = descendants(ports, lambda a: a is not None and role(a) == "table cell")
    expect(not any(state(r, pyatspi.STATE_SELECTED) for r in rows), "a port is preselected with none stored")
    ok = find(ports, "push button", "OK")
    expect(not enabled(ok), "OK is offered before a port is chosen")
    w.focus("Select Serial Port")
    w.click(find(ports, "table cell", sim.link))
    wait_for("OK after a click on the port", lambda: enabled(ok))
    w.click(ok)
    main = w.top(MAIN)

    expect(unnamed_controls(main) == [], "unnamed controls: %s" % unnamed_controls(main))
    expect(field(main, "Call Sign:") is not None, "the call sign field is not named by its label")
    for name in ("Radio Link", "Serial Interface"):
        expect(not enabled(tab(main, name)), "the greyed tab %s reports itself enabled" % name)
    expect(enabled(tab(main, "Identification")), "the first tab reports itself disabled")

    # The guide takes the mouse and the keys while the main window runs.
    w.focus(MAIN)
    w.key("F1")
    guide = w.top(GUIDE)
    browser = wait_for("the guide's text", lambda: find(guide, "label", "Guide", showing))
    back = find(guide, "push button", "Back")
    expect(not enabled(back), "Back is offered before a link was followed")
    start = scroll_position(guide)
    click_text(w, browser, "Loading a modem")
    wait_for("Back after a link", lambda: enabled(back))
    expect(scroll_position(guide) > start, "the link did not move to its topic")
    w.click(back)
    wait_for("the contents again", lambda: scroll_position(guide) == start and not enabled(back))
    w.click(find(guide, "push button", "Close"))
    w.gone(GUIDE)

    # F1 again: the guide at its contents; scrolled with the wheel and left behind the main
    # window, a further F1 brings it back in front at its contents; Escape closes it.
    w.focus(MAIN)
    w.key("F1")
    guide = w.top(GUIDE)
    browser = wait_for("the guide's text", lambda: find(guide, "label", "Guide", showing))
    w.xdotool("mousemove", *map(str, center(browser)))
    w.xdotool("click", "--repeat", "5", "5")
    wait_for("the wheel to scroll the guide", lambda: scroll_position(guide) > start)
    w.focus(MAIN)
    wait_for("the guide behind the main window", lambda: not state(guide, pyatspi.STATE_ACTIVE))
    w.key("F1")
    wait_for("the guide in front", lambda: state(guide, pyatspi.STATE_ACTIVE))
    wait_for("the guide at its contents", lambda: scroll_position(guide) == start)
    w.key("Escape")
    w.gone(GUIDE)

    press(w, main, "Exit")
    expect(w.exited() == 0, "Exit did not end the program")


def soft_break_edit_and_program(s):
    """A load by soft break, edits typed and pasted, Program, and the modem read back headless."""
    sim = s.start_modem()
    w = s.start_window("device=" + sim.link, "softbreak")
    main = w.top(MAIN)
    w.focus(MAIN)
    started = time.monotonic()
    press(w, main, "Load")
    model = field(main, "Model:")
    wait_for("the modem's model", lambda: text(model) == "VXL")
    figure("soft-break load", time.monotonic() - started)
    expect(enabled(tab(main, "Radio Link")), "the pages stay greyed after a load")

    # Pasted text obeys the field's rules as typed text does.
    call_sign = field(main, "Call Sign:")
    before = text(call_sign)
    w.paste(call_sign, "wx7-ab#c de long")
    time.sleep(0.5)  # nothing may change: give a wrong paste the time to show
    expect(text(call_sign) == before, "a call sign with '#', blanks and 16 characters was taken: %r"
           % text(call_sign))
    expect(not enabled(find(main, "push button", "Program")), "a refused paste enabled Program")
    w.paste(call_sign, "wx7-ab")
    wait_for("the pasted call sign in upper case", lambda: text(call_sign) == "WX7-AB")

    open_tab(w, main, "Radio Link")
    expect(unnamed_controls(main) == [], "unnamed controls: %s" % unnamed_controls(main))
    address = field(main, "Local Address:")
    w.paste(address, "4x2")
    time.sleep(0.5)
    expect(text(address) != "4x2", "letters were pasted into a number field")
    w.click(address)
    w.key("ctrl+a")
    w.type("42")
    wait_for("the typed address", lambda: text(address) == "42")
    # Keyboard alone: the buttons on the left, the tabs, the page, the buttons below the sheet.
    cycle = tab_cycle(w, main)
    expect(same_cycle(cycle, RADIO_LINK_CYCLE), "Tab visits %s" % cycle)
    open_tab(w, main, "Serial Interface")
    expect(unnamed_controls(main) == [], "unnamed controls: %s" % unnamed_controls(main))

    press(w, main, "Program")
    box, question = w.message("Programming")
    w.answer(box, "Yes")
    program = find(main, "push button", "Program")
    wait_for("Program to be done", lambda: not enabled(program) and enabled(find(main, "push button", "Load")))
    press(w, main, "Exit")
    expect(w.exited() == 0, "Exit did not end the program")

    document = exported(s, sim, "station")
    expect(xml_value(document, "call-sign") == "WX7-AB", "the modem holds call sign %r"
           % xml_value(document, "call-sign"))
    expect(xml_value(document, "local-address") == "42", "the modem holds local address %r"
           % xml_value(document, "local-address"))


def power_on_unplug_and_ports(s):
    """A power-on capture cancelled, then one that loads; the adapter pulled out while the window
    is idle; a missing device and a device held by another program."""
    trace = s.path("trace")
    sim = s.start_modem("modem", "--no-operator", "--trace", trace)
    w = s.start_window("device=" + sim.link, "poweroncapture")
    main = w.top(MAIN)
    w.focus(MAIN)
    press(w, main, "Load")
    countdown = w.top("Capturing Modem")
    lines = [a.name for a in descendants(countdown, lambda a: a is not None and role(a) == "label")]
    expect(sim.link in lines, "the countdown does not name the device: %s" % lines)
    w.click(find(countdown, "push button", "Cancel"))
    cancelled = time.monotonic()
    w.gone("Capturing Modem")
    figure("countdown closed after Cancel", time.monotonic() - cancelled)
    sent = os.path.getsize(trace)
    # The capture runs out its window behind the closed countdown; the cancel is no error.
    wait_for("capture commands after the countdown closed", lambda: os.path.getsize(trace) > sent)
    load = find(main, "push button", "Load")

    def next_countdown():
        expect(not w.has("Attach Failed"), "a cancelled capture was reported as an error")
        if w.has("Capturing Modem"):
            return True
        w.click(load)  # ignored while the capture still runs
        time.sleep(0.5)
        return False
    wait_for("a new capture once the cancelled one ended", next_countdown)
    s.power_cycle(sim)
    model = field(main, "Model:")
    wait_for("the modem loaded by power-on capture", lambda: text(model) == "VXL")
    wait_for("Close", lambda: enabled(find(main, "push button", "Close")))

    s.unplug(sim)
    unplugged = time.monotonic()
    box, message = w.message("Serial Device Lost")
    figure("unplug noticed", time.monotonic() - unplugged)
    expect(sim.link in message, "the message does not name the device: %r" % message)
    w.answer(box, "OK")
    expect(not enabled(find(main, "push button", "Close")), "Close stays enabled after the unplug")
    expect(not enabled(tab(main, "Radio Link")), "the pages stay enabled after the unplug")
    expect(not w.has("Serial Device Lost"), "the loss is reported twice")

    # Ports that cannot be opened say which device, why and what to do.
    press(w, main, "Load")
    box, message = w.message("Attach Failed")
    expect(sim.link + " is not there: the adapter was unplugged" in message, "missing device: %r" % message)
    w.answer(box, "OK")
    sim = s.start_modem("modem")
    holder = s.hold(sim.link)
    press(w, main, "Load")
    box, message = w.message("Attach Failed")
    expect("%s is in use by python3 (PID %d)" % (sim.link, holder.pid) in message, "held device: %r" % message)
    w.answer(box, "OK")
    press(w, main, "Exit")
    expect(w.exited() == 0, "Exit did not end the program")


SCENARIOS = {
    "first_run_guide_and_names": first_run_guide_and_names,
    "soft_break_edit_and_program": soft_break_edit_and_program,
    "power_on_unplug_and_ports": power_on_unplug_and_ports,
}


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in SCENARIOS:
        print(__doc__)
        print("scenarios: " + ", ".join(SCENARIOS))
        return 2
    build, scenario = sys.argv[1], sys.argv[2]
    if "VXL_E2E_SESSION" not in os.environ:
        # A D-Bus session of its own carries the accessibility bus.
        runner = "/usr/bin/dbus-run-session"
        if not os.path.exists(runner):
            print("SKIPPED: dbus-run-session is not installed (scripts/deps.sh installs dbus)")
            return SKIPPED
        os.environ["VXL_E2E_SESSION"] = "1"
        os.execv(runner, [runner, "--", sys.executable, os.path.abspath(__file__), build, scenario])
    started = time.monotonic()
    try:
        with Session(build) as session:
            try:
                SCENARIOS[scenario](session)
            except Failure as failure:
                print("FAILED: %s" % failure)
                session.print_logs()
                return 1
    except Skip as why:
        print("SKIPPED: %s" % why)
        return SKIPPED
    figure(scenario, time.monotonic() - started)
    return 0


sys.path.insert(0, HERE)
try:
    import pyatspi
    from window_session import Failure, Session, Skip, center, descendants, enabled, find, role, showing, \
        state, text, wait_for
except ImportError as missing:
    print("SKIPPED: %s (Debian's python3-pyatspi, run by /usr/bin/python3)" % missing)
    sys.exit(SKIPPED)

if __name__ == "__main__":
    sys.exit(main())
