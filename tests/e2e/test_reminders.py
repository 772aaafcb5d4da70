"""What a reminder offers, driven as a user drives it: its Snooze button, the command line, the
notice's action chosen in dunst's own menu, and a repeating countdown, on a private session bus."""
import datetime
import json
import os
import time
import unittest

from harness import DBusSession, Zelvo, run, wait_until
from test_accessibility import showing
from test_timer_board import parse_us, us_general

SNOOZE = (450, 1845, 1335, 330)  # the button's part left of its arrow is clicked at its middle
ALERT = "^Zelvo Alert!$"


class Reminders(unittest.TestCase):
    def setUp(self):
        self.session = DBusSession()
        self.app = Zelvo(session=self.session)
        self.addCleanup(self.app.stop)

    def left(self, slot):
        rows = {row["slot"]: row for row in json.loads(self.app.command("list", "--json").stdout)}
        return rows[slot]["remainingSeconds"] if slot in rows else None

    def ring_soon(self, seconds=3):
        due = datetime.datetime.now().replace(microsecond=0) + datetime.timedelta(seconds=seconds)
        self.app.write_settings(["TIMERRUNNING0,-1 ", "TIMERNAME0,Tea", "TIMER0END," + us_general(due),
                                 "ALARMON0,-1 ", "RUN0,0 "])
        self.app.start()
        return self.app.wait_window(ALERT, timeout=20)

    def test_snooze_from_the_window_the_command_line_and_dunsts_menu_rings_again_and_is_kept(self):
        app, env = self.app, dict(self.app.env, **self.session.env)
        menu = os.path.join(self.session.home, "menu.sh")
        with open(menu, "w") as f:
            f.write("#!/bin/sh\ngrep 'Snooze 5 minutes'\n")  # the user picks Snooze in dunst's menu
        os.chmod(menu, 0o755)
        with open(os.path.join(self.session.home, "dunstrc"), "w") as f:
            f.write("[global]\n    dmenu = %s\n" % menu)
        self.session.start("dunst", "-config", os.path.join(self.session.home, "dunstrc"), env=app.env)
        alert = self.ring_soon()
        app.click_twips(SNOOZE[0], SNOOZE[1], SNOOZE[2] - 300, SNOOZE[3], window=alert)
        clicked = datetime.datetime.now()
        wait_until(lambda: not app.windows(ALERT), 5, "Snooze did not close the reminder")
        self.assertIn(self.left(1), (299, 300))

        # One ring, one answer: the command line's second one is told what the first started.
        done = app.command("snooze", "1", "5s")
        self.assertEqual(done.returncode, 1)
        self.assertIn("Timer 1 was already snoozed: it ends at ", done.stderr)
        self.assertEqual(app.command("start", "5s", "Tea", "--slot", "10").returncode, 0)
        asked = time.time()
        app.wait_window(ALERT, timeout=10)
        self.assertAlmostEqual(time.time() - asked, 5, delta=0.7)
        wait_until(lambda: run("dunstctl", "count", "displayed", env=env).stdout.strip() == "1", 5, "no notice")
        run("dunstctl", "context", env=env)
        wait_until(lambda: not app.windows(ALERT), 5, "Snooze in dunst's menu did not close the reminder")
        self.assertIn(self.left(10), (299, 300))

        again = app.command("snooze")  # timer 10 rang last, and its notice answered it
        self.assertEqual((again.returncode, again.stderr.split(":")[1]), (1, " Timer 10 was already snoozed"))
        self.assertEqual(app.command("quit").returncode, 0)
        self.assertEqual(app.wait_exit(), 0)
        stored = app.settings()
        self.assertLessEqual(abs((parse_us(stored["TIMER0END"]) - clicked).total_seconds() - 300), 2)
        self.assertEqual(stored["LASTSECONDS0"].strip(), "300")
        with open(app.path("log.txt"), "rb") as f:
            log = f.read()
        for line, times in ((b"Timer 1 snoozed for 300 s: it ends at ", 1), (b"Timer 10 snoozed for 300 s: it ends at ", 1),
                            (b" in timer ", 0)):
            self.assertEqual(log.count(line), times, line)

    def test_a_repeat_rings_on_the_beat_of_its_ends_and_its_row_says_so(self):
        app = self.app
        self.session.start_accessibility()
        # Every 5 s, as a row's repeat mark allows (the command line asks for a minute at least).
        due = datetime.datetime.now().replace(microsecond=0) + datetime.timedelta(seconds=7)
        app.write_settings(["TIMERRUNNING6,-1 ", "TIMERNAME6,Stretch", "TIMER6END," + us_general(due), "ALARMON6,-1 ",
                            "RUN6,0 ", "REPEATON6,-1 ", "LASTSECONDS6,5"])
        app.start()
        started = due.timestamp() - 5
        self.assertIn("counting, repeats", self.app.command("list").stdout)
        rang = []
        while len(rang) < 3 and time.time() < started + 25:
            if len(app.windows(ALERT)) > len(rang):
                rang.append(time.time() - started)
            time.sleep(0.05)
        self.assertEqual(len(rang), 3, app.diagnosis())
        for k, at in enumerate(rang, 1):
            self.assertAlmostEqual(at, 5 * k, delta=0.5)
        [main] = [w for w in self.session.accessible_windows("Zelvo") if w["name"] == "Zelvo"]
        self.assertIn("Timer 7 repeats at each end", [n["name"] for n in showing(main)])
        self.assertEqual(self.app.command("stop", "7").returncode, 0)
        self.assertIsNone(self.left(7))


if __name__ == "__main__":
    unittest.main()
