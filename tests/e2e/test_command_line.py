"""The zelvo command line against the real program under Xvfb: commands to a running copy, a
start that brings the program up, the menu entry's actions, and input that must change nothing."""
import configparser
import datetime
import glob
import json
import os
import socket
import stat
import subprocess
import unittest

from harness import Zelvo, wait_until
from test_timer_board import us_general

DESKTOP = os.path.join(os.path.dirname(__file__), "..", "..", "packaging", "zelvo.desktop")


class CommandLine(unittest.TestCase):
    def setUp(self):
        self.app = Zelvo()
        self.addCleanup(self.app.stop)

    def zelvo(self, *args):
        return subprocess.run([self.app.path("zelvo"), *args], env=self.app.program_env, cwd=self.app.folder,
                              capture_output=True, text=True, timeout=30)

    def log(self):
        with open(self.app.path("log.txt"), "rb") as f:
            return f.read().decode(errors="replace")

    def listed(self):
        return {row["slot"]: row for row in json.loads(self.zelvo("list", "--json").stdout)}

    def test_start_brings_the_program_up_and_the_running_copy_carries_out_every_command(self):
        app = self.app
        self.assertEqual((self.zelvo("list").returncode, self.zelvo("list").stderr), (1, "zelvo: Zelvo is not running\n"))
        app.proc = subprocess.Popen([app.path("zelvo"), "start", "5m", "Tea"], env=app.program_env, cwd=app.folder,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        app.window = app.wait_window("^Zelvo$")
        wait_until(lambda: self.zelvo("list").stdout, 10, "the started copy has no countdown")
        # The menu entry's actions, as a launcher runs them.
        entry = configparser.ConfigParser(interpolation=None)
        entry.read(DESKTOP)
        for action in entry["Desktop Entry"]["Actions"].strip(";").split(";"):
            exec_line = entry["Desktop Action " + action]["Exec"].split()
            done = self.zelvo(*exec_line[1:])
            self.assertEqual(done.returncode, 0, done.stderr)
        rows = self.listed()
        self.assertEqual(sorted((r["message"], r["state"]) for r in rows.values()),
                         [("Instant timer", "counting")] * 3 + [("Tea", "counting")])
        tea = [n for n, r in rows.items() if r["message"] == "Tea"][0]
        self.assertEqual(self.zelvo("pause", str(tea)).stdout, "Timer %d paused\n" % tea)
        self.assertEqual(self.listed()[tea]["state"], "paused")
        self.assertEqual(self.zelvo("stop", str(tea)).returncode, 0)
        self.assertNotIn(tea, self.listed())
        self.assertEqual(self.zelvo("quit").returncode, 0)
        self.assertEqual(app.wait_exit(), 0)

        entry = os.path.join(app.env["HOME"], ".config", "autostart", "zelvo.desktop")
        self.assertEqual(self.zelvo("autostart", "on").returncode, 0)
        with open(entry) as f:
            self.assertIn('Exec="%s"\n' % app.path("zelvo"), f.read())
        self.assertEqual(self.zelvo("autostart", "off").returncode, 0)
        self.assertFalse(os.path.exists(entry))

    def test_bad_input_changes_nothing_and_a_garbage_message_is_refused_while_counting_goes_on(self):
        app = self.app
        app.write_settings(["TIMERRUNNING0,-1 ", "TIMERNAME0,Bread", "ALARMON0,-1 ", "RUN0,0 ",
                            "TIMER0END," + us_general(datetime.datetime.now() + datetime.timedelta(minutes=5))])
        saved = []
        for bad in (None, (("start", "5 minutes"), 2, "not a duration: 5 minutes\nTry 'zelvo --help'."),
                    (("start", "1m", "--slot", "1"), 1, "Timer 1 is busy: stop it first")):
            app.start()
            if bad:
                done = self.zelvo(*bad[0])
                self.assertEqual((done.returncode, done.stderr), (bad[1], "zelvo: %s\n" % bad[2]))
            self.assertEqual(self.zelvo("quit").returncode, 0)
            self.assertEqual(app.wait_exit(), 0)
            with open(app.path("Zelvo.ini"), "rb") as f:
                saved.append(f.read())
        self.assertEqual(saved[1:], saved[:1] * 2, "what a bad command leaves behind is what no command leaves")

        app.start()
        [path] = glob.glob(os.path.join(app.runtime, "zelvo-*.sock"))
        self.assertEqual(stat.S_IMODE(os.stat(path).st_mode) & 0o077, 0, "the channel is the user's alone")
        for garbage in (b"\xff\x00not json\n", b"{" * 20000):
            with socket.socket(socket.AF_UNIX) as peer:
                peer.connect(path)
                peer.sendall(garbage)
        wait_until(lambda: self.log().count("Command refused") == 2, 10, app.diagnosis)
        [row] = self.listed().values()
        self.assertEqual((row["message"], row["state"]), ("Bread", "counting"))

    def test_a_countdown_started_under_one_locale_comes_back_under_another(self):
        app = self.app
        app.program_env.update(LANG="en_GB.UTF-8", LC_ALL="en_GB.UTF-8")
        app.start()
        done = self.zelvo("start", "2h", "Tea")
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertRegex(done.stdout, r"ends at \d{4}-\d\d-\d\d \d\d:\d\d:\d\d [+-]\d\d:\d\d")
        self.assertEqual(self.zelvo("quit").returncode, 0)
        self.assertEqual(app.wait_exit(), 0)
        self.assertRegex(app.settings()["TIMER9END"], r"^\d\d/\d\d/\d{4} \d\d:\d\d:\d\d$", "written day first")
        app.program_env.update(LANG="C.UTF-8", LC_ALL="C.UTF-8")
        app.start()
        [row] = self.listed().values()
        self.assertEqual((row["slot"], row["message"], row["state"]), (10, "Tea", "counting"), app.diagnosis())
        self.assertAlmostEqual(row["remainingSeconds"], 7200, delta=60)
        self.assertRegex(row["end"], r"T\d\d:\d\d:\d\d[+-]\d\d:\d\d$")


if __name__ == "__main__":
    unittest.main()
