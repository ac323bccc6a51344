"""The shipped vxlconf window as a user meets it: a virtual X server, the accessibility bus,
simulated modems on pseudo-terminals, and the program itself. Widgets are found in the
accessibility tree (what a screen reader reads) by role and name; modal windows are driven with
real X input from xdotool, which Qt's modality applies to (accessibility actions bypass it).

Runs under Debian's own interpreter inside a D-Bus session (dbus-run-session)."""

import ctypes
import os
import shutil
import signal
import subprocess
import tempfile
import time

import pyatspi


class Failure(Exception):
    pass


class Skip(Exception):
    pass


# Generous: the machine may be busy with two builds.
DEADLINE = 120.0


def wait_for(what, condition, deadline=DEADLINE, step=0.1):
    """Polls `condition` until it gives a true value, which is returned."""
    start = time.monotonic()
    end = start + deadline
    last_error = None
    while True:
        try:
            value = condition()
            if value:
                if time.monotonic() - start > 2:
                    print("waited %.1f s for %s" % (time.monotonic() - start, what), flush=True)
                return value
        except Exception as error:  # a widget that went away while it was read
            last_error = error
        if time.monotonic() > end:
            raise Failure("timed out waiting for %s%s" % (what, " (%s)" % last_error if last_error else ""))
        time.sleep(step)


def _alive(acc):
    try:
        acc.getRole()
        return True
    except Exception:
        return False


def role(acc):
    return acc.getRoleName()


def state(acc, which):
    return acc.getState().contains(which)


def enabled(acc):
    return state(acc, pyatspi.STATE_ENABLED)


def showing(acc):
    return state(acc, pyatspi.STATE_SHOWING)


def text(acc):
    t = acc.queryText()
    return t.getText(0, t.characterCount)


def descendants(root, predicate):
    return pyatspi.findAllDescendants(root, predicate)


def find(root, role_name, name=None, predicate=None):
    """The first descendant (breadth first) with the role and, when given, the name."""
    def match(acc):
        if acc is None or role(acc) != role_name:
            return False
        if name is not None and acc.name != name:
            return False
        return predicate is None or predicate(acc)
    return pyatspi.findDescendant(root, match, True)


def _die_with_parent():
    # A test that is killed (ctest's time-out) takes its programs with it.
    ctypes.CDLL(None).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


def _display_in_use(number):
    """A lock file here, or a listening socket of that name in this network namespace (servers of
    other mount namespaces share the abstract ones)."""
    with open("/proc/net/unix") as f:
        sockets = f.read()
    return os.path.exists("/tmp/.X%d-lock" % number) or ("/tmp/.X11-unix/X%d\n" % number) in sockets


def center(acc):
    extents = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return extents.x + extents.width // 2, extents.y + extents.height // 2


class Session:
    """One virtual display with its accessibility bus; programs started in it end with it."""

    def __init__(self, build_dir):
        self.build = build_dir
        self.work = tempfile.mkdtemp(prefix="vxl-window-")
        self.processes = []
        self.env = dict(os.environ)
        launcher = "/usr/libexec/at-spi-bus-launcher"
        for tool in ("Xvfb", "xdotool", "xclip", launcher):
            if shutil.which(tool) is None:
                raise Skip("%s is not installed (scripts/deps.sh installs it)" % tool)
        try:
            self.env["DISPLAY"] = ":%d" % self._start_display()
            os.environ["DISPLAY"] = self.env["DISPLAY"]
            self._spawn([launcher, "--launch-immediately"], stdout=subprocess.DEVNULL,
                        stderr=subprocess.DEVNULL)
        except BaseException:
            self.close()
            raise
        self.env.update(QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                        XDG_CONFIG_HOME=os.path.join(self.work, "config"),
                        XDG_DATA_HOME=os.path.join(self.work, "data"),
                        XDG_RUNTIME_DIR=self.work, LC_ALL="C.UTF-8")
        self.env.pop("SESSION_MANAGER", None)

    def _start_display(self):
        """A virtual X server on a free display number (another run may take one meanwhile)."""
        for number in range(90, 190):
            if _display_in_use(number):
                continue
            # The server names its display on `ready` once it accepts connections; it must not
            # reset when its last client leaves (the accessibility bus comes and goes first).
            ready, ready_end = os.pipe()
            xvfb = self._spawn(["Xvfb", ":%d" % number, "-displayfd", str(ready_end), "-screen", "0",
                                "1280x1024x24", "-nolisten", "tcp", "-noreset"], pass_fds=[ready_end],
                               stdout=subprocess.DEVNULL, stderr=open(self.path("xvfb.out"), "w"))
            os.close(ready_end)
            if os.read(ready, 64).decode().strip() == str(number):
                self.xvfb_ready = ready  # open while the server runs: it fails when its writes fail
                return number
            os.close(ready)
            xvfb.wait()
            self.processes.remove(xvfb)
        raise Skip("Xvfb could not start a display")

    def _spawn(self, command, **options):
        process = subprocess.Popen(command, env=options.pop("env", self.env), preexec_fn=_die_with_parent,
                                   **options)
        self.processes.append(process)
        return process

    def path(self, name):
        return os.path.join(self.work, name)

    def print_logs(self):
        """What the programs of the session wrote, for a failed run."""
        print("---- processes: %s" % [(p.args[0], p.poll()) for p in self.processes])
        for name in sorted(os.listdir(self.work)):
            if name.endswith(".out"):
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
                    process.wait()
        shutil.rmtree(self.work, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # ---- the simulated modem ----

    def start_modem(self, name="modem", *options):
        """A simulated modem whose port is the link `name` in the work folder; lines written to
        the returned process's standard input power-cycle it."""
        link = self.path(name)
        out = open(self.path(name + ".out"), "w")
        sim = self._spawn([os.path.join(self.build, "src/sim/vxlsim"), "--link", link] + list(options),
                          stdin=subprocess.PIPE, stdout=out, stderr=subprocess.STDOUT)
        wait_for("the simulator on " + link, lambda: "ready " in open(out.name).read())
        sim.link = link
        return sim

    def power_cycle(self, sim):
        sim.stdin.write(b"\n")
        sim.stdin.flush()

    def unplug(self, sim):
        """Ends the simulator: its side of the line closes, as when an adapter is pulled out."""
        sim.send_signal(signal.SIGTERM)
        sim.wait(30)

    def hold(self, device):
        """Another program that holds `device` (an exclusive lock, as terminal programs take)."""
        holder = self._spawn(["/usr/bin/python3", "-c",
                                   "import fcntl,os,sys,time\n"
                                   "fd=os.open(sys.argv[1],os.O_RDWR|os.O_NOCTTY|os.O_NONBLOCK)\n"
                                   "fcntl.flock(fd,fcntl.LOCK_EX)\nprint('held',flush=True)\ntime.sleep(600)",
                              device], stdout=subprocess.PIPE)
        if holder.stdout.readline().strip() != b"held":
            raise Failure("the holder could not lock " + device)
        return holder

    # ---- the program ----

    def vxlconf(self, *args, check=True):
        """A headless run of the program; its exit status and standard error."""
        run = subprocess.run([os.path.join(self.build, "src/vxlconf")] + list(args), cwd=self.work,
                             env=self.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=300)
        if check and run.returncode != 0:
            raise Failure("vxlconf %s failed (%d): %s" % (" ".join(args), run.returncode, run.stderr.decode()))
        return run.returncode, run.stderr.decode()

    def start_window(self, *args):
        out = open(self.path("vxlconf.out"), "a")
        process = self._spawn([os.path.join(self.build, "src/vxlconf"), "nologo"] + list(args), cwd=self.work,
                              stdout=out, stderr=subprocess.STDOUT)
        return Window(self, process)

    def write_preferences(self, text):
        folder = os.path.join(self.env["XDG_CONFIG_HOME"], "Norvale Corporation")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "vxlconf.conf"), "w") as f:
            f.write(text)


class Window:
    """The running program seen through its accessibility tree."""

    def __init__(self, session, process):
        self.session = session
        self.process = process
        self.app = wait_for("vxlconf on the accessibility bus", self._find_app)

    def _find_app(self):
        if self.process.poll() is not None:
            raise Failure("vxlconf ended with %d: %s" % (self.process.returncode,
                                                          open(self.session.path("vxlconf.out")).read()))
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == "vxlconf" and app.get_process_id() == self.process.pid:
                return app
        return None

    def windows(self):
        return [w for w in self.app if w is not None and _alive(w)]

    def top(self, title, deadline=DEADLINE):
        """The top-level window titled `title`, once it shows."""
        return wait_for("the window \"%s\"" % title,
                        lambda: next((w for w in self.windows() if w.name == title and showing(w)), None),
                        deadline)

    def gone(self, title, deadline=DEADLINE):
        wait_for("the window \"%s\" to close" % title,
                 lambda: not any(w.name == title and showing(w) for w in self.windows()), deadline)

    def has(self, title):
        return any(w.name == title and showing(w) for w in self.windows())

    def message(self, caption, deadline=DEADLINE):
        """The text of the message box captioned `caption`, once it shows."""
        box = self.top(caption, deadline)
        labels = [a.name for a in descendants(box, lambda a: a is not None and role(a) == "label")]
        return box, "\n".join(n for n in labels if n)

    def answer(self, box, button):
        """Presses a message box's button with a real click."""
        self.click(find(box, "push button", button))

    # ---- real input ----

    def xdotool(self, *args):
        subprocess.run(["xdotool"] + list(args), env=self.session.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)

    def click(self, acc):
        if acc is None:
            raise Failure("nothing to click")
        x, y = center(acc)
        self.xdotool("mousemove", str(x), str(y), "click", "1")

    def focus(self, title):
        """Gives the window titled `title` the keyboard focus (there is no window manager)."""
        ids = subprocess.run(["xdotool", "search", "--name", "^%s$" % title], env=self.session.env,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout.split()
        if not ids:
            raise Failure("no X window titled \"%s\"" % title)
        self.xdotool("windowfocus", "--sync", ids[-1].decode())

    def key(self, *keys):
        self.xdotool("key", "--clearmodifiers", *keys)

    def type(self, characters):
        self.xdotool("type", "--delay", "30", characters)

    def paste(self, acc, clipboard):
        """Puts `clipboard` on the clipboard, then pastes it over the whole text of `acc`."""
        subprocess.Popen(["xclip", "-selection", "clipboard"], stdin=subprocess.PIPE, env=self.session.env,
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).communicate(clipboard.encode())
        self.click(acc)
        self.key("ctrl+a")
        self.key("ctrl+v")

    def exited(self, deadline=DEADLINE):
        wait_for("vxlconf to end", lambda: self.process.poll() is not None, deadline)
        return self.process.returncode
