import os
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

from harness import BIN, Display


class Installed(unittest.TestCase):
    """A copy laid out as the install rules place it: <prefix>/bin and <prefix>/share/zelvo."""

    def test_user_files_go_to_the_user_data_folder_and_assets_come_from_share(self):
        prefix = tempfile.mkdtemp(prefix="zelvo-prefix-")
        home = tempfile.mkdtemp(prefix="zelvo-home-")
        self.addCleanup(shutil.rmtree, prefix, True)
        self.addCleanup(shutil.rmtree, home, True)
        os.makedirs(os.path.join(prefix, "bin"))
        os.makedirs(os.path.join(prefix, "share", "zelvo"))
        shutil.copy2(BIN, os.path.join(prefix, "bin", "zelvo"))
        for asset in ("alarm.wav", "splash.png"):
            shutil.copy2(os.path.join(os.path.dirname(BIN), asset), os.path.join(prefix, "share", "zelvo", asset))
        display = Display()
        self.addCleanup(display.stop)
        runtime = os.path.join(home, "runtime")
        os.makedirs(runtime, mode=0o700)
        env = dict(os.environ, DISPLAY=display.name, HOME=home, XDG_RUNTIME_DIR=runtime, LANG="C.UTF-8",
                   LC_ALL="C.UTF-8", QT_QPA_PLATFORM="xcb")
        env.pop("XDG_DATA_HOME", None)
        proc = subprocess.Popen([os.path.join(prefix, "bin", "zelvo")], cwd=home, env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: proc.poll() is None and proc.kill())
        user = os.path.join(home, ".local", "share", "Zelvo")
        deadline = time.time() + 15
        while not os.path.exists(os.path.join(user, "log.txt")) and time.time() < deadline:
            time.sleep(0.1)
        time.sleep(0.5)
        proc.send_signal(signal.SIGTERM)
        self.assertEqual(proc.wait(timeout=15), 0)
        self.assertTrue(os.path.exists(os.path.join(user, "Zelvo.ini")))
        self.assertTrue(os.path.exists(os.path.join(user, "log.txt")))
        self.assertEqual(sorted(os.listdir(os.path.join(prefix, "bin"))), ["zelvo"], "nothing written beside it")


if __name__ == "__main__":
    unittest.main()
