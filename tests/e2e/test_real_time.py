import datetime
import time
import unittest

from harness import Zelvo

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


if __name__ == "__main__":
    unittest.main()
