"""A Wayland desktop with no notification area (headless Weston), reached through the settings file,
signals and the AT-SPI bus, since the X tools cannot reach it."""
import datetime
import os
import re
import subprocess
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
        self.assertEqual(shown.get("Tea"), "notification", shown)
        self.assertIn("Zelvo", shown)
        with open(app.path("log.txt"), "rb") as f:
            self.assertIn(b", HideOnRun ignored: there is no notification area to return from\r\n", f.read())

        app.proc.send_signal(signal.SIGTERM)
        self.assertEqual(app.wait_exit(), 0)
        stored = app.settings()
        self.assertEqual(stored["TIMERRUNNING0"], " 0 ")
        self.assertEqual(stored["TIMERRUNNING1"], "-1 ")
        self.assertLessEqual(abs((parse_us(stored["TIMER1END"]) - later).total_seconds()), 3)

    def test_choosing_the_notice_hands_its_activation_token_to_the_reminder(self):
        # mako hands out a token when its notice is clicked by a real pointer; the reminder must ask
        # sway for the focus with exactly that token. Sway 1.7 (wlroots 0.15) then refuses it, since
        # mako's notice never holds the keyboard focus, so the focus itself is not checked here.
        session = DBusSession()
        app = Zelvo(wayland="sway", session=session)
        self.addCleanup(app.stop)
        sway = app.display
        session.start("mako", env=dict(session.base_env, WAYLAND_DISPLAY=sway.name))
        monitor = subprocess.Popen(["dbus-monitor", "member=ActivationToken"], env=session.tool_env,
                                   stdout=open(app.path("bus.txt"), "w"))
        self.addCleanup(monitor.terminate)
        soon = datetime.datetime.now().replace(microsecond=0) + datetime.timedelta(seconds=6)
        app.write_settings(["HIDEONRUN,0 ", "TIMERRUNNING0,-1 ", "TIMERNAME0,Tea", "TIMER0END," + us_general(soon),
                            "ALARMON0,-1 ", "RUN0,0 "])
        app.program_env["WAYLAND_DEBUG"] = "1"  # what the program asks of the compositor, on its stderr
        app.start(wait_main=False)
        wait_until(lambda: sway.focused() == "Zelvo Alert!", 30, app.diagnosis)
        session.start("weston-flower", env=dict(session.base_env, WAYLAND_DISPLAY=sway.name))
        wait_until(lambda: sway.focused() not in (None, "Zelvo Alert!"), 15, "another window did not take the focus")

        sway.click(1280 - 160, 25)  # the top of mako's notice, at the top right
        read = lambda name: open(name, errors="replace").read()
        sent = r'member=ActivationToken\s+uint32 \d+\s+string "(\w+)"'
        wait_until(lambda: re.search(sent, read(app.path("bus.txt"))), 10, "mako sent no activation token")
        trace = os.path.join(app.runtime, "stderr-1.txt")
        asked = r'xdg_activation_v1@\d+\.activate\("%s", wl_surface@(\d+)\)' % re.search(sent, read(app.path("bus.txt"))).group(1)
        wait_until(lambda: re.search(asked, read(trace)), 10, "the program did not ask for the focus with mako's token")
        self.assertEqual(re.search(asked, read(trace)).group(1), reminder_surface(read(trace)))


def reminder_surface(trace):
    """The wl_surface of the last toplevel titled "Zelvo Alert!" in a WAYLAND_DEBUG trace."""
    toplevel = re.findall(r'xdg_toplevel@(\d+)\.set_title\("Zelvo Alert!"\)', trace)[-1]
    xdg = re.findall(r'xdg_surface@(\d+)\.get_toplevel\(new id xdg_toplevel@%s\)' % toplevel, trace)[-1]
    return re.findall(r'get_xdg_surface\(new id xdg_surface@%s, wl_surface@(\d+)\)' % xdg, trace)[-1]

if __name__ == "__main__":
    unittest.main()
