"""The Debian package: built by CPack from this build, inspected, installed with dpkg into a scratch
root, started there as an installed program would be, and removed again."""
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

from harness import BIN, Display, run

BUILD = os.path.dirname(BIN) if BIN else ""
TOOLS = ("cpack", "dpkg", "dpkg-deb", "dpkg-query", "desktop-file-validate", "xdotool", "lintian")
MISSING = [t for t in TOOLS if not shutil.which(t)]


def installed_version(package):
    found = subprocess.run(["dpkg-query", "-W", "-f=${Status} ${Version}", package], capture_output=True, text=True)
    words = found.stdout.split()
    return words[-1] if found.returncode == 0 and "installed" in words[:3] and len(words) == 4 else None


def satisfied(clause):
    """One Depends clause ("a (>= 1) | b") met by a package installed on this machine."""
    for alternative in clause.split("|"):
        m = re.match(r"\s*([a-z0-9.+-]+)(?::\w+)?\s*(?:\(\s*([<>=]+)\s*([^)\s]+)\s*\))?\s*$", alternative)
        if not m:
            continue
        version = installed_version(m.group(1))
        if version is None:
            continue
        if not m.group(2):
            return True
        relation = {">=": "ge", "<=": "le", "=": "eq", ">>": "gt", "<<": "lt"}[m.group(2)]
        if subprocess.run(["dpkg", "--compare-versions", version, relation, m.group(3)]).returncode == 0:
            return True
    return False


@unittest.skipIf(MISSING or not os.path.exists(os.path.join(BUILD, "CPackConfig.cmake")),
                 "needs a configured build and %s" % ", ".join(MISSING or ["CPackConfig.cmake"]))
class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="zelvo-deb-")
        run("cpack", "-G", "DEB", "--config", os.path.join(BUILD, "CPackConfig.cmake"), "-B",
            os.path.join(cls.work, "out"), timeout=600)
        debs = [f for f in os.listdir(os.path.join(cls.work, "out")) if f.endswith(".deb")]
        cls.deb = os.path.join(cls.work, "out", debs[0]) if len(debs) == 1 else None

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def field(self, name):
        return run("dpkg-deb", "-f", self.deb, name).stdout.strip()

    def test_the_package_describes_itself_and_holds_the_program_its_assets_and_menu_entry(self):
        self.assertIsNotNone(self.deb, "CPack made exactly one .deb")
        self.assertEqual(self.field("Package"), "zelvo")
        self.assertRegex(self.field("Version"), r"^\d+\.\d+\.\d+$")
        self.assertEqual(self.field("Architecture"), run("dpkg", "--print-architecture").stdout.strip())
        contents = {}
        for line in run("dpkg-deb", "-c", self.deb).stdout.splitlines():
            contents[line.split()[-1]] = line.split()[0]
        for path in ("./usr/bin/zelvo", "./usr/share/zelvo/alarm.wav", "./usr/share/zelvo/splash.png",
                     "./usr/share/applications/zelvo.desktop", "./usr/share/icons/hicolor/64x64/apps/zelvo.png",
                     "./usr/share/man/man1/zelvo.1.gz"):
            self.assertIn(path, contents)
        self.assertTrue(contents["./usr/bin/zelvo"].startswith("-rwxr-xr-x"), contents["./usr/bin/zelvo"])
        self.assertFalse([p for p in contents if p.startswith("./usr/share/zelvo/") and p.endswith((".ini", ".txt"))],
                         "no user file is shipped")

    def test_debians_own_checker_finds_no_error(self):
        found = run("lintian", "--tag-display-limit", "0", self.deb, check=False, timeout=300).stdout
        self.assertEqual([line for line in found.splitlines() if line.startswith("E:")], [], found)

    def test_every_dependency_is_a_debian_package_met_on_this_machine(self):
        depends = [c.strip() for c in self.field("Depends").split(",") if c.strip()]
        names = " ".join(depends)
        for library in ("libqt6widgets6", "libqt6multimedia6", "libcurl4"):
            self.assertIn(library, names)
        self.assertEqual([c for c in depends if not satisfied(c)], [])
        self.assertIn("qt6-wayland", self.field("Recommends"))

    def test_installed_with_dpkg_it_starts_keeps_user_files_at_home_and_is_removed_cleanly(self):
        root = os.path.join(self.work, "root")
        for folder in ("info", "updates", "triggers"):
            os.makedirs(os.path.join(root, "var", "lib", "dpkg", folder), exist_ok=True)
        open(os.path.join(root, "var", "lib", "dpkg", "status"), "a").close()
        dpkg = ["dpkg", "--root=" + root, "--log=/dev/null", "--force-depends", "--force-not-root"]
        run(*dpkg, "-i", self.deb, timeout=120)
        program = os.path.join(root, "usr", "bin", "zelvo")
        self.assertTrue(os.access(program, os.X_OK))
        desktop = os.path.join(root, "usr", "share", "applications", "zelvo.desktop")
        self.assertEqual(run("desktop-file-validate", desktop, check=False).stdout, "")
        with open(desktop) as f:
            self.assertIn("Exec=zelvo\n", f.read())

        home = os.path.join(self.work, "home")
        runtime = os.path.join(home, "runtime")
        os.makedirs(runtime, mode=0o700)
        display = Display()
        self.addCleanup(display.stop)
        env = dict(os.environ, DISPLAY=display.name, HOME=home, XDG_RUNTIME_DIR=runtime, LANG="C.UTF-8",
                   LC_ALL="C.UTF-8", QT_QPA_PLATFORM="xcb")
        env.pop("XDG_DATA_HOME", None)
        proc = subprocess.Popen([program], cwd=home, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: proc.poll() is None and proc.kill())
        deadline = time.time() + 20
        shown = []
        while not shown and time.time() < deadline:
            shown = run("xdotool", "search", "--onlyvisible", "--name", "^Zelvo$", env=env, check=False).stdout.split()
            time.sleep(0.1)
        self.assertTrue(shown, "the installed program showed its main window")
        proc.send_signal(signal.SIGTERM)
        self.assertEqual(proc.wait(timeout=15), 0)
        user = os.path.join(home, ".local", "share", "Zelvo")
        self.assertTrue(os.path.exists(os.path.join(user, "Zelvo.ini")))
        self.assertTrue(os.path.exists(os.path.join(user, "log.txt")))

        run(*dpkg, "-r", "zelvo", timeout=120)
        left = [os.path.join(d, f) for d, _, files in os.walk(os.path.join(root, "usr")) for f in files]
        self.assertEqual(left, [], "removal leaves nothing behind")
        self.assertTrue(os.path.exists(os.path.join(user, "Zelvo.ini")), "the user's countdowns stay")


if __name__ == "__main__":
    unittest.main()
