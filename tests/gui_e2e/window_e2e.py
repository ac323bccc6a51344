#!/usr/bin/python3
"""The built vxlconf as a user runs it: a virtual X server with the accessibility bus, simulated
modems on temporary links, widgets found in the accessibility tree by role and name (as a screen
reader reads them), real mouse and key input from xdotool (modal windows take no other).

usage: window_e2e.py BUILD_DIR SCENARIO   (exit 77: a tool it needs is missing)"""

import ctypes
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIPPED = 77
MAIN = "VXL Configuration Program - End User"
GUIDE = "VXL Configuration Software Help"
# Tab round a loaded window with changes, on its Radio Link page: the enabled buttons on the
# left, the tabs, the page by columns, the buttons below the sheet.
RADIO_LINK_CYCLE = ["Help", "Program", "Close", "Print", "Exit", "Radio Link", "Channel TX RX",
                    "Import CSV...", "Import Channel Table", "Link Rate:", "Modulation Type:", "Digisquelch:", "Transmit Retries:",
                    "TX ACK Timeout:", "Local Address:", "Remote Address:", "Forward Error Correction:",
                    "Scrambling:", "CSMA Monitor:", "Undo Changes", "Factory Defaults"]


class Failure(Exception):
    pass


class Skip(Exception):
    pass


def expect(condition, what):
    if not condition:
        raise Failure(what)


def figure(name, seconds):
    print("figure: %s %.2f s" % (name, seconds), flush=True)  # timing for the log, never a verdict


def wait_for(what, condition, deadline=120):
    """The first true value of `condition`, polled; generous deadlines for a busy machine."""
    start = time.monotonic()
    while True:
        try:
            value = condition()
        except Failure:
            raise
        except Exception:  # a widget that went away while it was read
            value = None
        if value:
            if time.monotonic() - start > 2:
                print("waited %.1f s for %s" % (time.monotonic() - start, what), flush=True)
            return value
        expect(time.monotonic() - start <= deadline, "timed out waiting for " + what)
        time.sleep(0.1)


# ---- the accessibility tree ----

def role(acc):
    return acc.getRoleName()


def state(acc, which):
    return acc.getState().contains(which)


def enabled(acc):
    return state(acc, pyatspi.STATE_ENABLED)


def showing(acc):
    return state(acc, pyatspi.STATE_SHOWING)


def text(acc):
    return acc.queryText().getText(0, -1)


def extents(acc):
    return acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


def descendants(root, predicate):
    return pyatspi.findAllDescendants(root, lambda a: a is not None and predicate(a))


def find(root, role_name, name=None, predicate=lambda a: True):
    return pyatspi.findDescendant(root, lambda a: a is not None and role(a) == role_name and (
        name is None or a.name == name) and predicate(a), True)


def spoken_name(acc):
    """What a screen reader names a control by: its label, else its name (Qt on Linux names a
    combo box by its value and ties its label to it by the labelled-by relation)."""
    for relation in acc.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY and relation.getNTargets() > 0:
            return " ".join(relation.getTarget(0).name.split())
    return "" if role(acc) == "combo box" else " ".join(acc.name.split())


def expect_named(window):
    roles = ("text", "combo box", "spin button", "push button", "check box", "page tab", "table")
    unnamed = [role(a) for a in descendants(window, lambda a: role(a) in roles and showing(a) and not spoken_name(a))]
    expect(unnamed == [], "unnamed controls: %s" % unnamed)


def scroll_position(window):
    return find(window, "scroll bar", None, lambda bar: extents(bar).height > extents(bar).width).queryValue().currentValue


def _die_with_parent():
    ctypes.CDLL(None).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG: a killed test takes its programs


class Session:
    """A virtual display with its accessibility bus; what runs in it ends with it."""

    def __init__(self, build):
        self.build, self.processes, self.env = os.path.abspath(build), [], dict(os.environ)
        self.work = tempfile.mkdtemp(prefix="vxl-window-")
        launcher = "/usr/libexec/at-spi-bus-launcher"
        for tool in ("Xvfb", "xdotool", "xclip", launcher):
            if shutil.which(tool) is None:
                raise Skip("%s is not installed (scripts/deps.sh installs it)" % tool)
        try:
            os.environ["DISPLAY"] = self.env["DISPLAY"] = ":%d" % self._start_display()
            self.spawn([launcher, "--launch-immediately"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        except BaseException:
            self.close()
            raise
        self.env.update(QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", XDG_RUNTIME_DIR=self.work,
                        XDG_CONFIG_HOME=self.path("config"), XDG_DATA_HOME=self.path("data"), LC_ALL="C.UTF-8")

    def _start_display(self):
        with open("/proc/net/unix") as f:
            sockets = f.read()  # servers of other mount namespaces share these names
        for number in range(90, 190):
            if os.path.exists("/tmp/.X%d-lock" % number) or ("/tmp/.X11-unix/X%d\n" % number) in sockets:
                continue
            # Xvfb names its display on `ready` once it takes clients; it must not reset when its
            # last client leaves (the accessibility bus comes and goes first).
            ready, ready_end = os.pipe()
            xvfb = self.spawn(["Xvfb", ":%d" % number, "-displayfd", str(ready_end), "-screen", "0", "1280x1024x24",
                               "-nolisten", "tcp", "-noreset"], pass_fds=[ready_end],
                              stdout=subprocess.DEVNULL, stderr=open(self.path("xvfb.out"), "w"))
            os.close(ready_end)
            if os.read(ready, 64).decode().strip() == str(number):
                self.xvfb_ready = ready  # kept open: Xvfb fails when it cannot write to it
                return number
            os.close(ready)
            xvfb.wait()  # another run took the number meanwhile
        raise Skip("Xvfb could not start a display")

    def spawn(self, command, **options):
        process = subprocess.Popen(command, env=self.env, preexec_fn=_die_with_parent, **options)
        self.processes.append(process)
        return process

    def path(self, name):
        return os.path.join(self.work, name)

    def print_logs(self):
        print("---- processes: %s" % [(p.args[0], p.poll()) for p in self.processes])
        for name in sorted(n for n in os.listdir(self.work) if n.endswith(".out")):
            with open(self.path(name), errors="replace") as f:
                print("---- %s\n%s" % (name, f.read()[-3000:]))

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(10)
                except subprocess.TimeoutExpired:
                    process.kill()
        shutil.rmtree(self.work, ignore_errors=True)

    def start_modem(self, *options):
        """A simulated modem on the link "modem"; a line on its input power-cycles it."""
        out = self.path("modem.out")
        sim = self.spawn([os.path.join(self.build, "src/sim/vxlsim"), "--link", self.path("modem")] + list(options),
                         stdin=subprocess.PIPE, stdout=open(out, "w"), stderr=subprocess.STDOUT)
        wait_for("the simulator", lambda: "ready " in open(out).read())
        sim.link = self.path("modem")
        return sim

    def export(self, sim):
        """The settings the modem holds, by a headless export over its line."""
        run = subprocess.run([os.path.join(self.build, "src/vxlconf"), "stealth", "station", "device=" + sim.link,
                              "softbreak", "nologo"], cwd=self.work, env=self.env, stderr=subprocess.PIPE, timeout=300)
        expect(run.returncode == 0, "the export failed: " + run.stderr.decode())
        with open(self.path("station.xml")) as f:
            return f.read()

    def start_window(self, *args, preferences=None):
        if preferences is not None:
            os.makedirs(self.path("config/Norvale Corporation"))
            with open(self.path("config/Norvale Corporation/vxlconf.conf"), "w") as f:
                f.write(preferences)
        process = self.spawn([os.path.join(self.build, "src/vxlconf"), "nologo"] + list(args), cwd=self.work,
                             stdout=open(self.path("vxlconf.out"), "a"), stderr=subprocess.STDOUT)
        return Window(self, process)


class Window:
    """The running program: its windows in the accessibility tree, and real input to them."""

    def __init__(self, session, process):
        self.session, self.process = session, process

        def application():
            expect(process.poll() is None, "vxlconf ended with %s" % process.returncode)
            return next((a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.get_process_id() == process.pid), None)
        self.app = wait_for("vxlconf on the accessibility bus", application)

    def has(self, title):
        return any(w is not None and w.name == title and showing(w) for w in self.app)

    def top(self, title):
        return wait_for('the window "%s"' % title,
                        lambda: next(w for w in self.app if w is not None and w.name == title and showing(w)))

    def gone(self, title):
        wait_for('the window "%s" to close' % title, lambda: not self.has(title))

    def answer(self, caption, button="OK"):
        """The text of the message box `caption`, once it shows, answered with `button`."""
        box = self.top(caption)
        message = "\n".join(a.name for a in descendants(box, lambda a: role(a) == "label" and a.name))
        self.click(find(box, "push button", button))
        return message

    def xdotool(self, *args):
        subprocess.run(["xdotool"] + list(args), env=self.session.env, check=True, timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def click_at(self, x, y, *clicks):
        self.xdotool("mousemove", str(x), str(y), "click", *(clicks or ("1",)))

    def click(self, acc):
        area = extents(acc)
        self.click_at(area.x + area.width // 2, area.y + area.height // 2)

    def press(self, window, button):
        target = find(window, "push button", button)
        wait_for(button + " to be enabled", lambda: enabled(target))
        self.click(target)

    def focus(self, title):
        """The keyboard focus to the window titled `title` (there is no window manager)."""
        ids = subprocess.run(["xdotool", "search", "--name", "^%s$" % title], env=self.session.env,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout.split()
        expect(ids, 'no X window titled "%s"' % title)
        self.xdotool("windowfocus", "--sync", ids[-1].decode())

    def key(self, *keys):
        self.xdotool("key", "--clearmodifiers", *keys)

    def paste(self, acc, clipboard, settle=0.5):
        """`clipboard` pasted over the whole text of `acc`; a wrong paste gets the time to show."""
        subprocess.run(["xclip", "-selection", "clipboard"], input=clipboard.encode(), env=self.session.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        self.click(acc)
        self.key("ctrl+a", "ctrl+v")
        time.sleep(settle)
        return text(acc)

    def exit(self, window):
        self.press(window, "Exit")
        wait_for("vxlconf to end", lambda: self.process.poll() is not None)
        expect(self.process.returncode == 0, "vxlconf ended with %d" % self.process.returncode)

    def tab_cycle(self, window):
        """The controls Tab visits, once round, from the one after the focus."""
        def focused():
            return spoken_name(descendants(window, lambda a: state(a, pyatspi.STATE_FOCUSED))[-1])
        names = []
        while len(names) < 60 and (len(names) < 2 or names[-1] != names[0]):
            self.key("Tab")
            names.append(wait_for("the focus to move", lambda: focused() != (names[-1] if names else None)
                                  and focused()))
        return names[:-1]


def field(window, label):
    return wait_for('the field "%s"' % label, lambda: find(window, "text", label, showing))


def tab(window, name):
    return find(window, "page tab", name)


# ---- scenarios ----

def first_run_guide_and_names(s):
    """Without a load: the first run's port dialog locating the modem, what a screen reader reads,
    the guide."""
    sim = s.start_modem("--operator-power-cycle", "0.1")  # at once when Locate Modem asks
    w = s.start_window(preferences="[Ports]\nCOM1=%s\n" % sim.link)
    ports = w.top("Select Serial Port")
    expect(not descendants(ports, lambda a: role(a) == "table cell" and state(a, pyatspi.STATE_SELECTED)),
           "a port is preselected with none stored")
    expect(not enabled(find(ports, "push button", "OK")), "OK is offered before a port is chosen")
    w.focus("Select Serial Port")
    w.click(find(ports, "push button", "Locate Modem"))
    expect(sim.link in w.answer("Modem Found"), "the found modem's device is not named")
    main = w.top(MAIN)
    wait_for("Load on the port found", lambda: enabled(find(main, "push button", "Load")))
    expect_named(main)
    expect(enabled(tab(main, "Identification")), "the first tab reports itself disabled")
    for name in ("Radio Link", "Serial Interface"):
        expect(not enabled(tab(main, name)), "the greyed tab %s reports itself enabled" % name)

    # The guide takes the mouse and keys while the main window runs modally.
    w.focus(MAIN)
    w.key("F1")
    guide = w.top(GUIDE)
    browser = wait_for("the guide's text", lambda: find(guide, "label", "Guide", showing))
    back = find(guide, "push button", "Back")
    contents = scroll_position(guide)
    expect(not enabled(back), "Back is offered before a link was followed")
    x, y, width, height = browser.queryText().getCharacterExtents(text(browser).index("Loading a modem") + 3,
                                                                   pyatspi.DESKTOP_COORDS)
    w.click_at(x + 1, y + height // 2)
    wait_for("Back after a link", lambda: enabled(back) and scroll_position(guide) > contents)
    w.click(back)
    wait_for("the contents again", lambda: scroll_position(guide) == contents and not enabled(back))
    w.click(find(guide, "push button", "Close"))
    w.gone(GUIDE)
    # F1 again; scrolled with the wheel and left behind the main window, it comes back in front at
    # its contents on a further F1; Escape closes it.
    w.focus(MAIN)
    w.key("F1")
    guide = w.top(GUIDE)
    area = extents(browser)
    w.click_at(area.x + area.width // 2, area.y + area.height // 2, "--repeat", "5", "5")
    wait_for("the wheel to scroll the guide", lambda: scroll_position(guide) > contents)
    w.focus(MAIN)
    wait_for("the guide behind the main window", lambda: not state(guide, pyatspi.STATE_ACTIVE))
    w.key("F1")
    wait_for("the guide in front at its contents",
             lambda: state(guide, pyatspi.STATE_ACTIVE) and scroll_position(guide) == contents)
    w.key("Escape")
    w.gone(GUIDE)
    w.exit(main)


def soft_break_edit_and_program(s):
    """Under a German locale: a load by soft break, pastes and typing, Program, read back."""
    s.env.update(LC_ALL="de_DE.UTF-8", LANG="de_DE.UTF-8")
    expect("de_DE.utf8" in subprocess.run(["locale", "-a"], stdout=subprocess.PIPE, text=True).stdout,
           "the de_DE.UTF-8 locale is missing (scripts/deps.sh generates it)")
    sim = s.start_modem()
    w = s.start_window("device=" + sim.link, "softbreak")
    main = w.top(MAIN)
    w.focus(MAIN)
    started = time.monotonic()
    w.press(main, "Load")
    wait_for("the modem's model", lambda: text(field(main, "Model:")) == "VXL")
    figure("soft-break load", time.monotonic() - started)

    call_sign = field(main, "Call Sign:")
    expect(w.paste(call_sign, "wx7-ab#c de long") == "", "a call sign with '#', blanks and 16 characters was taken")
    expect(not enabled(find(main, "push button", "Program")), "a refused paste enabled Program")
    w.paste(call_sign, "wx7-ab", settle=0)
    wait_for("the pasted call sign in upper case", lambda: text(call_sign) == "WX7-AB")

    w.click(tab(main, "Radio Link"))
    address = field(main, "Local Address:")
    expect_named(main)
    # The user's locale never reaches the numbers.
    expect("459.8500" in find(main, "combo box", None, showing).name, "the channel list lost its point")
    timeout = field(main, "TX ACK Timeout:")
    expect("." in text(timeout), "the time-out lost its point")
    expect("," not in w.paste(timeout, "1,5"), "a comma went into a decimal field")
    expect(w.paste(address, "4x2") != "4x2", "letters were pasted into a number field")
    w.click(address)
    w.key("ctrl+a", "4", "2")
    wait_for("the typed address", lambda: text(address) == "42")
    cycle = w.tab_cycle(main)
    start = cycle.index("Help") if "Help" in cycle else 0
    expect(cycle[start:] + cycle[:start] == RADIO_LINK_CYCLE, "Tab visits %s" % cycle)
    w.click(tab(main, "Serial Interface"))
    wait_for("the Serial Interface page", lambda: field(main, "Digipeater Delay:"))
    expect_named(main)

    w.press(main, "Program")
    w.answer("Programming", "Yes")
    wait_for("Program to be done", lambda: enabled(find(main, "push button", "Load")))
    w.exit(main)
    document = s.export(sim)
    for element, value in (("call-sign", "WX7-AB"), ("local-address", "42")):
        held = re.search("<%s>([^<]*)</%s>" % (element, element), document)
        expect(held and held.group(1) == value, "the modem holds %s %s" % (element, held and held.group(1)))


def power_on_unplug_and_ports(s):
    """A power-on capture cancelled, then one that loads; the adapter pulled out while the window
    is idle; a missing device."""
    trace = s.path("trace")
    sim = s.start_modem("--no-operator", "--trace", trace)
    w = s.start_window("device=" + sim.link, "poweroncapture")
    main = w.top(MAIN)
    w.focus(MAIN)
    w.press(main, "Load")
    countdown = w.top("Capturing Modem")
    lines = [a.name for a in descendants(countdown, lambda a: role(a) == "label")]
    expect(sim.link in lines, "the countdown does not name the device: %s" % lines)
    w.click(find(countdown, "push button", "Cancel"))
    cancelled = time.monotonic()
    w.gone("Capturing Modem")
    figure("countdown closed after Cancel", time.monotonic() - cancelled)
    sent = os.path.getsize(trace)
    # The capture runs out its window behind the closed countdown; the cancel is no error.
    wait_for("capture commands after the countdown closed", lambda: os.path.getsize(trace) > sent)

    def next_capture():
        expect(not w.has("Attach Failed"), "a cancelled capture was reported as an error")
        w.click(find(main, "push button", "Load"))  # dropped while the capture still runs
        time.sleep(0.5)
        return w.has("Capturing Modem")
    wait_for("a new capture once the cancelled one ended", next_capture)
    sim.stdin.write(b"\n")  # the operator power-cycles the modem
    sim.stdin.flush()
    model = field(main, "Model:")
    wait_for("the modem loaded by power-on capture", lambda: text(model) == "VXL")
    wait_for("Close", lambda: enabled(find(main, "push button", "Close")))

    sim.terminate()  # its end of the line closes, as when the adapter is pulled out
    unplugged = time.monotonic()
    message = w.answer("Serial Device Lost")
    figure("unplug noticed", time.monotonic() - unplugged)
    expect(sim.link in message, "the message does not name the device: %r" % message)
    expect(not enabled(find(main, "push button", "Close")), "Close stays enabled after the unplug")
    expect(not enabled(tab(main, "Radio Link")) and text(model) == "", "the pages still show the modem")
    expect(not w.has("Serial Device Lost"), "the loss is reported twice")

    # A port that cannot be opened: which device, why, what to do (the other reasons are the
    # diagnosis's own test).
    w.press(main, "Load")
    message = w.answer("Attach Failed")
    expect(sim.link + " is not there: the adapter was unplugged" in message, "missing device: %r" % message)
    w.exit(main)


SCENARIOS = {f.__name__: f for f in (first_run_guide_and_names, soft_break_edit_and_program,
                                     power_on_unplug_and_ports)}


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in SCENARIOS:
        print(__doc__ + "\nscenarios: " + ", ".join(SCENARIOS))
        return 2
    if "VXL_E2E_SESSION" not in os.environ:  # a D-Bus session of its own carries the accessibility bus
        if shutil.which("dbus-run-session") is None:
            print("SKIPPED: dbus-run-session is not installed (scripts/deps.sh installs dbus-daemon)")
            return SKIPPED
        os.environ["VXL_E2E_SESSION"] = "1"
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable] + sys.argv)
    started = time.monotonic()
    try:
        session = Session(sys.argv[1])
    except Skip as why:
        print("SKIPPED: %s" % why)
        return SKIPPED
    try:
        SCENARIOS[sys.argv[2]](session)
    except Failure as failure:
        print("FAILED: %s" % failure)
        session.print_logs()
        return 1
    finally:
        session.close()
    figure(sys.argv[2], time.monotonic() - started)
    return 0


try:
    import pyatspi
except ImportError as missing:
    print("SKIPPED: %s (Debian's python3-pyatspi, run by /usr/bin/python3)" % missing)
    sys.exit(SKIPPED)

if __name__ == "__main__":
    sys.exit(main())
