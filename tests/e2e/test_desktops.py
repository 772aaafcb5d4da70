"""A status-notifier panel that comes up after the program (xfce4-panel) and a notification
service (dunst), each on a private session bus under Xvfb."""
import datetime
import json
import os
import signal
import subprocess
import time
import unittest

from harness import TRAYER, DBusSession, Zelvo, run, wait_until
from test_timer_board import us_general


class Desktops(unittest.TestCase):
    def setUp(self):
        self.session = DBusSession()
        self.app = Zelvo(session=self.session)
        self.addCleanup(self.app.stop)

    def log(self):
        with open(self.app.path("log.txt"), "rb") as f:
            return f.read().decode()

    def test_the_panel_draws_the_icon_and_its_menu_and_the_icon_follows_the_panel(self):
        app = self.app
        app.write_settings(["ASKEDABOUTAUTOUPDATES,-1 ", "DISABLEAUTOUPDATECHECK,-1 "])  # no question at 30 s
        app.start()
        time.sleep(1)
        panel = self.session.start("xfce4-panel", env=app.env)
        wait_until(lambda: app.find_tray_picture(0, 40), 30, app.diagnosis)  # the panel draws the icon
        self.assertLess(self.log().index("No notification area at start: watching for one"),
                        self.log().index("A notification area appeared: the icon is shown"))
        self.assertEqual(app.panel_tooltip(*app.find_tray_picture(0, 40)), "Zelvo standing by")
        # A reminder waits for the user: the panel shows it until it is closed.
        self.assertEqual(app.command("start", "6", "Stretch").returncode, 0)
        self.assertEqual(app.panel_tooltip(*app.find_tray_picture(0, 40)), "Zelvo is running")
        alert = app.wait_window("^Zelvo Alert!$", timeout=10)
        wait_until(lambda: app.find_tray_picture(0, 40, ("amber",)), 5, "the panel draws no attention picture")
        app.close_window(alert)
        wait_until(lambda: not app.find_tray_picture(0, 40, ("amber",)) and app.find_tray_picture(0, 40), 5,
                   "the panel still draws the attention picture")

        def choose(downs, rims=("red", "green")):
            """Right-click the icon the panel draws and choose from the menu the panel draws."""
            wait_until(lambda: app.find_tray_picture(0, 40, rims), 20, app.diagnosis)
            x, y = app.find_tray_picture(0, 40, rims)
            app.xdo("mousemove", str(x), str(y))
            app.xdo("click", "3")
            time.sleep(1)
            app.screenshot("panel-menu.png")
            app.key(*["Down"] * downs, "Return")

        app.close_window(app.window)  # with an icon to come back from, close hides
        wait_until(lambda: not app.visible(app.window), 5, "close did not hide the window")
        choose(1)  # Show
        wait_until(lambda: app.visible(app.window), 5, "Show in the panel's menu did not bring the window back")

        panel.kill()
        wait_until(lambda: "The notification area went away" in self.log(), 10, app.diagnosis)
        app.close_window(app.window)  # no icon to come back from: close minimises
        time.sleep(1)
        self.assertTrue(app.visible(app.window))
        # The panel comes back with an icon theme that holds a "zelvo" icon (blue here): it draws that.
        theme = os.path.join(self.session.home, "share", "icons", "hicolor", "32x32", "apps")
        os.makedirs(theme)
        run("convert", "-size", "32x32", "xc:none", "-fill", "rgb(30,60,230)", "-draw", "circle 16,16 16,1",
            os.path.join(theme, "zelvo.png"))
        self.session.start("xfce4-panel", env=dict(app.env, XDG_DATA_DIRS=os.path.join(self.session.home, "share")
                                                   + ":/usr/local/share:/usr/share"))
        wait_until(lambda: self.log().count("A notification area appeared: the icon is shown") == 2, 30, app.diagnosis)
        # Quit while a countdown runs asks first; what the command line sends meanwhile waits, and
        # once the answer is Yes it is refused, not reported done and lost.
        self.assertEqual(app.command("start", "10m", "Tea", "--slot", "5").returncode, 0)
        choose(2, ("blue",))  # Quit
        box = app.dialog()
        waiting = [subprocess.Popen([app.path("zelvo"), *args], env=app.program_env, cwd=app.folder, text=True,
                                    stdout=subprocess.PIPE, stderr=subprocess.PIPE)
                   for args in (["start", "5m", "Late", "--slot", "7"], ["stop", "5"])]
        time.sleep(3)
        self.assertEqual([p.poll() for p in waiting], [None, None], "a command did not wait for the answer")
        app.press(box, "Return")  # Yes
        wait_until(lambda: not app.copies(), 10, "Quit in the panel's menu did not end the program")
        for p in waiting:
            out, err = p.communicate(timeout=10)
            self.assertEqual((p.returncode, err.strip().splitlines()[-1]),
                             (1, "zelvo: Zelvo is closing: the command was not carried out"), out)
        stored = app.settings()
        self.assertEqual((stored["TIMERRUNNING4"], stored.get("TIMERNAME6")), ("-1 ", None))

    def test_an_x11_tray_that_goes_is_noticed_the_next_takes_the_icon_and_its_click_restores_the_window(self):
        app = self.app
        app.write_settings(["ASKEDABOUTAUTOUPDATES,-1 ", "DISABLEAUTOUPDATECHECK,-1 "])
        self.session.start("xfwm4", "--compositor=off", env=app.env)
        trayer = self.session.start(*TRAYER, env=app.env)
        app.start()
        app.tray_icon()
        trayer.kill()
        trayer.wait()
        wait_until(lambda: "The notification area went away" in self.log(), 10, self.log)
        app.close_window(app.window)  # the title bar's close, with no area to come back from
        wait_until(lambda: not app.visible(app.window), 10, "the window neither hid nor minimised")
        self.assertIn("_NET_WM_STATE_HIDDEN", run("xprop", "-id", app.window, "_NET_WM_STATE", env=app.env).stdout,
                      "hidden instead of minimised")
        self.session.start(*TRAYER, env=app.env)
        wait_until(lambda: "A notification area appeared: the icon is shown" in self.log(), 15, self.log)
        app.click_at(*app.tray_icon())  # a click brings the minimised window back
        wait_until(lambda: app.visible(app.window), 10, "a click on the icon left the window minimised")
        app.screenshot("restored-by-the-new-trays-icon.png")

    def test_a_reminder_leaves_a_notice_until_it_is_closed_and_a_hung_service_delays_nothing(self):
        app, env = self.app, dict(self.app.env, **self.session.env)
        dunst = self.session.start("dunst", env=app.env)
        now = datetime.datetime.now().replace(microsecond=0)
        due = [now + datetime.timedelta(seconds=s) for s in (6, 14)]
        app.write_settings(["TIMERRUNNING0,-1 ", "TIMERNAME0,Stretch your legs", "TIMER0END," + us_general(due[0]),
                            "ALARMON0,-1 ", "RUN0,0 ", "TIMERRUNNING1,-1 ", "TIMERNAME1,Call home",
                            "TIMER1END," + us_general(due[1]), "ALARMON1,-1 ", "RUN1,0 "])
        app.start()
        alert = app.wait_window("^Zelvo Alert!$", timeout=20)
        displayed = lambda: run("dunstctl", "count", "displayed", env=env).stdout.strip()
        wait_until(lambda: displayed() == "1", 5, displayed)
        app.screenshot("dunst-notification.png")
        app.close_window(alert)
        wait_until(lambda: displayed() == "0", 5, displayed)
        history = run("dunstctl", "history", env=env).stdout
        self.assertIn('"Zelvo Alert!"', history)
        self.assertIn('"Stretch your legs"', history)

        dunst.send_signal(signal.SIGSTOP)  # holds its name on the bus and never answers
        self.addCleanup(dunst.send_signal, signal.SIGCONT)
        app.wait_window("^Zelvo Alert!$", timeout=20)
        late = time.time() - time.mktime(due[1].timetuple())
        self.assertLess(late, 1.5, "the second reminder waited for the hung service")

    def test_a_notice_body_is_escaped_only_for_a_service_that_reads_markup_even_one_that_came_later(self):
        """dunst reads markup unless told not to; then it no longer offers "body-markup". A server that
        takes the name during the run is asked again."""
        app, env = self.app, dict(self.app.env, **self.session.env)
        plain = os.path.join(self.session.home, "dunstrc")
        with open(plain, "w") as f:
            f.write("[global]\n    markup = no\n")
        now = datetime.datetime.now().replace(microsecond=0)
        app.write_settings([line for k, s in ((0, 6), (1, 20)) for line in (
            "TIMERRUNNING%d,-1 " % k, "TIMERNAME%d,Fish & chips <now>" % k,
            "TIMER%dEND,%s" % (k, us_general(now + datetime.timedelta(seconds=s))), "ALARMON%d,-1 " % k, "RUN%d,0 " % k)])
        dunst = self.session.start("dunst", "-config", plain, env=app.env)
        app.start()
        for body in ("Fish & chips <now>", "Fish &amp; chips &lt;now&gt;"):
            app.close_window(app.wait_window("^Zelvo Alert!$", timeout=30))
            wait_until(lambda: run("dunstctl", "count", "history", env=env).stdout.strip() == "1", 5, app.diagnosis)
            history = json.loads(run("dunstctl", "history", env=env).stdout)
            self.assertEqual([n["body"]["data"] for n in history["data"][0]], [body])
            dunst.terminate()
            dunst.wait(timeout=10)
            dunst = self.session.start("dunst", env=app.env)  # one that reads markup takes the name
        dunst.terminate()


if __name__ == "__main__":
    unittest.main()
