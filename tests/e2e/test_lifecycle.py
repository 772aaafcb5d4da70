import datetime
import os
import signal
import time
import unittest

from harness import EXIT_BUTTON, DBusSession, Zelvo, row_widget
from test_timer_board import parse_us, us_general

ABOUT_BUTTON = (135, 5715, 690, 465)


class Lifecycle(unittest.TestCase):
    def start(self, settings=None, **kwargs):
        self.app = Zelvo(**kwargs)
        self.addCleanup(self.app.stop)
        if settings:
            self.app.write_settings(settings)
        return self.app.start()

    def start_countdown(self, position, minutes=None, seconds=None, message=None):
        app = self.app
        if message:
            app.click_twips(*row_widget(position, "txtDesc"))
            app.type(message)
        if minutes is not None:
            app.click_twips(*row_widget(position, "txtMinutes"))
            app.type(str(minutes))
        if seconds is not None:
            app.click_twips(*row_widget(position, "txtSeconds"))
            app.type(str(seconds))
        app.click_twips(*row_widget(position, "cmdStart"))

    def main_visible(self):
        return self.app.window in self.app.windows("^Zelvo$")

    def main_hidden_soon(self, timeout=5):
        """Whether the main window is gone within the timeout (a loaded machine takes its time)."""
        deadline = time.time() + timeout
        while self.main_visible() and time.time() < deadline:
            time.sleep(0.1)
        return not self.main_visible()

    def test_the_title_bar_close_only_hides_and_the_countdown_still_fires(self):
        app = self.start(with_tray=True)
        app.tray_icon()
        self.start_countdown(0, seconds=4, message="Stretch your legs")
        app.close_window(app.window)
        self.assertTrue(self.main_hidden_soon())
        self.assertIsNone(app.proc.poll())
        app.wait_window("^Zelvo Alert!$", timeout=10)
        self.assertIsNone(app.proc.poll())

    def test_a_second_start_hands_over_to_the_first_and_ends(self):
        app = self.start(with_tray=True)
        app.tray_icon()
        app.close_window(app.window)
        self.assertTrue(self.main_hidden_soon())
        with open(app.path("log.txt"), "rb") as f:
            log_before = f.read()
        ini_present = os.path.exists(app.path("Zelvo.ini"))
        second = app.launch()
        self.assertEqual(second.wait(timeout=10), 0)
        deadline = time.time() + 5
        while not self.main_visible() and time.time() < deadline:
            time.sleep(0.1)
        self.assertTrue(self.main_visible(), "the first copy's window was not shown")
        with open(app.path("log.txt"), "rb") as f:
            self.assertEqual(f.read(), log_before)
        self.assertEqual(os.path.exists(app.path("Zelvo.ini")), ini_present)

    def test_sigterm_saves_the_countdown_and_the_next_start_resumes_it(self):
        app = self.start()
        self.start_countdown(0, minutes=30, message="Pizza")
        started = datetime.datetime.now()
        time.sleep(0.5)
        app.proc.send_signal(signal.SIGTERM)
        self.assertEqual(app.wait_exit(), 0)
        stored = app.settings()
        self.assertEqual(stored["TIMERRUNNING0"], "-1 ")
        self.assertEqual(stored["TIMERNAME0"], "Pizza")
        end = parse_us(stored["TIMER0END"])
        self.assertLessEqual(abs((end - (started + datetime.timedelta(minutes=30))).total_seconds()), 3)

        app.start()
        time.sleep(1)
        self.assertEqual(app.windows("^Zelvo$"), [app.window], "no message at the second start")
        app.proc.send_signal(signal.SIGTERM)
        self.assertEqual(app.wait_exit(), 0)
        resumed = parse_us(app.settings()["TIMER0END"])
        self.assertLessEqual(abs((resumed - end).total_seconds()), 3)

    def test_the_systems_end_request_closes_any_open_question_and_saves_at_once(self):
        ahead = datetime.datetime.now().replace(microsecond=0) + datetime.timedelta(minutes=30)
        counting = ["TIMERRUNNING1,-1 ", "TIMERNAME1,Laundry", "TIMER1END," + us_general(ahead), "ALARMON1,-1 ", "RUN1,0 "]
        asked = ["ASKEDABOUTAUTOUPDATES,-1 ", "DISABLEAUTOUPDATECHECK,-1 "]
        expired = ["TIMERRUNNING0,-1 ", "TIMERNAME0,Tea", "TIMER0END,1/1/2020 1:00:00 PM"]
        questions = {  # the settings it starts with, and what opens the question and finds it
            "Exit": (counting + asked, lambda app: app.start().click_twips(*EXIT_BUTTON) or app.dialog()),
            "list": (counting + asked + expired, lambda app: app.start(wait_main=False).wait_window("^Zelvo$")),
            "update": (counting, lambda app: app.start().dialog(".+", timeout=45)),
        }
        for name, (settings, question) in questions.items():
            with self.subTest(name):
                app = Zelvo()
                app.write_settings(settings)
                box = question(app)
                app.screenshot("sigterm-over-%s-question.png" % name, box)
                signalled = time.time()
                app.proc.send_signal(signal.SIGTERM)
                self.assertEqual(app.wait_exit(timeout=10), 0, name)
                self.assertLess(time.time() - signalled, 2, name)
                stored = app.settings()
                app.stop()
                self.assertEqual((stored["TIMERRUNNING1"], parse_us(stored["TIMER1END"])), ("-1 ", ahead), name)

    def test_exit_with_two_countdowns_asks_once_and_no_keeps_it_running_hidden(self):
        app = self.start(with_tray=True)
        tray = app.tray_icon()
        self.start_countdown(0, minutes=20)
        self.start_countdown(1, minutes=25)
        app.click_twips(*EXIT_BUTTON)
        box = app.dialog()
        self.assertIn("You have timers running. Are you sure you want to exit?", app.dialog_text(box))
        app.press(box, "Escape")
        time.sleep(0.5)
        self.assertEqual([w for w in app.windows("^Zelvo$") if w != app.window], [], "asked more than once")
        self.assertTrue(self.main_hidden_soon())
        self.assertIsNone(app.proc.poll())
        app.click_at(*tray)
        app.wait_window("^Zelvo$")
        self.assertTrue(self.main_visible())

    def test_hide_on_run_starts_in_the_tray_and_a_click_shows_the_window(self):
        app = Zelvo(with_tray=True)
        self.app = app
        self.addCleanup(app.stop)
        app.write_settings(["HIDEONRUN,-1 "])
        app.start(wait_main=False)
        tray = app.tray_icon()
        time.sleep(1.5)
        self.assertEqual(app.windows("^Zelvo$"), [])
        app.click_at(*tray)
        app.window = app.wait_window("^Zelvo$")
        app.screenshot("main-from-tray.png", app.window)

    def test_the_list_of_missed_alarms_is_not_covered_by_the_splash(self):
        session = DBusSession()
        app = Zelvo(session=session)
        self.app = app
        self.addCleanup(app.stop)
        session.start("xfwm4", "--compositor=off", env=app.env)  # it keeps the splash on top
        app.write_settings(["TIMERRUNNING0,-1 ", "TIMERNAME0,Call the plumber",
                            "TIMER0END," + us_general(datetime.datetime(2026, 1, 1, 9)),
                            "ASKEDABOUTAUTOUPDATES,-1 ", "DISABLEAUTOUPDATECHECK,-1 "])
        time.sleep(1)
        app.start(wait_main=False)
        box = app.dialog(timeout=15)
        self.assertIn("Call the plumber", app.dialog_text(box))
        splash = [w for w in app.xdo("search", "--name", "^Zelvo is starting$", check=False).stdout.split()]
        stacked = app.stacking()
        self.assertTrue(all(w not in app.windows(".*") or stacked.index(w) < stacked.index(box) for w in splash),
                        "the splash stands over the list")
        app.screenshot("missed-alarms-at-start.png")

    def test_splash_and_about_look_right(self):
        app = Zelvo()
        self.app = app
        self.addCleanup(app.stop)
        # A long settings file keeps the splash up long enough to look at it.
        app.write_settings(["JUNK%d,%s" % (n, "x" * 40) for n in range(150000)])
        app.start(wait_main=False)
        splash = app.wait_window("^Zelvo is starting$", timeout=15)
        app.screenshot("splash.png", splash)
        app.window = app.wait_window("^Zelvo$", timeout=60)
        app.screenshot("main-window.png", app.window)
        app.click_twips(*ABOUT_BUTTON)
        about = app.wait_window("^Zelvo Software", timeout=10)
        app.screenshot("about.png", about)
        app.press(about, "Escape")
        self.assertEqual(app.windows("^Zelvo Software"), [])


if __name__ == "__main__":
    unittest.main()
