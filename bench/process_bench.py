#!/usr/bin/env python3
"""Whole-process figures of the real zelvo binary under Xvfb, beside GNOME Clocks in the same kind of
X server: time from start to the main window mapped, peak RSS, and the delay of each reminder window
when forty countdowns end in the same second.

Usage: bench/process_bench.py BUILD_DIR [RUNS]

Windows are seen through MapNotify events on the root window (no window manager runs, so a top-level
map reaches the root at once); times are taken in this process when the event arrives."""
import datetime
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
os.environ.setdefault("ZELVO_BIN", os.path.join(sys.argv[1] if len(sys.argv) > 1 else "build", "zelvo"))
import harness  # noqa: E402
from Xlib import X, display  # noqa: E402


class MapWatcher(threading.Thread):
    """Records (time, title) of every top-level window mapped on the display."""

    def __init__(self, name):
        super().__init__(daemon=True)
        self.d = display.Display(name)
        self.root = self.d.screen().root
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.d.sync()
        self.maps = []
        self.lock = threading.Condition()

    def title(self, window):
        try:
            name = window.get_full_text_property(self.d.intern_atom("_NET_WM_NAME"))
            return name if name else (window.get_wm_name() or "")
        except Exception:  # the window may be gone already
            return ""

    def run(self):
        while True:
            try:
                event = self.d.next_event()
            except Exception:  # the X server ended with the run
                return
            if event.type == X.MapNotify:
                moment = time.time()
                with self.lock:
                    self.maps.append((moment, self.title(event.window)))
                    self.lock.notify_all()

    def wait(self, predicate, timeout):
        deadline = time.time() + timeout
        with self.lock:
            while True:
                found = [m for m in self.maps if predicate(m[1])]
                if found or time.time() > deadline:
                    return found
                self.lock.wait(0.05)

    def wait_count(self, title, count, timeout):
        deadline = time.time() + timeout
        with self.lock:
            while True:
                found = [m for m in self.maps if m[1] == title]
                if len(found) >= count or time.time() > deadline:
                    return found
                self.lock.wait(0.05)


def peak_rss_mb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024.0
    return float("nan")


def us_general(moment):
    hour = moment.hour % 12 or 12
    return "%d/%d/%d %d:%02d:%02d %s" % (moment.month, moment.day, moment.year, hour, moment.minute,
                                         moment.second, "AM" if moment.hour < 12 else "PM")


def forty_slots(end):
    lines = []
    for n in range(40):
        lines += ["TIMERRUNNING%d,-1" % n, "TIMERNAME%d,Slot %d is due" % (n, n + 1), "TIMER%dEND,%s" % (n, us_general(end)),
                  "ALARMON%d,-1" % n, "RUN%d,0" % n]
    return lines


def zelvo_start(settings, with_sound=False, settle=3.0):
    """Seconds from spawning zelvo to its main window mapped, and its peak RSS after `settle` s."""
    app = harness.Zelvo(with_sound=with_sound)
    try:
        if settings:
            app.write_settings(settings)
        watcher = MapWatcher(app.display.name)
        watcher.start()
        started = time.time()
        app.proc = app.launch()
        shown = watcher.wait(lambda t: t == "Zelvo", 20)
        if not shown:
            raise RuntimeError("zelvo showed no main window\n" + app.diagnosis())
        time.sleep(settle)
        return shown[0][0] - started, peak_rss_mb(app.proc.pid)
    finally:
        app.stop()


def clocks_start(settle=3.0):
    """The same for GNOME Clocks, in its own Xvfb and session bus."""
    screen = harness.Display()
    home = tempfile.mkdtemp(prefix="clocks-home-")
    os.chmod(home, 0o700)
    env = dict(os.environ, DISPLAY=screen.name, HOME=home, XDG_RUNTIME_DIR=home, LANG="C.UTF-8", LC_ALL="C.UTF-8",
               GDK_BACKEND="x11", NO_AT_BRIDGE="1")
    bus = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"],
                         env=env, capture_output=True, text=True, check=True).stdout.split()
    env["DBUS_SESSION_BUS_ADDRESS"], bus_pid = bus[0], int(bus[1])
    watcher = MapWatcher(screen.name)
    watcher.start()
    proc = None
    try:
        started = time.time()
        proc = subprocess.Popen(["gnome-clocks"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shown = watcher.wait(lambda t: t == "Clocks", 30)
        if not shown:
            raise RuntimeError("GNOME Clocks showed no window")
        time.sleep(settle)
        return shown[0][0] - started, peak_rss_mb(proc.pid)
    finally:
        if proc:
            proc.kill()
            proc.wait(timeout=10)
        os.kill(bus_pid, 9)
        screen.stop()
        shutil.rmtree(home, ignore_errors=True)


def alarm_delays(with_sound):
    """Delays (s) of the forty "Zelvo Alert!" windows after their common stored end moment."""
    app = harness.Zelvo(with_sound=with_sound)
    try:
        end = datetime.datetime.fromtimestamp(int(time.time()) + 6)
        app.write_settings(forty_slots(end))
        watcher = MapWatcher(app.display.name)
        watcher.start()
        app.proc = app.launch()
        if not watcher.wait(lambda t: t == "Zelvo", 20):
            raise RuntimeError("zelvo showed no main window\n" + app.diagnosis())
        alerts = watcher.wait_count("Zelvo Alert!", 40, 30)
        if len(alerts) < 40:
            raise RuntimeError("only %d reminder windows\n%s" % (len(alerts), app.diagnosis()))
        return [moment - end.timestamp() for moment, _ in alerts[:40]]
    finally:
        app.stop()


def ms(seconds):
    return "%.0f ms" % (seconds * 1000)


def command_times(runs):
    """Seconds from running `zelvo list` to its exit, while a copy with 40 counting slots runs."""
    app = harness.Zelvo()
    try:
        app.write_settings(forty_slots(datetime.datetime.now() + datetime.timedelta(days=3)))
        app.start()
        times = []
        for _ in range(runs + 1):  # the first warms the file cache
            started = time.time()
            done = subprocess.run([app.path("zelvo"), "list"], env=app.program_env, capture_output=True)
            times.append(time.time() - started)
            if done.returncode != 0 or done.stdout.count(b"\n") != 40:
                raise RuntimeError("zelvo list failed: %r" % done.stderr)
        return times[1:]
    finally:
        app.stop()


def main():
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    zelvo_start(None)  # warms the file cache and fontconfig's cache for both
    clocks_start(1)
    end = datetime.datetime.now() + datetime.timedelta(days=3)
    cases = [("no settings file", None), ("40 counting slots", forty_slots(end))]
    figures = {}
    for label, settings in cases:
        samples = [zelvo_start(settings) for _ in range(runs)]
        figures[label] = samples
        starts = [s for s, _ in samples]
        print("zelvo start to main window, %s: median %s (min %s, max %s over %d runs); peak RSS %.1f MB"
              % (label, ms(statistics.median(starts)), ms(min(starts)), ms(max(starts)), runs,
                 max(r for _, r in samples)))
    lists = command_times(max(runs, 10))
    print("zelvo list to its exit, a copy with 40 counting slots running: median %s (min %s, max %s over %d runs)"
          % (ms(statistics.median(lists)), ms(min(lists)), ms(max(lists)), len(lists)))
    clocks = [clocks_start() for _ in range(runs)]
    c_start = statistics.median(s for s, _ in clocks)
    c_rss = max(r for _, r in clocks)
    print("GNOME Clocks start to window: median %s (min %s, max %s over %d runs); peak RSS %.1f MB"
          % (ms(c_start), ms(min(s for s, _ in clocks)), ms(max(s for s, _ in clocks)), runs, c_rss))
    for label, samples in figures.items():
        print("ratio zelvo/Clocks, %s: start %.2f, peak RSS %.2f"
              % (label, statistics.median(s for s, _ in samples) / c_start, max(r for _, r in samples) / c_rss))
    for with_sound in (True, False):
        for attempt in range(2):
            delays = alarm_delays(with_sound)
            print("40 reminders due in the same second (%s, run %d): first %s, median %s, last %s after the end moment; "
                  "within 120 ms: %d of 40"
                  % ("alarm sound on a PulseAudio null sink" if with_sound else "no sound device", attempt + 1,
                     ms(delays[0]), ms(statistics.median(delays)), ms(delays[-1]),
                     sum(1 for d in delays if 0 <= d <= 0.120)))


if __name__ == "__main__":
    main()
