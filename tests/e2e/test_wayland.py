"""A Wayland desktop with no notification area (headless Weston), reached through the settings file,
signals and the AT-SPI bus, since the X tools cannot reach it."""
import datetime
import os
import signal
import time
import unittest

from harness import DBusSession, Zelvo, wait_until
from test_timer_board import parse_us, us_general


class Wayland(unittest.TestCase):
    def test_a_restored_countdown_runs_its_file_and_sigterm_keeps_the_other_without_a_tray(self):
        session = DBusSession()
        session.start_accessibility()
        app = Zelvo(wayland=True, session=session)
        self.addCleanup(app.stop)
        marker, script = app.path("ran"), app.path("note.sh")
        with open(script, "w") as f:
            f.write('#!/bin/sh\ntouch "%s"\n' % marker)
        os.chmod(script, 0o755)
        now = datetime.datetime.now().replace(microsecond=0)
        soon, later = now + datetime.timedelta(seconds=8), now + datetime.timedelta(hours=1)
        app.write_settings(["HIDEONRUN,-1 ", "TIMERRUNNING0,-1 ", "TIMERNAME0,Tea", "TIMER0END," + us_general(soon),
                            "ALARMON0,-1 ", "RUN0,-1 ", "RUNFILE0," + script, "TIMERRUNNING1,-1 ",
                            "TIMERNAME1,Meeting", "TIMER1END," + us_general(later), "ALARMON1,-1 ", "RUN1,0 "])
        app.start(wait_main=False)
        wait_until(lambda: os.path.exists(marker), 30, app.diagnosis)
        self.assertGreaterEqual(os.stat(marker).st_mtime, time.mktime(soon.timetuple()) - 0.5, "ran before its end")
        # The reminder came first; hiding at start would have left no way back, so the window shows too.
        shown = {w["name"]: w["role"] for w in session.accessible_windows("Zelvo") if "showing" in w["states"]}
        self.assertEqual(shown.get("Tea"), "alert", shown)
        self.assertIn("Zelvo", shown)
        with open(app.path("log.txt"), "rb") as f:
            self.assertIn(b", HideOnRun ignored: there is no notification area to return from\r\n", f.read())

        app.proc.send_signal(signal.SIGTERM)
        self.assertEqual(app.wait_exit(), 0)
        stored = app.settings()
        self.assertEqual(stored["TIMERRUNNING0"], " 0 ")
        self.assertEqual(stored["TIMERRUNNING1"], "-1 ")
        self.assertLessEqual(abs((parse_us(stored["TIMER1END"]) - later).total_seconds()), 3)


if __name__ == "__main__":
    unittest.main()
