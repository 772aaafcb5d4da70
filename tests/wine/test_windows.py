"""Zelvo for Windows as a user meets it, under Wine in the Xvfb that scripts/windows starts: the
portable folder run from a copy of its own, commands typed through the console twin, the
installer and uninstaller run silently."""
import os
import shutil
import subprocess
import tempfile
import time
import unittest

BUILD = os.environ["ZELVO_WINDOWS_BUILD"]
PORTABLE = os.path.join(BUILD, "Zelvo")
VERSION = os.environ["ZELVO_VERSION"]
ENV = dict(os.environ, QT_QPA_PLATFORM="windows", WINEDEBUG="-all")


def wine(*args, timeout=60):
    # Into files, not pipes: under Wine a copy started in the background keeps its starter's Unix
    # streams, and a pipe would not end while it runs.
    with tempfile.TemporaryFile("w+") as out, tempfile.TemporaryFile("w+") as err:
        done = subprocess.run(["wine", *args], env=ENV, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                              timeout=timeout)
        out.seek(0)
        err.seek(0)
        return subprocess.CompletedProcess(done.args, done.returncode, out.read(), err.read())


def windows_named(title):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                           capture_output=True, text=True)
    return found.stdout.split()


def close(window):
    """What a window manager's close button sends."""
    from Xlib import X, display, protocol
    d = display.Display()
    target = d.create_resource_object("window", int(window))
    protocols = d.intern_atom("WM_PROTOCOLS")
    event = protocol.event.ClientMessage(window=target, client_type=protocols,
                                         data=(32, [d.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
    target.send_event(event, event_mask=0)
    d.close()


def wait_for(condition, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(0.2)
    return False


class PortableCopy(unittest.TestCase):
    def setUp(self):
        self.folder = os.path.join(tempfile.mkdtemp(prefix="zelvo-wine-"), "Zelvo")
        shutil.copytree(PORTABLE, self.folder)
        self.addCleanup(shutil.rmtree, os.path.dirname(self.folder), True)
        self.program = subprocess.Popen(["wine", os.path.join(self.folder, "zelvo.exe")], env=ENV,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(self.end)

    def end(self):
        if self.program.poll() is None:
            self.program.kill()
            self.program.wait()
        for name in ("Zelvo Alert!", "Zelvo"):
            for window in windows_named(name):
                subprocess.run(["xdotool", "windowkill", window], capture_output=True)

    def command(self, *args):
        return wine(os.path.join(self.folder, "zelvo.com"), *args)

    def test_a_countdown_from_the_console_rings_is_kept_in_crlf_lines_and_quit_ends_the_copy(self):
        self.assertTrue(wait_for(lambda: windows_named("Zelvo"), 30), "the main window did not come up")
        started = self.command("start", "3s", "Tea from Wine")
        self.assertEqual(started.returncode, 0, started.stderr)
        self.assertIn('"Tea from Wine" ends at', started.stdout)
        kept = self.command("start", "2h", "Laundry")
        self.assertEqual(kept.returncode, 0, kept.stderr)
        self.assertTrue(wait_for(lambda: windows_named("Zelvo Alert!"), 20), "no reminder came up")

        # A second start hands over to the first copy and ends; the first shows its window again.
        def closed():
            for window in windows_named("Zelvo"):
                close(window)
            return wait_for(lambda: not windows_named("Zelvo"), 3)
        self.assertTrue(wait_for(closed, 15), "the window did not go to the tray")
        second = wine(os.path.join(self.folder, "zelvo.exe"), timeout=60)
        self.assertEqual(second.returncode, 0)
        self.assertTrue(wait_for(lambda: windows_named("Zelvo"), 20), "the first copy's window did not come back")
        self.assertIn("Laundry", self.command("list").stdout)

        quit = self.command("quit")
        self.assertEqual(quit.returncode, 0, quit.stderr)
        self.assertEqual(self.program.wait(timeout=30), 0)
        with open(os.path.join(self.folder, "Zelvo.ini"), "rb") as ini:
            saved = ini.read()
        self.assertIn(b"Laundry\r\n", saved)
        self.assertNotIn(b"\n", saved.replace(b"\r\n", b""), "a line ends without CR")

    def test_the_systems_end_saves_the_countdowns_and_ends_the_copy(self):
        self.assertTrue(wait_for(lambda: windows_named("Zelvo"), 30))
        self.assertEqual(self.command("start", "45m", "Bread").returncode, 0)
        self.assertFalse(os.path.exists(os.path.join(self.folder, "Zelvo.ini")), "saved before the end")
        # As Windows ends a session: WM_QUERYENDSESSION, then WM_ENDSESSION, to every window.
        subprocess.run(["wineboot", "--end-session"], env=ENV, capture_output=True, timeout=60)
        self.program.wait(timeout=30)
        with open(os.path.join(self.folder, "Zelvo.ini"), "rb") as ini:
            self.assertIn(b"Bread\r\n", ini.read())


class Installer(unittest.TestCase):
    def test_installs_for_the_user_keeps_settings_in_appdata_and_uninstalls_silently(self):
        roaming = subprocess.run(["winepath", "-u", wine("cmd", "/c", "echo %APPDATA%").stdout.strip()],
                                 env=ENV, capture_output=True, text=True).stdout.strip()
        shutil.rmtree(os.path.join(roaming, "Zelvo"), ignore_errors=True)  # the user's files of a run before
        setup = os.path.join(BUILD, f"Zelvo-{VERSION}-setup.exe")
        self.assertEqual(wine(setup, "/S", "/CurrentUser", timeout=120).returncode, 0)
        appdata = wine("cmd", "/c", "echo %LOCALAPPDATA%").stdout.strip()
        installed = subprocess.run(["winepath", "-u", appdata + "\\Programs\\Zelvo"], env=ENV,
                                   capture_output=True, text=True).stdout.strip()
        self.assertTrue(os.path.isfile(os.path.join(installed, "zelvo.exe")))
        self.assertTrue(os.path.isfile(os.path.join(installed, "Uninstall.exe")))
        uninstall = wine("reg", "query", r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelvo")
        self.assertIn("Uninstall.exe", uninstall.stdout)
        menu = subprocess.run(["winepath", "-u", wine("cmd", "/c", "echo %APPDATA%").stdout.strip()
                               + r"\Microsoft\Windows\Start Menu\Programs\Zelvo.lnk"],
                              env=ENV, capture_output=True, text=True).stdout.strip()
        self.assertTrue(os.path.isfile(menu), "no Start-menu entry")

        # An installed copy keeps the user's countdowns in the user's folder, not beside the program.
        program = subprocess.Popen(["wine", os.path.join(installed, "zelvo.exe")], env=ENV,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.assertTrue(wait_for(lambda: windows_named("Zelvo"), 30), "the installed copy did not come up")
        started = wine(os.path.join(installed, "zelvo.com"), "start", "30m", "Installed")
        self.assertEqual(started.returncode, 0, started.stderr)
        self.assertEqual(wine(os.path.join(installed, "zelvo.com"), "quit").returncode, 0)
        self.assertEqual(program.wait(timeout=30), 0)
        self.assertTrue(os.path.isfile(os.path.join(roaming, "Zelvo", "Zelvo.ini")))
        self.assertFalse(os.path.exists(os.path.join(installed, "Zelvo.ini")))

        on = wine(os.path.join(installed, "zelvo.com"), "autostart", "on")
        self.assertEqual(on.returncode, 0, on.stderr)
        run = wine("reg", "query", r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run", "/v", "Zelvo")
        self.assertIn("zelvo.exe", run.stdout)

        uninstaller = wine(os.path.join(installed, "Uninstall.exe"), "/S", "/CurrentUser", timeout=120)
        self.assertEqual(uninstaller.returncode, 0)
        # The uninstaller copies itself away first and removes the folder from there.
        self.assertTrue(wait_for(lambda: not os.path.exists(os.path.join(installed, "zelvo.exe")), 30))
        run = wine("reg", "query", r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run", "/v", "Zelvo")
        self.assertNotIn("zelvo.exe", run.stdout, "the login entry outlived the program")
        self.assertFalse(os.path.exists(menu), "the Start-menu entry outlived the program")


if __name__ == "__main__":
    unittest.main()
