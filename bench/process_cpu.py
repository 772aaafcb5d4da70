#!/usr/bin/env python3
"""Whole-process CPU of the real zelvo binary under Xvfb, idle and with forty slots counting.

Usage: bench/process_cpu.py BUILD_DIR [SECONDS]

The CPU time is the scheduler's own count (perf stat's task-clock) where perf works; the user and
system times of /proc/PID/stat, read otherwise, come in 10 ms steps and on this machine image
disagreed with it by up to half for a program that wakes ten times a second."""
import datetime
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
os.environ.setdefault("ZELVO_BIN", os.path.join(sys.argv[1] if len(sys.argv) > 1 else "build", "zelvo"))
import harness  # noqa: E402

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def perf_task_clock(pid, seconds):
    """CPU seconds the scheduler counted for the process over the next `seconds`; None without perf."""
    if not shutil.which("perf"):
        return None
    out = subprocess.run(["perf", "stat", "-x", ",", "-e", "task-clock", "-p", str(pid), "--", "sleep", str(seconds)],
                         capture_output=True, text=True).stderr
    for line in out.splitlines():
        fields = line.split(",")
        if len(fields) > 2 and fields[2] == "task-clock" and fields[0].replace(".", "", 1).isdigit():
            return float(fields[0]) / 1000.0
    return None


def us_general(moment):
    hour = moment.hour % 12 or 12
    return "%d/%d/%d %d:%02d:%02d %s" % (moment.month, moment.day, moment.year, hour, moment.minute,
                                         moment.second, "AM" if moment.hour < 12 else "PM")


def measure(counting, seconds):
    app = harness.Zelvo()
    try:
        # The steady state: the weekly-check question answered once (else it opens 30 s after the
        # first start, inside the measurement) and no check due.
        lines = ["ASKEDABOUTAUTOUPDATES,-1 ", "DISABLEAUTOUPDATECHECK,-1 "]
        if counting:
            end = datetime.datetime.now() + datetime.timedelta(days=3)
            for n in range(40):
                lines += ["TIMERRUNNING%d,-1 " % n, "TIMER%dEND,%s" % (n, us_general(end)), "TIMERNAME%d,Slot %d" % (n, n)]
        app.write_settings(lines)
        app.start()
        time.sleep(3)
        used = perf_task_clock(app.proc.pid, seconds)
        if used is not None:
            return 100.0 * used / seconds
        before, started = cpu_seconds(app.proc.pid), time.time()
        time.sleep(seconds)
        used, wall = cpu_seconds(app.proc.pid) - before, time.time() - started
        return 100.0 * used / wall
    finally:
        app.stop()


def main():
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 60
    idle = measure(False, seconds)
    busy = measure(True, seconds)
    print("CPU over %.0f s, nothing counting: %.3f %% of one core" % (seconds, idle))
    print("CPU over %.0f s, 40 slots counting: %.3f %% of one core" % (seconds, busy))


if __name__ == "__main__":
    main()
