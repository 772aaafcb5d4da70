import datetime
import json
import time
import unittest

from harness import Zelvo, row_widget, wait_until

QUICK_30S = (1992, 5850, 444, 276)


class RealTime(unittest.TestCase):
    """The 30-second button 15 s before New York's clocks change: the reminder comes after 30 s
    of real time, not an hour late in autumn or half a minute early in spring."""

    def test_a_countdown_across_a_daylight_saving_change_lasts_its_real_duration(self):
        days = {
            "autumn, 01:59:45 EDT": datetime.datetime(2026, 11, 1, 5, 59, 45),
            "spring, 01:59:45 EST": datetime.datetime(2026, 3, 8, 6, 59, 45),
        }
        for name, utc in days.items():
            with self.subTest(name):
                app = Zelvo(wall_clock=utc, zone="America/New_York")
                try:
                    app.start()
                    app.click_twips(*QUICK_30S)
                    started = time.time()
                    alert = app.wait_window("^Zelvo Alert!$", timeout=45)
                    elapsed = time.time() - started
                    app.screenshot("daylight-saving-%s.png" % name.split(",")[0], alert)
                    self.assertAlmostEqual(elapsed, 30, delta=2, msg=name)
                    # The program did see the clocks about to change.
                    with open(app.path("log.txt"), "rb") as f:
                        self.assertRegex(f.read().decode(), r" 01:59:[45]\d, Zelvo startup", name)
                finally:
                    app.stop()

    def test_12_am_and_pm_in_the_fields_and_a_daily_time_across_the_spring_change(self):
        """23:59:30 EST on 13 March 2027: 12 am typed in a row is midnight, 12 pm noon; a daily
        12:00:20 am rings and comes round at the same wall-clock time, 23 real hours later."""
        app = Zelvo(wall_clock=datetime.datetime(2027, 3, 14, 4, 59, 30), zone="America/New_York")
        self.addCleanup(app.stop)
        app.write_settings(["ASKEDABOUTAUTOUPDATES,-1 ", "DISABLEAUTOUPDATECHECK,-1 "])  # no question at 30 s
        app.start()
        for position, half in ((0, "optAM"), (1, "optPM")):
            app.click_twips(*row_widget(position, "cmdAt"))
            app.click_twips(*row_widget(position, "txtAtHour"))
            app.type("12")
            app.click_twips(*row_widget(position, half))
            app.click_twips(*row_widget(position, "cmdStart"))
        self.assertEqual(app.command("at", "12:00:20am", "Walk", "--repeat", "--slot", "3").returncode, 0)
        ends = lambda: {r["slot"]: r["end"] for r in json.loads(app.command("list", "--json").stdout)}
        self.assertEqual(ends(), {1: "2027-03-14T00:00:00-05:00", 2: "2027-03-14T12:00:00-04:00",
                                  3: "2027-03-14T00:00:20-05:00"})
        wait_until(lambda: ends().get(3) == "2027-03-15T00:00:20-04:00", 60, lambda: str(ends()))
        app.screenshot("daily-time-after-spring-change.png")


if __name__ == "__main__":
    unittest.main()
