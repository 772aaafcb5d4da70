"""The main window and a reminder as a screen reader finds them on the AT-SPI bus."""
import datetime
import os
import time
import unittest

ALERT = "^Zelvo Alert!$"

from harness import ARTIFACTS, PAGE_BUTTONS, DBusSession, Zelvo, row_widget, start_orca, wait_until
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


class Accessibility(unittest.TestCase):
    def test_every_control_of_every_page_is_named_once_and_a_reminder_is_a_notification(self):
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
        alerts = [w for w in session.accessible_windows("Zelvo") if w["role"] == "notification" and showing(w)]
        self.assertEqual([w["name"] for w in alerts], ["Water the plants"])
        self.assertEqual(controls(alerts[0]), {"Close": "push button", "Snooze 5 minutes": "push button",
                                               "Restart": "push button"})
        app.close_window(reminder)
        app.click_twips(135, 5715, 690, 465)  # About
        app.wait_window("^Zelvo Software")
        [about] = [w for w in session.accessible_windows("Zelvo") if w["name"].startswith("Zelvo Software")]
        found = controls(about)
        # Links, the logo and the four pictures alike: links a screen reader can follow.
        self.assertEqual(list(found.values()).count("link"), 7, found)
        self.assertEqual(len(found), 9, found)  # logo, two links, four tiles, News Widget, OK

    def test_a_reminder_that_comes_up_while_the_user_types_elsewhere_is_spoken_and_takes_no_key(self):
        session = DBusSession()
        session.start_accessibility()
        app = Zelvo(session=session, with_sound=True)
        self.addCleanup(app.stop)
        session.start("xfwm4", env=app.env)
        typed = app.path("typed.txt")
        session.start("xterm", "-title", "typing", "-e", "sh", "-c", "stty -icanon -echo; cat > " + typed, env=app.env)
        said = start_orca(session, app)
        due = datetime.datetime.now().replace(microsecond=0) + datetime.timedelta(seconds=12)
        app.write_settings(["TIMERRUNNING0,-1 ", "TIMERNAME0,Take the pills", "TIMER0END," + us_general(due),
                            "ALARMON0,-1 ", "RUN0,0 "])
        app.start()
        [xterm] = app.windows("^typing$")
        app.xdo("windowactivate", "--sync", xterm)
        # About 12 s of typing, Space and Return among it, over the reminder's moment.
        chunks = ["w%02d w%02d " % (k, k + 1) + ("\n" if k % 10 == 8 else "") for k in range(0, 60, 2)]
        for chunk in chunks:
            app.xdo("type", "--delay", "30", chunk.rstrip("\n"))
            if chunk.endswith("\n"):
                app.key("Return")
        reminder = app.wait_window(ALERT, timeout=10)
        app.screenshot("reminder-while-typing.png")
        wait_until(lambda: "Take the pills" in said(), 10, lambda: "Orca said only: " + said())
        os.makedirs(ARTIFACTS, exist_ok=True)
        with open(os.path.join(ARTIFACTS, "reminder-as-orca-says.txt"), "w") as f:
            f.write(said())
        self.assertEqual(app.xdo("getactivewindow").stdout.strip(), xterm, "the reminder took the focus")
        self.assertTrue(app.visible(reminder), "a key typed elsewhere closed the reminder")
        with open(typed) as f:
            self.assertEqual(f.read(), "".join(chunks), "xterm lost keys")
        self.assertIn("notification Take the pills.", said().splitlines())

    def test_orca_reaches_the_reminder_the_repeat_menu_twice_the_update_failure_and_proxy_setup(self):
        session = DBusSession()
        session.start_accessibility()
        # Built against a local update server that nobody runs here: the check fails.
        app = Zelvo(session=session, with_sound=True, binary=os.environ.get("ZELVO_UPDATE_BIN") or None)
        self.addCleanup(app.stop)
        session.start("xfwm4", env=app.env)
        said = start_orca(session, app)
        self.addCleanup(keep, "orca-walk.txt", said)  # what Orca said, kept pass or fail
        due = datetime.datetime.now().replace(microsecond=0) + datetime.timedelta(seconds=75)
        app.write_settings(["ASKEDABOUTAUTOUPDATES,-1 ", "DISABLEAUTOUPDATECHECK,-1 ", "TIMERRUNNING0,-1 ",
                            "TIMERNAME0,Water the plants", "TIMER0END," + us_general(due), "ALARMON0,-1 ", "RUN0,0 "])
        app.start()

        def heard(words, timeout=10):
            wait_until(lambda: words in said(), timeout, lambda: "Orca did not say %r; it said:\n%s" % (words, said()))

        # The repeat choice of timer 2, twice: the second opening is heard as the first.
        for opening in ("first", "second"):
            app.click_twips(*row_widget(1, "cmdStart"), button="3")
            app.key("Down")
            app.screenshot("repeat-menu-%s-opening.png" % opening)
            wait_until(lambda: said().count("Repeat at each end") == (1 if opening == "first" else 2), 10,
                       lambda: "the %s opening was silent:\n%s" % (opening, said()))
            app.key("Escape")
        # Ticked, the choice says so.
        app.click_twips(*row_widget(1, "cmdStart"), button="3")
        app.key("Down", "Return")
        app.click_twips(*row_widget(1, "cmdStart"), button="3")
        app.key("Down")
        heard("Repeat at each end checked")
        app.key("Escape")
        # The update window's failure, read with the window; then Proxy Setup on the choice in force.
        app.xdo("windowactivate", "--sync", app.window)
        app.click_twips(945, 5712, 930, 465)  # Check for Update
        updater = app.wait_window("^Zelvo Updater$")
        heard("Update check failed.", 20)
        heard("Visit http://127.0.0.1")
        app.xdo("windowactivate", "--sync", updater)
        for _ in range(15):  # Tab to Proxy Setup, as a keyboard user does
            if "Proxy Setup" in said():
                break
            app.key("Tab")
            time.sleep(0.3)
        app.key("space")
        heard("No Proxy", 10)
        app.key("Escape")
        app.press(updater, "Escape")
        # The reminder, by keyboard alone: it takes the keyboard when clicked, Tab walks its buttons.
        reminder = app.wait_window(ALERT, timeout=90)
        app.xdo("windowactivate", "--sync", reminder)
        app.key("Tab")
        heard("Restart push button")
        for key in ("Tab", "F4", "Down"):
            app.key(key)
        heard("1 minute")
        app.key("Escape", "Escape")


def keep(name, said):
    os.makedirs(ARTIFACTS, exist_ok=True)
    with open(os.path.join(ARTIFACTS, name), "w") as f:
        f.write(said())



if __name__ == "__main__":
    unittest.main()
