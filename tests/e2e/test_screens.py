"""Every window of the real binary at 96 and at 144 dpi, reached and worked with the keyboard alone.
The screenshots stay in ZELVO_ARTIFACTS/screens-<dpi>dpi for a person to look at."""
import os
import subprocess
import time
import unittest

import harness
from harness import Zelvo

UPDATE_BINARY = os.environ.get("ZELVO_UPDATE_BIN", "")


class Screens(unittest.TestCase):
    def shoot(self, app, dpi, name, window):
        path = app.screenshot(os.path.join("screens-%ddpi" % dpi, name + ".png"), window)
        colours = int(subprocess.run(["convert", path, "-format", "%k", "info:"], capture_output=True, text=True,
                                     check=True).stdout)
        self.assertGreater(colours, 4, "%s at %d dpi looks blank" % (name, dpi))
        self.sizes.setdefault(name, {})[dpi] = app.geometry(window)[2:]

    def keys(self, app, window, *keys):
        """Keys typed into the window; it gets the input focus first, as a window manager gives it."""
        app.xdo("windowfocus", "--sync", window)
        time.sleep(0.1)
        app.key(*keys)

    def tour(self, dpi):
        # The local build's update server is not running: the check fails at once, as offline.
        app = Zelvo(binary=UPDATE_BINARY or None, dpi=dpi)
        self.addCleanup(app.stop)
        app.write_settings(["ASKEDABOUTAUTOUPDATES,-1 ", "DISABLEAUTOUPDATECHECK,-1 "])
        main = app.start().window
        time.sleep(0.5)
        self.shoot(app, dpi, "main", main)

        # The first message has the focus; Shift+Tab walks back along the bottom strip.
        self.keys(app, main, "shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab", "space")
        about = app.wait_window("^Zelvo Software")
        time.sleep(0.3)
        self.shoot(app, dpi, "about", about)
        self.keys(app, about, "Escape")
        self.assertFalse(app.windows("^Zelvo Software"), "Escape closes About")

        self.keys(app, main, "shift+Tab", "space")
        question = app.dialog()
        self.assertIn("Play the alarm sound?", app.dialog_text(question))
        self.shoot(app, dpi, "test-alarm-question", question)
        self.keys(app, question, "Escape")

        if UPDATE_BINARY:
            self.keys(app, main, "Tab", "Tab", "space")
            updater = app.wait_window("^Zelvo Updater$")
            time.sleep(1)
            self.shoot(app, dpi, "updater", updater)
            self.keys(app, updater, "Escape")
            self.keys(app, main, "Tab", "Tab", "Tab")
        else:
            self.keys(app, main, "Tab", "Tab", "Tab", "Tab")

        # Back on the first row: a message, two seconds, and Start, all typed.
        app.type("Kettle")
        self.keys(app, main, "Tab", "Tab", "Tab", "Tab")
        app.type("2")
        self.keys(app, main, "Tab", "Tab", "Tab", "Tab", "Tab", "space")
        reminder = app.wait_window("^Zelvo Alert!$", timeout=10)
        time.sleep(0.3)
        self.shoot(app, dpi, "reminder", reminder)
        self.keys(app, reminder, "Return")
        deadline = time.time() + 5
        while app.windows("^Zelvo Alert!$") and time.time() < deadline:
            time.sleep(0.1)
        self.assertFalse(app.windows("^Zelvo Alert!$"), "Enter closes the reminder")
        # From Start back to the message: its whole text is selected on arrival, so a copy gives it back.
        self.keys(app, main, *(["shift+Tab"] * 9), "ctrl+c")
        self.assertEqual(app.selection("clipboard"), "Kettle")
        app.screenshot(os.path.join("screens-%ddpi" % dpi, "main-after.png"), main)

    def test_every_window_at_96_and_144_dpi_with_the_keyboard_alone(self):
        self.sizes = {}
        self.tour(96)
        self.tour(144)
        # Qt scales each window by 1.5 on the denser screen: nothing is left at its 96-dpi size.
        for name, by_dpi in self.sizes.items():
            (w96, h96), (w144, h144) = by_dpi[96], by_dpi[144]
            self.assertAlmostEqual(w144 / w96, 1.5, delta=0.05, msg="%s: %s then %s" % (name, by_dpi[96], by_dpi[144]))
            self.assertAlmostEqual(h144 / h96, 1.5, delta=0.05, msg="%s: %s then %s" % (name, by_dpi[96], by_dpi[144]))


if __name__ == "__main__":
    unittest.main()
