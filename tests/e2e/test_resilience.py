"""The settings file survives the worst: SIGKILL at any moment (inside the periodic save and the
unload save included) and a full disk during a save."""
import datetime
import errno
import os
import random
import signal
import subprocess
import sys
import tempfile
import time
import unittest

from Xlib import display as xdisplay

from harness import BIN, EXIT_BUTTON, Zelvo
from test_timer_board import parse_us, us_general

TRUE, FALSE = "-1 ", " 0 "
EXPIRED_HEADER = "The following alarms expired while the program was closed:"
DISK_FULL_TEXT = "You've run out of disk space on drive "
DISK_FULL_ADVICE = "Please clear some space and then click Retry, else click Cancel to abort."
EXIT_QUESTION = "You have timers running. Are you sure you want to exit?"

# Enough other settings that one save takes about a tenth of a second, so kills can land inside it.
JUNK_LINES = 60000
JUNK_VALUE = "x" * 40
SEED = int(os.environ.get("ZELVO_RESILIENCE_SEED", str(int(time.time()))))


def slot_lines(n, name, end, alarm=TRUE, run=FALSE, names=str.upper):
    return [names("TimerRunning%d" % n) + ",-1 ", names("TimerName%d" % n) + "," + name,
            names("Timer%dEnd" % n) + "," + us_general(end), names("AlarmOn%d" % n) + "," + alarm,
            names("Run%d" % n) + "," + run]


def stamp(path):
    st = os.stat(path)
    return st.st_ino, st.st_mtime_ns, st.st_size


def keep_display(test, app):
    """Holds one client on the X server: when its last client goes, the server resets, and a program
    connecting during the reset fails to start. Kills and short-lived xdotool calls make that likely."""
    keeper = xdisplay.Display(app.display.name)
    test.addCleanup(keeper.close)


def running_slots(stored):
    return [n for n in range(40) if stored.get("TIMERRUNNING%d" % n) == TRUE]


class KillNine(unittest.TestCase):
    """One program folder through a series of hard kills; after each one the file must be whole and
    hold every countdown the last completed save held."""

    def setUp(self):
        sys.stderr.write("\nZELVO_RESILIENCE_SEED=%d\n" % SEED)
        self.random = random.Random(SEED)
        self.app = Zelvo()
        self.addCleanup(self.app.stop)
        keep_display(self, self.app)
        self.outcomes = []

    # ---- the file ----
    def read_ini(self):
        with open(self.app.path("Zelvo.ini"), "rb") as f:
            return f.read()

    def whole(self, data, context):
        """The file as a dict; fails unless every line ends in CR LF, no earlier key is missing and no
        value was cut short."""
        self.assertTrue(data.endswith(b"\r\n"), "%s: the file does not end in CR LF" % context)
        lines = data[:-2].split(b"\r\n")
        stored = {}
        for line in lines:
            self.assertNotIn(b"\r", line, "%s: a lone CR in %r" % (context, line[:80]))
            self.assertNotIn(b"\n", line, "%s: a lone LF in %r" % (context, line[:80]))
            self.assertIn(b",", line, "%s: a line without a comma: %r" % (context, line[:80]))
            name, value = line.decode("utf-8").split(",", 1)
            self.assertNotIn(name, stored, "%s: %s written twice" % (context, name))
            stored[name] = value
        missing = self.keys - stored.keys()
        self.assertEqual(missing, set(), "%s: keys lost" % context)
        cut = [n for n in range(JUNK_LINES) if stored["JUNK%d" % n] != JUNK_VALUE]
        self.assertEqual(cut, [], "%s: values changed" % context)
        return stored

    def check_after_kill(self, context):
        """The file after a kill is whole and follows from the last complete file: countdowns ahead at the
        last start still run with the same end, the ones listed at that start are marked ended."""
        data = self.read_ini()
        stored = self.whole(data, context)
        if data != self.last_data:
            previous = self.last
            for n in range(40):
                running = stored.get("TIMERRUNNING%d" % n, FALSE)
                if n not in running_slots(previous):
                    self.assertEqual(running, FALSE, "%s: slot %d started by itself" % (context, n))
                elif n in self.listed:
                    self.assertEqual(running, FALSE, "%s: listed slot %d still marked running" % (context, n))
                else:
                    self.assertEqual(running, TRUE, "%s: countdown in slot %d lost" % (context, n))
                    for key in ("TIMERNAME%d", "ALARMON%d", "RUN%d"):
                        self.assertEqual(stored[key % n], previous[key % n], "%s: %s" % (context, key % n))
                    drift = parse_us(stored["TIMER%dEND" % n]) - parse_us(previous["TIMER%dEND" % n])
                    self.assertLessEqual(abs(drift.total_seconds()), 2, "%s: end of slot %d moved" % (context, n))
        self.keys = set(stored)
        self.last, self.last_data = stored, data
        return stored

    # ---- the program ----
    def launch(self):
        """Starts the program on the file as it stands and checks that the expired list names exactly the
        saved countdowns whose end has passed."""
        app = self.app
        due_before = datetime.datetime.now().replace(microsecond=0)
        running = running_slots(self.last)
        launched = time.time()
        app.start(wait_main=False)
        first = app.wait_window("^Zelvo$", timeout=30)
        self.listed = self.due(due_before, datetime.datetime.now())
        if self.listed:
            text = app.dialog_text(first)
            self.assertIn(EXPIRED_HEADER, text)
            for n in running:
                entry = "%s (%s)" % (self.last["TIMERNAME%d" % n], self.last["TIMER%dEND" % n].strip())
                if n in self.listed:
                    self.assertIn(entry, text)
                else:
                    self.assertNotIn(self.last["TIMERNAME%d" % n] + " (", text)
            app.key("Return")
            deadline = time.time() + 10
            while first in app.windows("^Zelvo$") and time.time() < deadline:
                time.sleep(0.1)
            app.window = app.wait_window("^Zelvo$")
        else:
            app.window = first
            time.sleep(1)
            self.assertEqual(app.windows("^Zelvo$"), [app.window], "a message at a start with nothing due")
        return launched

    def due(self, before, after):
        """The saved countdowns whose end passed before a start that ran between these two moments."""
        running = running_slots(self.last)
        ends = {n: parse_us(self.last["TIMER%dEND" % n]) for n in running}
        self.assertFalse([n for n in running if before < ends[n] <= after],
                         "a countdown fell due during the start; the test cannot tell what to expect")
        return [n for n in running if ends[n] <= before]

    def kill(self, context):
        self.app.proc.send_signal(signal.SIGKILL)
        self.app.proc.wait(timeout=10)
        return self.check_after_kill(context)

    def wait_for_save(self, launched, timeout=45):
        before = stamp(self.app.path("Zelvo.ini"))
        deadline = launched + timeout
        while stamp(self.app.path("Zelvo.ini")) == before:
            if time.time() >= deadline:  # the diagnosis takes a screenshot: only when it is needed
                self.fail("no periodic save\n" + self.app.diagnosis())
            time.sleep(0.05)
        return time.time()

    def kill_inside_the_periodic_save(self, launched, context):
        """Watches for the save's unnamed temporary file and kills the program while it is being written."""
        # The save timer starts with the main window, so its first round comes 30 s after the launch.
        time.sleep(max(0, launched + 27 - time.time()))
        deadline = launched + 45
        while time.time() < deadline:
            saving = [f for f in self.app.open_files() if not f.endswith(os.sep + "log.txt")]
            if saving:
                before = self.last_data
                self.kill(context)
                self.outcomes.append("%s (%s open): %s" % (context, saving[0], "old file kept"
                                                           if self.last_data == before else "new file in place"))
                return
            time.sleep(0.002)
        self.fail("no periodic save seen\n" + self.app.diagnosis())

    def kill_during_startup(self):
        started = datetime.datetime.now().replace(microsecond=0)
        self.app.proc = self.app.launch()
        time.sleep(self.random.uniform(0.0, 1.5))
        self.listed = self.due(started, datetime.datetime.now())
        self.kill("kill during the start-up")

    def kill_during_unload(self, number):
        """SIGTERM and a SIGKILL soon after: the kill lands before, inside or after the unload save."""
        app = self.app
        self.launch()
        time.sleep(self.random.uniform(0.2, 1.5))
        before = stamp(app.path("Zelvo.ini"))
        app.proc.send_signal(signal.SIGTERM)
        time.sleep(self.random.uniform(0.0, 0.3))
        ended = app.proc.poll() is not None
        self.kill("kill during the unload, round %d" % number)
        landed = stamp(app.path("Zelvo.ini")) != before
        outcome = ("ended by itself" if ended else "killed after the save" if landed
                   else "killed before or inside the save")
        self.outcomes.append("unload round %d: %s" % (number, outcome))

    def test_sigkill_at_any_moment_leaves_a_whole_file_with_every_saved_countdown(self):
        app = self.app
        now = datetime.datetime.now().replace(microsecond=0)
        kettle = now + datetime.timedelta(seconds=45)
        lines = (slot_lines(0, "Dentist", now + datetime.timedelta(minutes=10))
                 + slot_lines(1, "Call the bank", now + datetime.timedelta(minutes=25), alarm=FALSE)
                 + slot_lines(2, "Parking meter", now + datetime.timedelta(hours=2), run=TRUE)
                 + slot_lines(3, "Birthday", now + datetime.timedelta(days=2, hours=3))
                 + slot_lines(4, "Kettle", kettle)
                 + slot_lines(7, "Laundry", now - datetime.timedelta(hours=1))
                 + ["JUNK%d,%s" % (n, JUNK_VALUE) for n in range(JUNK_LINES)])
        app.write_settings(lines)
        self.last_data = self.read_ini()
        self.keys = set()
        self.last = self.whole(self.last_data, "the first file")
        self.keys = set(self.last)
        original = dict(self.last)

        # 1. A kill at a random moment after the first periodic save: Laundry was listed at the start.
        launched = self.launch()
        self.assertEqual(self.listed, [7])
        saved = self.wait_for_save(launched)
        self.assertLess(saved, kettle.timestamp() - 5, "the first save came too late to test anything")
        time.sleep(max(0, min(self.random.uniform(0.1, 3.0), kettle.timestamp() - 4 - time.time())))
        stored = self.kill("kill after the first save")
        self.assertNotEqual(self.last_data, b"".join(line.encode() + b"\r\n" for line in lines), "nothing saved")
        self.assertEqual(running_slots(stored), [0, 1, 2, 3, 4])

        # 2. While the kettle is still ahead: kills during the start-up and during the unload. Each start
        # may move its end on by up to a second, as the fields count whole seconds.
        def kettle_due():
            return parse_us(self.last["TIMER4END"]).timestamp()

        if time.time() + 4 < kettle_due():
            self.kill_during_startup()
        rounds = 0
        while rounds < 3 and time.time() + 7 < kettle_due():
            rounds += 1
            self.kill_during_unload(rounds)

        # 3. The kettle fell due while the program was closed: it is listed, and this run is killed
        # while its periodic save is being written.
        time.sleep(max(0, kettle_due() + 1.5 - time.time()))
        launched = self.launch()
        self.assertEqual(self.listed, [4])
        self.kill_inside_the_periodic_save(launched, "kill inside the periodic save")
        while rounds < 3:
            rounds += 1
            self.kill_during_unload(rounds)

        # 4. A clean end after all that still holds the four countdowns ahead, with their first ends.
        self.launch()
        app.proc.send_signal(signal.SIGTERM)
        self.assertEqual(app.wait_exit(), 0)
        final = self.check_after_kill("the clean end")
        self.assertEqual(running_slots(final), [0, 1, 2, 3])
        for n in range(4):
            for key in ("TIMERNAME%d", "ALARMON%d", "RUN%d"):
                self.assertEqual(final[key % n], original[key % n])
            drift = parse_us(final["TIMER%dEND" % n]) - parse_us(original["TIMER%dEND" % n])
            self.assertLessEqual(abs(drift.total_seconds()), 8, "slot %d drifted" % n)
        self.assertEqual(final["TIMERRUNNING4"], FALSE)
        self.assertEqual(final["TIMERRUNNING7"], FALSE)
        sys.stderr.write("\n".join(self.outcomes) + "\n")


class DiskFull(unittest.TestCase):
    """A small file system of its own as the program folder, filled up before a save."""

    def setUp(self):
        if os.geteuid() != 0:
            self.skipTest("mounting a small file system as the program folder needs root")
        if not BIN or not os.path.exists(BIN):
            self.skipTest("ZELVO_BIN does not point at the built program")
        folder = tempfile.mkdtemp(prefix="zelvo-full-")
        self.addCleanup(os.rmdir, folder)
        # The binary and its assets plus room for the settings and the log.
        size_kb = os.path.getsize(BIN) // 1024 + 8 * 1024
        mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=%dk,mode=0755" % size_kb, "zelvo-full", folder],
                                 capture_output=True, text=True)
        if mounted.returncode != 0:
            self.skipTest("mount refused: " + (mounted.stderr.strip() or "exit %d" % mounted.returncode))
        self.addCleanup(subprocess.run, ["umount", "-l", folder], check=False)
        self.app = Zelvo(folder=folder)
        self.addCleanup(self.app.stop)
        keep_display(self, self.app)
        self.end = datetime.datetime.now().replace(microsecond=0) + datetime.timedelta(minutes=10)
        # Names as a person might type them; the program writes them in upper case, which shows that a
        # save landed. The file fills most of one page; once the program has stored all forty slots it
        # needs two, so even a save that reused the old file's space could not fit.
        self.page = os.sysconf("SC_PAGE_SIZE")
        lines = slot_lines(0, "Dentist", self.end, names=str.lower)
        self.notes = 0
        while sum(len(line) + 2 for line in lines) + 68 <= self.page - 300:
            lines.append("note%d,%s" % (self.notes, "y" * 60))
            self.notes += 1
        self.app.write_settings(lines)
        with open(self.app.path("Zelvo.ini"), "rb") as f:
            self.old = f.read()
        self.app.start()

    def ini(self):
        with open(self.app.path("Zelvo.ini"), "rb") as f:
            return f.read()

    def fill(self):
        with open(self.app.path("filler"), "wb", buffering=0) as f:
            size = 1 << 20
            while size:
                try:
                    f.write(b"\0" * size)
                except OSError as error:
                    if error.errno != errno.ENOSPC:
                        raise
                    size //= 2
        self.assertEqual(os.statvfs(self.app.folder).f_bavail, 0)

    def free(self):
        os.remove(self.app.path("filler"))

    def files(self):
        return sorted(os.listdir(self.app.folder))

    def save_into_full_disk(self, trigger):
        self.fill()
        files = self.files()
        trigger()
        box = self.app.dialog()
        text = self.app.dialog_text(box)
        self.app.screenshot("disk-full-question.png", box)
        self.assertIn(DISK_FULL_TEXT, text)
        self.assertIn(DISK_FULL_ADVICE, text)
        self.assertEqual(self.ini(), self.old, "the old file was touched by the failed save")
        self.assertEqual(self.files(), files, "the failed save left a file behind")
        return box

    def wait_gone(self, window):
        deadline = time.time() + 10
        while window in self.app.windows(".*") and time.time() < deadline:
            time.sleep(0.1)

    def assert_saved(self, data):
        text = data.decode("utf-8")
        self.assertTrue(text.endswith("\r\n"))
        stored = dict(line.split(",", 1) for line in text[:-2].split("\r\n"))
        self.assertEqual(stored["TIMERRUNNING0"], TRUE)
        self.assertEqual(stored["TIMERNAME0"], "Dentist")
        self.assertLessEqual(abs((parse_us(stored["TIMER0END"]) - self.end).total_seconds()), 3)
        for n in range(self.notes):
            self.assertEqual(stored["NOTE%d" % n], "y" * 60)
        return stored

    def test_a_full_disk_at_the_unload_keeps_the_old_file_and_retry_saves_once_space_is_freed(self):
        app = self.app
        box = self.save_into_full_disk(lambda: app.proc.send_signal(signal.SIGTERM))
        self.free()
        app.press(box, "Return")  # Retry is the default button
        self.assertEqual(app.wait_exit(), 0)
        saved = self.ini()
        stored = self.assert_saved(saved)
        self.assertEqual([stored["TIMERRUNNING%d" % n] for n in range(1, 40)], [FALSE] * 39)
        self.assertLessEqual(len(self.old), self.page)
        self.assertGreater(len(saved), self.page)

    def test_a_second_failure_at_exit_shows_the_error_reporter_and_the_program_saves_later(self):
        app = self.app
        box = self.save_into_full_disk(lambda: app.click_twips(*EXIT_BUTTON))
        files = self.files()
        app.press(box, "Return")  # Retry with the disk still full
        reporter = app.wait_window("^Error Reporter$")
        app.screenshot("disk-full-error-reporter.png", reporter)
        x, y, _, _ = app.geometry(reporter)
        app.click_at(x + 100, y + 100)  # the error details
        app.key("ctrl+a", "ctrl+c")
        self.assertEqual(app.selection("clipboard").strip(), "61 - Disk full in SaveSettings")
        self.assertEqual(self.ini(), self.old, "the old file was touched by the second attempt")
        self.assertEqual(self.files(), files, "the second attempt left a file behind")
        app.press(reporter, "Escape")
        self.wait_gone(reporter)
        question = app.dialog()
        self.assertIn(EXIT_QUESTION, app.dialog_text(question))
        app.press(question, "Escape")  # stay
        self.wait_gone(question)
        self.assertIsNone(app.proc.poll())
        self.assertEqual(self.ini(), self.old)
        # With space again, the unload at the system's close writes the file.
        self.free()
        app.proc.send_signal(signal.SIGTERM)
        self.assertEqual(app.wait_exit(), 0)
        self.assert_saved(self.ini())


if __name__ == "__main__":
    unittest.main()
