"""The main window and a reminder as a screen reader finds them on the AT-SPI bus."""
import datetime
import os
import subprocess
import time
import unittest

from harness import ARTIFACTS, PAGE_BUTTONS, DBusSession, Zelvo, row_widget
from test_timer_board import us_general


def showing(node):
    """The node and what it holds on screen, in the order a screen reader walks them."""
    if "showing" not in node["states"]:
        return []
    return [node] + [n for child in node["children"] for n in showing(child)]


def controls(window):
    """The focusable controls a screen reader reaches in a window, name to role; every one named once."""
    found = [(n["name"], n["role"]) for n in showing(window) if "focusable" in n["states"]]
    assert all(name for name, _ in found) and len({name for name, _ in found}) == len(found), found
    return dict(found)


# What a screen reader listens for, printed as it hears it: the type, the role and name of the source.
LISTENER = """import pyatspi
def heard(event):
    try:
        if event.source.getApplication().name == "Zelvo":
            print("%s|%s|%s" % (event.type, event.source.getRoleName(), event.source.name), flush=True)
    except Exception:
        pass
pyatspi.Registry.registerEventListener(heard, "window:activate", "object:state-changed:focused",
                                       "object:state-changed:showing")
pyatspi.Registry.start()"""


class Accessibility(unittest.TestCase):
    def test_every_control_of_every_page_is_named_once_and_a_reminder_is_an_alert(self):
        session = DBusSession()
        session.start_accessibility()
        app = Zelvo(session=session)
        self.addCleanup(app.stop)
        # Timer 10 is still counting down when the first page is read, and fires during the walk.
        due = datetime.datetime.now().replace(microsecond=0) + datetime.timedelta(seconds=12)
        app.write_settings(["TIMERRUNNING9,-1 ", "TIMERNAME9,Water the plants", "TIMER9END," + us_general(due),
                            "ALARMON9,-1 ", "RUN9,0 "])
        app.start()
        app.click_twips(*row_widget(1, "cmdAt"))  # timer 2 shows its clock-time fields
        for page, button in sorted(PAGE_BUTTONS.items()):
            app.click_twips(*button)
            [main] = [w for w in session.accessible_windows("Zelvo") if w["name"] == "Zelvo" and showing(w)]
            names = [n["name"] for n in showing(main) if "focusable" in n["states"]]
            self.assertNotIn("", names, "page %d" % (page + 1))
            self.assertEqual(sorted(set(names)), sorted(names), "page %d" % (page + 1))
            self.assertIn("Timer %d message" % (10 * page + 1), names)
            if page == 0:
                self.assertTrue({"Stop timer 10", "Timer 2 clock hour", "Timer 2 pm"} <= set(names), names)
                described = {n["name"]: n["description"] for n in showing(main)}
                self.assertEqual(described["Start timer 1"], "Click START to begin the countdown timer.")
                [row] = [f for f in main["children"] if "Timer 1 message" in [n["name"] for n in showing(f)]]
                os.makedirs(ARTIFACTS, exist_ok=True)
                with open(os.path.join(ARTIFACTS, "accessible-names-row-1.txt"), "w") as f:
                    f.writelines("%s: %s%s\n" % (n["role"], n["name"], n["description"] and " (%s)" % n["description"])
                                 for n in showing(row) if n["name"])
        reminder = app.wait_window("^Zelvo Alert!$", timeout=30)
        alerts = [w for w in session.accessible_windows("Zelvo") if w["role"] == "alert" and showing(w)]
        self.assertEqual([w["name"] for w in alerts], ["Water the plants"])
        self.assertEqual(controls(alerts[0]), {"Close": "push button", "Snooze 5 minutes": "push button",
                                               "Restart": "push button"})
        app.close_window(reminder)
        app.click_twips(135, 5715, 690, 465)  # About
        app.wait_window("^Zelvo Software")
        [about] = [w for w in session.accessible_windows("Zelvo") if w["name"].startswith("Zelvo Software")]
        found = controls(about)
        self.assertEqual((found["Zelvo home page"], found["More programs from the maker"]), ("link", "link"))
        self.assertEqual(len(found), 9, found)  # logo, two links, four tiles, News Widget, OK

    def test_a_reminder_is_announced_to_a_listening_screen_reader_under_a_window_manager(self):
        session = DBusSession()
        session.start_accessibility()
        app = Zelvo(session=session)
        self.addCleanup(app.stop)
        session.start("xfwm4", env=app.env)
        due = datetime.datetime.now().replace(microsecond=0) + datetime.timedelta(seconds=10)
        app.write_settings(["TIMERRUNNING0,-1 ", "TIMERNAME0,Water the plants", "TIMER0END," + us_general(due),
                            "ALARMON0,-1 ", "RUN0,0 "])
        app.start()
        listener = subprocess.Popen(["/usr/bin/python3", "-c", LISTENER], env=session.tool_env, stdout=subprocess.PIPE,
                                    text=True)
        app.wait_window("^Zelvo Alert!$", timeout=30)
        time.sleep(2)
        listener.terminate()
        heard = listener.communicate(timeout=10)[0]
        os.makedirs(ARTIFACTS, exist_ok=True)
        with open(os.path.join(ARTIFACTS, "reminder-as-heard.txt"), "w") as f:
            f.write(heard)
        self.assertIn("window:activate|alert|Water the plants", heard)
        self.assertIn("object:state-changed:focused|push button|Close", heard)
        [main] = [w for w in session.accessible_windows("Zelvo") if w["name"] == "Zelvo"]
        self.assertEqual(main["role"], "frame")


if __name__ == "__main__":
    unittest.main()
