"""Drives the real zelvo binary as a user would: a fresh program folder, a private X server,
a PulseAudio null sink for the alarm, xdotool for clicks and typing, the X selection for reading
text fields, and screenshots kept as artifacts."""
import array
import calendar
import glob
import json
import os
import pty
import select
import shutil
import signal
import subprocess
import tempfile
import time

BIN = os.environ.get("ZELVO_BIN", "")
ARTIFACTS = os.environ.get("ZELVO_ARTIFACTS", os.path.join(tempfile.gettempdir(), "zelvo-e2e-artifacts"))
TWIPS_PER_PIXEL = 15  # the X server runs at 96 dpi
SANITIZER_MARKS = ("runtime error:", "ERROR: AddressSanitizer", "ERROR: LeakSanitizer")


def px(twips):
    return int(round(twips / TWIPS_PER_PIXEL))


def run(*args, env=None, check=True, timeout=20):
    return subprocess.run(args, env=env, check=check, timeout=timeout, capture_output=True, text=True)


class Display:
    """A private Xvfb, at 96 dpi unless told. It does not reset when its last client leaves, so a
    program started right after another one ended finds the server."""

    def __init__(self, dpi=96):
        read_fd, write_fd = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24", "-dpi", str(dpi), "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        deadline = time.time() + 20
        while not number.endswith(b"\n") and time.time() < deadline:
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_fd)
        if not number.strip():
            self.proc.kill()
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number.decode().strip()
        if dpi != 96:
            self.announce_dpi(dpi)

    def announce_dpi(self, dpi):
        """What a desktop at that density sets: Xft.dpi in the root window's resources, read by Qt."""
        from Xlib import Xatom, display
        d = display.Display(self.name)
        try:
            d.screen().root.change_property(d.intern_atom("RESOURCE_MANAGER"), Xatom.STRING, 8,
                                            ("Xft.dpi:\t%d\n" % dpi).encode())
            d.sync()
        finally:
            d.close()

    def stop(self):
        self.proc.terminate()
        self.proc.wait(timeout=10)


class Sound:
    """A PulseAudio server with one null sink; the monitor shows what was played."""

    def __init__(self, runtime):
        self.runtime = runtime
        self.env = dict(os.environ, XDG_RUNTIME_DIR=runtime, HOME=runtime)
        script = os.path.join(runtime, "zelvo.pa")
        with open(script, "w") as f:
            f.write("load-module module-native-protocol-unix auth-anonymous=1\n"
                    "load-module module-null-sink sink_name=zelvo_sink\n"
                    "set-default-sink zelvo_sink\n")
        self.proc = subprocess.Popen(
            ["pulseaudio", "-n", "-F", script, "--daemonize=no", "--exit-idle-time=-1", "--log-target=stderr"],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 15
        while time.time() < deadline:
            if run("pactl", "info", env=self.env, check=False).returncode == 0:
                return
            time.sleep(0.2)
        raise RuntimeError("pulseaudio did not start")

    def record(self, path):
        """Starts recording the sink's monitor; returns the recorder."""
        out = open(path, "wb")
        recorder = subprocess.Popen(
            ["parec", "-d", "zelvo_sink.monitor", "--raw", "--format=s16le", "--channels=1", "--rate=22050"],
            env=self.env, stdout=out, stderr=subprocess.DEVNULL)
        recorder.stdout_file = out
        return recorder

    @staticmethod
    def peak(path):
        data = array.array("h")
        with open(path, "rb") as f:
            raw = f.read()
        data.frombytes(raw[: len(raw) // 2 * 2])
        return max((abs(s) for s in data), default=0)

    def stop(self):
        self.proc.terminate()
        self.proc.wait(timeout=10)


def fake_wall_clock(utc_moment):
    """The environment that starts a program's wall clock at that moment (libfaketime, Debian's
    faketime): a whole number of seconds away from the real clock, written without a "+" before a
    negative number, which libfaketime does not understand."""
    library = glob.glob("/usr/lib/*/faketime/libfaketime.so.1")
    if not library:
        raise RuntimeError("libfaketime is not installed (Debian package faketime)")
    offset = calendar.timegm(utc_moment.timetuple()) - int(time.time())
    # A sanitized build would refuse to run with another library loaded before its runtime.
    asan = ":".join(filter(None, [os.environ.get("ASAN_OPTIONS"), "verify_asan_link_order=0"]))
    return {"LD_PRELOAD": library[0], "FAKETIME": "%+ds" % offset, "FAKETIME_DONT_FAKE_MONOTONIC": "1",
            "ASAN_OPTIONS": asan}


# Debian's trayer is a real X11 notification area under Xvfb.
TRAYER = ["trayer", "--edge", "top", "--align", "right", "--widthtype", "request", "--height", "24",
          "--SetDockType", "true"]


class Zelvo:
    """One program folder with the real binary and its assets, and the X server it shows on."""

    def __init__(self, with_sound=False, with_tray=False, binary=None, folder=None, dpi=96, wall_clock=None,
                 zone=None, session=None, wayland=False):
        """folder: an empty folder to use as the program folder (a mount point, say) instead of a fresh one.
        dpi: the screen's density; Qt then scales every window by dpi / 96.
        wall_clock: a UTC datetime the program's wall clock reads when it starts (libfaketime; the clock
        then runs on normally and the program's timers are left alone). zone: its TZ.
        session: a DBusSession for the program and the tools, ended by stop(). wayland: a Weston, no X server
        ("sway": a Sway)."""
        binary = binary or BIN
        if not binary or not os.path.exists(binary):
            raise RuntimeError("ZELVO_BIN does not point at the built program")
        self.folder = folder or tempfile.mkdtemp(prefix="zelvo-e2e-")
        self.runtime = tempfile.mkdtemp(prefix="zelvo-rt-")
        os.chmod(self.runtime, 0o700)
        source = os.path.dirname(binary)
        shutil.copy2(binary, os.path.join(self.folder, "zelvo"))
        # A portable copy: the program, the sound module it loads at the first alarm, its assets.
        for asset in ("zelvo_sound.so", "alarm.wav", "splash.png"):
            shutil.copy2(os.path.join(source, asset), os.path.join(self.folder, asset))
        self.display = {True: Weston, "sway": Sway}[wayland](self.runtime) if wayland else Display(dpi)
        self.scale = dpi / 96.0
        self.sound = Sound(self.runtime) if with_sound else None
        self.env = dict(os.environ, DISPLAY=self.display.name, XDG_RUNTIME_DIR=self.runtime, HOME=self.runtime,
                        LANG="C.UTF-8", LC_ALL="C.UTF-8", QT_QPA_PLATFORM="xcb")
        self.env.pop("QT_SCALE_FACTOR", None)
        if wayland:
            del self.env["DISPLAY"]
            self.env.update(self.display.env)
        self.session = session
        if session:
            self.env.update(session.env)
        # What only the program sees, not the X server or the tools.
        self.program_env = dict(self.env)
        if zone:
            self.program_env["TZ"] = zone
        if wall_clock:
            self.program_env.update(fake_wall_clock(wall_clock))
        self.proc = None
        self.window = None
        self.tray = None
        if with_tray:
            # Debian's trayer is a real notification area under Xvfb.
            self.tray = subprocess.Popen(TRAYER, env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(1)

    # ---- files ----
    def path(self, name):
        return os.path.join(self.folder, name)

    def write_settings(self, lines):
        with open(self.path("Zelvo.ini"), "wb") as f:
            f.write("".join(line + "\r\n" for line in lines).encode("utf-8"))

    def settings(self):
        """The settings file as a dict of upper-case names to raw values."""
        result = {}
        with open(self.path("Zelvo.ini"), "rb") as f:
            for line in f.read().decode("utf-8").split("\r\n"):
                if "," in line:
                    name, value = line.split(",", 1)
                    result.setdefault(name, value)
        return result

    # ---- the program ----
    def command(self, *args):
        """The zelvo command line, run from the program folder as a user in a terminal would."""
        return subprocess.run([self.path("zelvo"), *args], env=self.program_env, cwd=self.folder,
                              capture_output=True, text=True, timeout=30)

    def in_terminal(self, *args):
        """The zelvo command line in a terminal of its own (a pty), whose keys reach it as a user's do."""
        return Terminal([self.path("zelvo"), *args], self.program_env, self.folder)

    def launch(self):
        """Another start of the program in the same folder; returns its process."""
        self.launches = getattr(self, "launches", 0) + 1
        err = open(os.path.join(self.runtime, "stderr-%d.txt" % self.launches), "wb")
        proc = subprocess.Popen([self.path("zelvo")], cwd=self.folder, env=self.program_env,
                                stdout=subprocess.DEVNULL, stderr=err)
        err.close()
        return proc

    def open_files(self):
        """What the running program holds open inside its folder (a save in progress shows here)."""
        found = []
        fd_dir = "/proc/%d/fd" % self.proc.pid
        try:
            fds = os.listdir(fd_dir)
        except OSError:
            return found
        for fd in fds:
            try:
                target = os.readlink(os.path.join(fd_dir, fd))
            except OSError:
                continue
            if target.startswith(self.folder + os.sep):
                found.append(target)
        return found

    def diagnosis(self):
        """What the program left behind, for a failure message."""
        lines = ["process: %s" % ("running" if self.proc and self.proc.poll() is None
                                   else "ended with %s" % (self.proc.returncode if self.proc else None))]
        for n in range(1, getattr(self, "launches", 0) + 1):
            with open(os.path.join(self.runtime, "stderr-%d.txt" % n), "rb") as f:
                lines.append("stderr of start %d: %s" % (n, f.read().decode(errors="replace")[-2000:]))
        if os.path.exists(self.path("log.txt")):
            with open(self.path("log.txt"), "rb") as f:
                lines.append("log.txt: " + f.read().decode(errors="replace")[-2000:])
        try:
            lines.append("screenshot: " + self.screenshot("failure-%d.png" % int(time.time() * 1000)))
        except Exception as error:  # the X server may be gone
            lines.append("no screenshot: %s" % error)
        return "\n".join(lines)

    def start(self, wait_main=True):
        self.proc = self.launch()
        if wait_main:
            self.window = self.wait_window("^Zelvo$")
        return self

    def wait_exit(self, timeout=15):
        return self.proc.wait(timeout=timeout)

    def sanitizer_reports(self):
        """Sanitizer reports on the program's stderr: a sanitized build must run clean, even where a
        test kills the program or ignores how it ended."""
        reports = []
        for n in range(1, getattr(self, "launches", 0) + 1):
            path = os.path.join(self.runtime, "stderr-%d.txt" % n)
            if not os.path.exists(path):
                continue
            with open(path, "rb") as f:
                text = f.read().decode(errors="replace")
            if any(mark in text for mark in SANITIZER_MARKS):
                reports.append("stderr of start %d:\n%s" % (n, text[-6000:]))
        return reports

    def stop_program(self):
        """Ends the program at once (its files stay), for another start in the same folder."""
        for pid in self.copies():
            os.kill(pid, signal.SIGKILL)
        wait_until(lambda: not self.copies(), 10, "the program did not end")

    def copies(self):
        """Process ids of this folder's program, children or not (a command starts one in the background)."""
        found = []
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                if os.readlink("/proc/%s/exe" % pid) == self.path("zelvo"):
                    found.append(int(pid))
            except OSError:
                pass
        return found

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.send_signal(signal.SIGKILL)
            self.proc.wait(timeout=10)
        for pid in self.copies():
            os.kill(pid, signal.SIGKILL)
        if self.tray:
            self.tray.terminate()
            self.tray.wait(timeout=10)
        if self.sound:
            self.sound.stop()
        self.display.stop()
        if self.session:
            self.session.stop()
        reports = self.sanitizer_reports()
        shutil.rmtree(self.folder, ignore_errors=True)
        shutil.rmtree(self.runtime, ignore_errors=True)
        if reports:
            raise AssertionError("sanitizer report\n" + "\n".join(reports))

    # ---- X ----
    def xdo(self, *args, check=True):
        return run("xdotool", *args, env=self.env, check=check)

    def windows(self, name):
        found = self.xdo("search", "--onlyvisible", "--name", name, check=False).stdout.split()
        return [w for w in found if w]

    def wait_window(self, name, timeout=15, count=1):
        deadline = time.time() + timeout
        while time.time() < deadline:
            found = self.windows(name)
            if len(found) >= count:
                return found[0] if count == 1 else found
            time.sleep(0.1)
        raise AssertionError("no window named %r within %ss\n%s" % (name, timeout, self.diagnosis()))

    def stacking(self):
        """The windows as the window manager stacks them, the lowest first."""
        out = run("xprop", "-root", "_NET_CLIENT_LIST_STACKING", env=self.env).stdout
        return [str(int(w.strip(), 16)) for w in out.split("#", 1)[-1].split(",") if w.strip()]

    def visible(self, window):
        return window in self.windows("^Zelvo$") or window in self.xdo(
            "search", "--onlyvisible", "--name", ".*", check=False).stdout.split()

    def close_window(self, window):
        """What the title-bar close sends: WM_DELETE_WINDOW."""
        from Xlib import X, display, protocol
        d = display.Display(self.display.name)
        try:
            target = d.create_resource_object("window", int(window))
            protocols, delete = d.intern_atom("WM_PROTOCOLS"), d.intern_atom("WM_DELETE_WINDOW")
            event = protocol.event.ClientMessage(window=target, client_type=protocols,
                                                 data=(32, [delete, X.CurrentTime, 0, 0, 0]))
            target.send_event(event, event_mask=X.NoEventMask)
            d.sync()
        finally:
            d.close()
        time.sleep(0.5)

    def tray_icon(self, timeout=10):
        """Screen position of the middle of the docked tray icon."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            for window in self.xdo("search", "--class", "trayer", check=False).stdout.split():
                x, y, w, h = self.geometry(window)
                if w >= 16 and h >= 16:
                    return x + w // 2, y + h // 2
            time.sleep(0.2)
        raise AssertionError("no tray icon docked")

    def geometry(self, window):
        """Where the window's inside is on the screen, and its size (under a window manager, too)."""
        out = run("xwininfo", "-id", window, env=self.env).stdout
        values = dict(line.strip().split(": ", 1) for line in out.splitlines() if ": " in line)
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]), int(values["Width"]),
                int(values["Height"]))

    def click_at(self, x, y, button="1"):
        self.xdo("mousemove", "--sync", str(x), str(y))
        self.xdo("click", button)
        time.sleep(0.15)

    def click_twips(self, left, top, width, height, window=None, button="1"):
        """Clicks the middle of a widget given by its window-relative geometry in twips."""
        x, y, _, _ = self.geometry(window or self.window)
        self.click_at(x + round(px(left + width / 2) * self.scale), y + round(px(top + height / 2) * self.scale), button)

    def dialog(self, name="^Zelvo$", timeout=10):
        """The newest visible window with that title other than the main window."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            others = [w for w in self.windows(name) if w != self.window]
            if others:
                return others[-1]
            time.sleep(0.1)
        raise AssertionError("no dialog named %r within %ss" % (name, timeout))

    def dialog_text(self, box):
        """Copies the text of a message box (its text can be selected)."""
        x, y, w, _ = self.geometry(box)
        self.click_at(x + w // 2, y + 18)  # the first line of the text
        self.key("ctrl+a", "ctrl+c")
        return self.selection("clipboard")

    def press(self, window, *keys):
        """Keys for a dialog: the pointer rests on it, so the keyboard goes there too."""
        x, y, w, h = self.geometry(window)
        self.xdo("mousemove", "--sync", str(x + w // 2), str(y + h // 2))
        self.key(*keys)

    def type(self, text):
        self.xdo("type", "--delay", "20", text)
        time.sleep(0.1)

    def key(self, *keys):
        self.xdo("key", *keys)
        time.sleep(0.15)

    def selection(self, which="primary"):
        return run("xclip", "-o", "-selection", which, env=self.env, check=False).stdout

    RIMS = {"red": lambda r, g, b: r > 170 and g < 70 and b < 70, "green": lambda r, g, b: g > 130 and r < 60 and b < 80,
            "amber": lambda r, g, b: r > 200 and 120 < g < 200 and b < 60,
            "blue": lambda r, g, b: b > 180 and r < 80 and g < 110}

    def find_tray_picture(self, top, height, rims=("red", "green")):
        """The middle of the pixels of the tray picture's rim (red at rest, green while counting, amber
        while a reminder waits, on a status-notifier panel) in a strip of the screen, as a panel draws
        it; None when there are none."""
        text = run("import", "-window", "root", "-crop", "%dx%d+0+%d" % (10000, height, top), "-depth", "8",
                   "txt:-", env=self.env).stdout
        found = []
        for line in text.splitlines()[1:]:
            place, _, colour = line.partition(": (")
            x, y = map(int, place.split(","))
            r, g, b = (int(float(v)) for v in colour.split(")")[0].split(",")[:3])
            if any(self.RIMS[rim](r, g, b) for rim in rims):
                found.append((x, y + top))
        if not found:
            return None
        return sum(p[0] for p in found) // len(found), sum(p[1] for p in found) // len(found)

    def panel_tooltip(self, x, y):
        """The tool tip a panel shows for what is drawn at x, y, as a user reads it (OCR)."""
        self.xdo("mousemove", str(x - 8), str(y))
        time.sleep(0.3)
        self.xdo("mousemove", str(x), str(y))
        time.sleep(2)
        shot = os.path.join(self.runtime, "tip.png")
        run("import", "-window", "root", "-crop", "460x80+%d+%d" % (max(0, x - 360), y + 18), "-negate",
            "-resize", "300%", shot, env=self.env)
        self.xdo("mousemove", "0", str(y + 300))  # the tip goes
        return run("tesseract", shot, "stdout").stdout.strip()

    def screenshot(self, name, window="root"):
        target = os.path.join(ARTIFACTS, name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        run("import", "-window", window, target, env=self.env)
        return target


# Row geometry in twips, relative to the main window, for the slot in position k (0-9) of a page.
ROW_LEFT, ROW_TOP, ROW_WIDTH, ROW_HEIGHT, GAP = 135, 135, 3972, 960, 100


def row_origin(k):
    column, line = divmod(k, 5)
    return ROW_LEFT + column * (ROW_WIDTH + GAP), ROW_TOP + line * (ROW_HEIGHT + GAP)


def row_widget(k, name):
    """Window-relative twips geometry of one widget of the row in page position k."""
    left, top = row_origin(k)
    inner = {
        "txtDesc": (90, 192, 3780, 285),
        "chkAlarm": (2352, 528, 396, 192),
        "chkRun": (2352, 720, 396, 204),
        "cmdAt": (2784, 528, 252, 330),
        "cmdPause": (3072, 528, 300, 330),
        "cmdStart": (3408, 528, 492, 330),
        "txtDays": (90 + 48, 513 + 48, 324, 285),
        "txtHours": (90 + 588, 513 + 48, 324, 285),
        "txtMinutes": (90 + 1164, 513 + 48, 324, 285),
        "txtSeconds": (90 + 1740, 513 + 48, 360, 285),
        "txtAtHour": (90 + 48, 513 + 48, 300, 300),
        "txtAtMin": (90 + 528, 513 + 48, 348, 300),
        "optAM": (90 + 1584, 513, 540, 192),
        "optPM": (90 + 1584, 513 + 192, 540, 192),
    }[name]
    return left + inner[0], top + inner[1], inner[2], inner[3]


PAGE_BUTTONS = {0: (2064, 5472, 588, 300), 1: (2736, 5472, 588, 300), 2: (3456, 5472, 588, 300),
                3: (4176, 5472, 588, 300)}
EXIT_BUTTON = (6528, 5715, 600, 465)



class Terminal:
    """A command on a pty that is its controlling terminal: Ctrl-C typed into it interrupts it."""

    def __init__(self, argv, env, cwd):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.chdir(cwd)
            os.execve(argv[0], argv, env)
        self.shown = b""

    def read_until(self, text, timeout):
        """What the terminal shows, once it shows text (or the command has ended)."""
        deadline = time.monotonic() + timeout
        while text.encode() not in self.shown and time.monotonic() < deadline:
            if not select.select([self.fd], [], [], 0.1)[0]:
                continue
            try:
                self.shown += os.read(self.fd, 4096)
            except OSError:  # the command has ended and the pty closed
                break
        return self.shown.decode(errors="replace")

    def type(self, keys):
        os.write(self.fd, keys)

    def wait(self, timeout=10):
        """The exit status (negative: the signal that ended it) and all it showed."""
        shown = self.read_until("\0", timeout)
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            pid, status = os.waitpid(self.pid, os.WNOHANG)
            if pid:
                os.close(self.fd)
                return os.waitstatus_to_exitcode(status), shown
            time.sleep(0.05)
        raise AssertionError("the command in the terminal did not end: " + shown)


# ---- today's desktops ----
def wait_until(check, timeout, failure):
    """failure: the message, or what makes it (only when the wait fails)."""
    deadline = time.time() + timeout
    while not check():
        if time.time() > deadline:
            raise AssertionError(failure() if callable(failure) else failure)
        time.sleep(0.1)


# Debian's pyatspi belongs to its own python3, so the tree is read in a process of that python.
ATSPI_TREE = """import json, pyatspi
def node(a): return {"role": a.getRoleName(), "name": a.name, "description": a.description,
                     "children": [node(c) for c in a if c is not None],
                     "states": [pyatspi.stateToString(s) for s in a.getState().getStates()]}
print(json.dumps([node(a) for a in pyatspi.Registry.getDesktop(0) if a is not None]))"""


class DBusSession:
    """A private session bus whose services (activated ones too) live in a home of their own, so
    nothing they write reaches the real one; processes started with start() end with stop()."""

    def __init__(self):
        self.home = tempfile.mkdtemp(prefix="zelvo-bus-")
        self.base_env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        self.base_env.update(HOME=self.home, XDG_RUNTIME_DIR=self.home, GSETTINGS_BACKEND="memory")
        address, pid = run("dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1",
                           env=self.base_env).stdout.split()
        self.pid, self.env, self.procs = int(pid), {"DBUS_SESSION_BUS_ADDRESS": address}, []
        self.tool_env = dict(self.base_env, **self.env)

    def start(self, *args, env=None):
        """A process on this bus; env: what else it sees (by default this session's home, no display)."""
        self.procs.append(subprocess.Popen(args, env=dict(env or self.base_env, **self.env),
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        return self.procs[-1]

    def start_accessibility(self):
        """The AT-SPI bus (activated on demand), switched on as a desktop does while a screen reader runs."""
        run("dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
            "org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status", "string:IsEnabled",
            "variant:boolean:true", env=self.tool_env)

    def accessible_windows(self, program):
        """What a screen reader sees of a program: its windows as nested role, name, description, states
        and children."""
        tree = json.loads(run("/usr/bin/python3", "-c", ATSPI_TREE, env=self.tool_env, timeout=60).stdout)
        return [window for p in tree if p["name"] == program for window in p["children"]]

    def stop(self):
        for proc in self.procs:
            proc.terminate()
            proc.wait(timeout=10)
        os.kill(self.pid, signal.SIGTERM)  # its activated services leave with it
        shutil.rmtree(self.home, ignore_errors=True)


def start_orca(session, app):
    """Debian's Orca on the session's accessibility bus, speaking through speech-dispatcher's generic
    module into a file (PulseAudio must run: speech-dispatcher wants a sound device). Returns a
    function that gives what Orca has said, one utterance a line."""
    conf = os.path.join(app.runtime, ".config", "speech-dispatcher")
    os.makedirs(os.path.join(conf, "modules"), exist_ok=True)
    spoken = os.path.join(app.runtime, "spoken.txt")
    with open(os.path.join(conf, "speechd.conf"), "w") as f:
        f.write('AddModule "generic" "sd_generic" "generic.conf"\nDefaultModule generic\nAudioOutputMethod "pulse"\n')
    with open(os.path.join(conf, "modules", "generic.conf"), "w") as f:
        f.write('GenericExecuteSynth "printf \'%%s\\\\n\' \\"$DATA\\" >> %s"\nAddVoice "en" "MALE1" "en"\n' % spoken)
    session.start("orca", "--debug-file=" + os.path.join(app.runtime, "orca.log"), env=app.env)

    def said():
        try:
            with open(spoken) as f:
                return f.read()
        except FileNotFoundError:
            return ""
    wait_until(lambda: "Screen reader on" in said(), 30, "Orca did not start speaking")
    return said


class Weston(Display):
    """Debian's weston with no screen (headless backend), on a socket in the runtime folder."""

    def __init__(self, runtime, name="zelvo-wayland"):
        self.name, self.env = name, {"WAYLAND_DISPLAY": name, "QT_QPA_PLATFORM": "wayland"}
        self.proc = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", "--socket=" + name, "--width=1280", "--height=1024"],
            env=dict(os.environ, XDG_RUNTIME_DIR=runtime, HOME=runtime), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        wait_until(lambda: os.path.exists(os.path.join(runtime, name)), 15, "weston did not start")


class Sway(Display):
    """Debian's sway with no screen (wlroots' headless backend), which brings a window forward when
    asked with a valid xdg-activation token, and only then. Sway refuses to run as root: there it
    runs as nobody, in a runtime folder of its own whose socket the others reach by its full path."""

    def __init__(self, runtime):
        self.runtime = tempfile.mkdtemp(prefix="zelvo-sway-")
        config = os.path.join(self.runtime, "config")
        with open(config, "w") as f:
            f.write("focus_on_window_activation focus\noutput HEADLESS-1 resolution 1280x1024\n")
        command = ["sway", "-c", config]
        if os.getuid() == 0:
            os.chmod(config, 0o644)
            shutil.chown(self.runtime, "nobody")
            command = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"] + command
        env = dict(os.environ, XDG_RUNTIME_DIR=self.runtime, HOME=self.runtime, WLR_BACKENDS="headless",
                   WLR_LIBINPUT_NO_DEVICES="1", WLR_RENDERER="pixman")
        env.pop("WAYLAND_DISPLAY", None)
        self.proc = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_until(lambda: glob.glob(os.path.join(self.runtime, "wayland-*[0-9]")) and
                   glob.glob(os.path.join(self.runtime, "sway-ipc.*")), 15, "sway did not start")
        self.name = glob.glob(os.path.join(self.runtime, "wayland-*[0-9]"))[0]
        self.env = {"WAYLAND_DISPLAY": self.name, "QT_QPA_PLATFORM": "wayland"}
        self.ipc = glob.glob(os.path.join(self.runtime, "sway-ipc.*"))[0]

    def focused(self):
        """The title of the window that has the keyboard focus, or None."""
        nodes = [json.loads(run("swaymsg", "-s", self.ipc, "-t", "get_tree").stdout)]
        for node in nodes:
            if node.get("focused") and node.get("type") in ("con", "floating_con"):
                return node.get("name")
            nodes += node.get("nodes", []) + node.get("floating_nodes", [])
        return None

    def click(self, x, y):
        import wayland_pointer
        wayland_pointer.click(x, y, 1280, 1024, self.name)

    def stop(self):
        super().stop()
        shutil.rmtree(self.runtime, ignore_errors=True)
