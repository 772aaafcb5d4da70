import os
import shutil
import subprocess
import tempfile
import time
import unittest

from harness import Zelvo

PORT = int(os.environ.get("ZELVO_UPDATE_PORT", "38517"))
BINARY = os.environ.get("ZELVO_UPDATE_BIN", "")
CHECK_FOR_UPDATE = (945, 5712, 930, 465)
EXIT_BUTTON = (6528, 5715, 600, 465)
# Inside the update window (pixels from its top left corner, 96 dpi, DejaVu fonts).
VERDICT = (150, 37)
DOWNLOAD_AND_INSTALL = (185, 137)

INSTALLER = """#!/bin/sh
# Stands in for the real installer: shows what it found when it started.
cd "$(dirname "$0")"
cp Zelvo.ini installer-saw.ini 2>/dev/null
echo ran > installer-ran
"""


class UpdateServer:
    """The maker's update server, played by Python's http.server on 127.0.0.1."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="zelvo-server-")
        os.makedirs(os.path.join(self.root, "versions"))
        os.makedirs(os.path.join(self.root, "dl"))
        self.write("versions/ZELV_current.txt", "2.1.3b\nhttp://127.0.0.1:%d/dl/ZelvoSetup@@@.exe\n" % PORT)
        self.write("versions/ZELV_details.txt", "Zelvo 2.1.3b\n- calmer alarm\n")
        # An installer is never shorter than 25,000 bytes.
        self.write("dl/ZelvoSetup213b.exe", INSTALLER + "#" + "x" * 30000 + "\n")
        self.proc = subprocess.Popen(["/usr/bin/python3", "-m", "http.server", str(PORT), "--bind", "127.0.0.1",
                                      "-d", self.root], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)

    def write(self, name, text):
        with open(os.path.join(self.root, name), "w") as f:
            f.write(text)

    def stop(self):
        self.proc.terminate()
        self.proc.wait(timeout=10)
        shutil.rmtree(self.root, ignore_errors=True)


@unittest.skipUnless(BINARY, "ZELVO_UPDATE_BIN names the program built against the local update server")
class Update(unittest.TestCase):
    def test_check_download_install_and_the_installer_runs_at_exit(self):
        server = UpdateServer()
        self.addCleanup(server.stop)
        app = Zelvo(binary=BINARY)
        self.addCleanup(app.stop)
        app.write_settings(["ASKEDABOUTAUTOUPDATES,-1 ", "DISABLEAUTOUPDATECHECK,-1 "])
        app.start()

        app.click_twips(*CHECK_FOR_UPDATE)
        updater = app.wait_window("^Zelvo Updater$")
        time.sleep(1)
        x, y, _, _ = app.geometry(updater)
        app.click_at(x + VERDICT[0], y + VERDICT[1])
        app.key("ctrl+a", "ctrl+c")
        self.assertEqual(app.selection("clipboard"), "Version 2.1.3B is available!")
        app.screenshot("updater.png", updater)

        app.click_at(x + DOWNLOAD_AND_INSTALL[0], y + DOWNLOAD_AND_INSTALL[1])
        question = app.dialog(timeout=20)
        self.assertIn("The update has been downloaded. Do you want to install it now?", app.dialog_text(question))
        app.press(question, "Return")
        notice = app.dialog(timeout=10)
        self.assertIn("Please exit Zelvo now to begin the update process.", app.dialog_text(notice))
        app.press(notice, "Return")
        self.assertTrue(os.path.exists(app.path("ZelvoUpd.exe")))
        self.assertFalse(os.path.exists(app.path("installer-ran")), "the installer waits for the exit")

        app.click_twips(*EXIT_BUTTON)
        self.assertEqual(app.wait_exit(), 0)
        deadline = time.time() + 10
        while not os.path.exists(app.path("installer-ran")) and time.time() < deadline:
            time.sleep(0.1)
        self.assertTrue(os.path.exists(app.path("installer-ran")), "the installer did not run at exit")
        with open(app.path("installer-saw.ini"), "rb") as f:
            self.assertIn(b"LASTUPDATECHECK,", f.read(), "Zelvo.ini was not written before the installer ran")


if __name__ == "__main__":
    unittest.main()
