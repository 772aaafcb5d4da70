import datetime
import os
import time
import unittest

from harness import EXIT_BUTTON, PAGE_BUTTONS, Sound, Zelvo, row_widget


def us_general(moment):
    """The United States general date form the program writes under the C locale."""
    hour = moment.hour % 12 or 12
    return "%d/%d/%d %d:%02d:%02d %s" % (moment.month, moment.day, moment.year, hour, moment.minute,
                                         moment.second, "AM" if moment.hour < 12 else "PM")


def parse_us(text):
    return datetime.datetime.strptime(text.strip(), "%m/%d/%Y %I:%M:%S %p")


class TimerBoard(unittest.TestCase):
    def start(self, **kwargs):
        self.app = Zelvo(**kwargs)
        self.addCleanup(self.app.stop)
        return self.app

    def read_field(self, position, name):
        self.app.click_twips(*row_widget(position, name))
        time.sleep(0.2)
        self.app.key("ctrl+c")
        return self.app.selection("clipboard")

    def exit_program(self, expect_question=False):
        self.app.click_twips(*EXIT_BUTTON)
        if expect_question:
            box = self.app.dialog()
            self.assertIn("You have timers running. Are you sure you want to exit?", self.app.dialog_text(box))
            self.app.press(box, "Return")
        self.assertEqual(self.app.wait_exit(), 0)

    def test_first_start_shows_the_reminders_on_page_one(self):
        app = self.start().start()
        self.assertEqual(self.read_field(0, "txtDesc"), "Reminder 1")
        self.assertEqual(self.read_field(4, "txtDesc"), "Reminder 5")
        self.assertEqual(self.read_field(5, "txtDesc"), "Reminder 6")
        self.assertEqual(self.read_field(9, "txtDesc"), "Reminder 10")
        app.screenshot("main-window.png", app.window)
        app.click_twips(*PAGE_BUTTONS[3])
        self.assertEqual(self.read_field(0, "txtDesc"), "Reminder 31")
        self.assertEqual(self.read_field(5, "txtDesc"), "Reminder 36")
        self.exit_program()
        with open(app.path("log.txt"), "rb") as f:
            self.assertIn(b", Zelvo startup\r\n", f.read())
        # The settings (a proxy password may be among them) and the log are the user's alone.
        for name in ("Zelvo.ini", "log.txt"):
            self.assertEqual(os.stat(app.path(name)).st_mode & 0o777, 0o600, name)

    def test_a_typed_countdown_fires_its_reminder_with_the_alarm(self):
        app = self.start(with_sound=True).start()
        app.click_twips(*row_widget(0, "txtDesc"))
        app.type("Tea is ready")
        app.click_twips(*row_widget(0, "txtSeconds"))
        app.type("3")
        recording = os.path.join(app.runtime, "alarm.raw")
        recorder = app.sound.record(recording)
        self.addCleanup(recorder.stdout_file.close)
        try:
            app.click_twips(*row_widget(0, "cmdStart"))
            started = time.time()
            alert = app.wait_window("^Zelvo Alert!$", timeout=10)
            self.assertGreaterEqual(time.time() - started, 2.0)
            app.screenshot("reminder.png", alert)
            time.sleep(2.5)
        finally:
            recorder.terminate()
            recorder.wait(timeout=10)
        self.assertGreater(Sound.peak(recording), 2000, "the alarm was not heard on the sound device")
        self.assertEqual(self.read_field(0, "txtSeconds"), "00")
        self.assertEqual(self.read_field(0, "txtDesc"), "Tea is ready")

    def test_a_restart_resumes_what_is_ahead_and_lists_what_fell_due(self):
        app = self.start()
        now = datetime.datetime.now().replace(microsecond=0)
        ahead = now + datetime.timedelta(days=2)
        past = now - datetime.timedelta(days=1)
        app.write_settings([
            "TIMERRUNNING0,-1 ", "TIMERNAME0,Dentist", "TIMER0END," + us_general(ahead), "ALARMON0,-1 ", "RUN0,0 ",
            "TIMERRUNNING1,-1 ", "TIMERNAME1,Parking meter", "TIMER1END," + us_general(past), "ALARMON1,-1 ",
            "RUN1,0 ",
        ])
        app.start(wait_main=False)
        box = app.wait_window("^Zelvo$")
        text = app.dialog_text(box)
        self.assertIn("The following alarms expired while the program was closed:", text)
        self.assertIn("Parking meter (" + us_general(past) + ")", text)
        self.assertNotIn("Dentist", text)
        app.key("Return")
        app.window = app.wait_window("^Zelvo$")
        time.sleep(0.5)
        self.assertEqual(self.read_field(0, "txtDesc"), "Dentist")
        self.exit_program(expect_question=True)
        stored = app.settings()
        self.assertEqual(stored["TIMERRUNNING0"], "-1 ")
        self.assertEqual(stored["TIMERRUNNING1"], " 0 ")
        resumed_end = parse_us(stored["TIMER0END"])
        self.assertLessEqual(abs((resumed_end - ahead).total_seconds()), 3)


if __name__ == "__main__":
    unittest.main()
