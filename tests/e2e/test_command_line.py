"""The zelvo command line against the real program under Xvfb: commands to a running copy, a
start that brings the program up, the menu entry's actions, and input that must change nothing."""
import configparser
import datetime
import glob
import json
import os
import socket
import shlex
import signal
import stat
import subprocess
import threading
import time
import unittest

from harness import EXIT_BUTTON, Zelvo, wait_until
from test_timer_board import us_general

DESKTOP = os.path.join(os.path.dirname(__file__), "..", "..", "packaging", "zelvo.desktop")


class CommandLine(unittest.TestCase):
    def setUp(self):
        self.app = Zelvo()
        self.addCleanup(self.app.stop)

    def zelvo(self, *args):
        return self.app.command(*args)

    def log(self):
        with open(self.app.path("log.txt"), "rb") as f:
            return f.read().decode(errors="replace")

    def listed(self):
        return {row["slot"]: row for row in json.loads(self.zelvo("list", "--json").stdout)}

    def test_start_brings_the_program_up_and_the_running_copy_carries_out_every_command(self):
        app = self.app
        self.assertEqual((self.zelvo("list").returncode, self.zelvo("list").stderr), (1, "zelvo: Zelvo is not running\n"))
        # From a real terminal (script gives the shell one): the command returns at once, and the
        # program it started outlives the terminal, which hangs up as it closes.
        began = time.monotonic()
        terminal = subprocess.run(["script", "-qec", shlex.quote(app.path("zelvo")) + " start 5m Tea", "/dev/null"],
                                  env=app.program_env, cwd=app.folder, capture_output=True, text=True, timeout=30)
        self.assertLess(time.monotonic() - began, 2)
        self.assertEqual(terminal.returncode, 0, terminal.stdout)
        self.assertIn('Timer 10 "Tea" ends at', terminal.stdout)
        app.window = app.wait_window("^Zelvo$")
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
        wait_until(lambda: not app.copies(), 10, "the program did not end")
        self.assertEqual(glob.glob(os.path.join(app.runtime, "zelvo-*")), [], "a clean end leaves no lock or socket")

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
        for bad in (None, (("start", "5 parsecs"), 2, "not a duration: 5 parsecs\nTry 'zelvo --help'."),
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

    def test_without_a_display_a_start_says_so_in_one_line(self):
        env = {k: v for k, v in self.app.program_env.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        for display in ({}, {"DISPLAY": ":99"}):  # none at all, or one that is not there
            bare = subprocess.run([self.app.path("zelvo")], env={**env, **display}, cwd=self.app.folder,
                                  capture_output=True, text=True, timeout=20)
            self.assertEqual((bare.returncode, bare.stderr), (1, "zelvo: no display was found: Zelvo shows its window "
                                                                 "on a desktop (X11 or Wayland)\n"))
        self.assertNotIn("Zelvo.ini", os.listdir(self.app.folder), "nothing written")

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

    def test_forty_five_at_once_fill_all_forty_rows_and_the_rest_are_told_no(self):
        self.app.start()
        results = []
        starts = [threading.Thread(target=lambda: results.append(self.zelvo("start", "1h"))) for _ in range(45)]
        for thread in starts:
            thread.start()
        for thread in starts:
            thread.join()
        self.assertEqual(sorted(r.returncode for r in results), [0] * 40 + [1] * 5)
        self.assertEqual({r.stderr for r in results if r.returncode},
                         {"zelvo: No free timers available. Cannot start countdown.\n"})
        self.assertEqual(len(self.listed()), 40)

    def test_a_start_during_the_update_question_returns_at_once_and_quit_answers_it(self):
        app = self.app
        app.start()
        app.dialog(timeout=45)  # the update question, 30 s after a first start
        began = time.monotonic()
        started = self.zelvo("start", "5m", "Tea")  # a keyboard shortcut's command: the question touches no slot
        self.assertLess(time.monotonic() - began, 2)
        self.assertEqual((started.returncode, started.stderr), (0, ""))
        self.assertEqual([r["message"] for r in self.listed().values()], ["Tea"])
        self.assertEqual(self.zelvo("quit").returncode, 0)
        wait_until(lambda: not app.copies(), 10, "quit did not end the program")
        self.assertEqual(app.settings()["TIMERNAME9"], "Tea")

    def test_a_command_that_waits_says_for_what_and_ctrl_c_cancels_it(self):
        app = self.app
        app.write_settings(["ASKEDABOUTAUTOUPDATES,-1 ", "DISABLEAUTOUPDATECHECK,-1 "])
        app.start()
        self.assertEqual(self.zelvo("start", "20m", "Laundry").returncode, 0)
        app.click_twips(*EXIT_BUTTON)
        box = app.dialog()  # Exit's question holds what comes from outside
        waiting = app.in_terminal("start", "6m", "Coffee")
        shown = waiting.read_until("answered", 2)
        self.assertIn("zelvo: waiting until Zelvo's question \"You have timers running. Are you sure you want to exit?\" is answered", shown)
        waiting.type(b"\x03")  # Ctrl-C, typed
        self.assertEqual(waiting.wait()[0], -signal.SIGINT)
        app.press(box, "Escape")  # No: the program goes on
        wait_until(lambda: "Command start was not carried out: its caller had gone" in self.log(), 10, self.log)
        self.assertEqual([r["message"] for r in self.listed().values()], ["Laundry"])
        # With nothing open, a command says nothing of waiting.
        done = app.in_terminal("start", "1m", "Tea").wait()
        self.assertEqual(done[0], 0)
        self.assertRegex(done[1], r'^Timer \d+ "Tea" ends at [^\n]*\s*$')

    def test_a_flood_of_connections_leaves_list_answering_and_the_log_short(self):
        app = self.app
        app.start()
        [path] = glob.glob(os.path.join(app.runtime, "zelvo-*.sock"))
        peers = []
        for n in range(900):
            peer = socket.socket(socket.AF_UNIX)
            peer.settimeout(2)
            try:
                peer.connect(path)
                peer.sendall(b"x" if n % 2 else b"")
            except OSError:
                pass
            peers.append(peer)
        self.assertEqual(self.zelvo("list").returncode, 0)
        for peer in peers:
            peer.close()
        time.sleep(3)
        self.assertEqual(self.zelvo("start", "1m", "After").returncode, 0)
        self.assertLessEqual(self.log().count("Command refused: the message was"), 5)


if __name__ == "__main__":
    unittest.main()
