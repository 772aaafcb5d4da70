import functools
import os
import shutil
import tempfile
import threading
import time
import unittest
from http.server import SimpleHTTPRequestHandler, ThreadingHTTPServer

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


class Files(SimpleHTTPRequestHandler):
    """The server's folder; anything under /slow/ trickles out instead, a kilobyte every 100 ms."""

    def log_message(self, *args):
        pass

    def do_GET(self):
        if not self.path.startswith("/slow/"):
            return super().do_GET()
        data = b"x" * 300 * 1024
        self.send_response(200)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        try:
            for start in range(0, len(data), 1024):
                self.wfile.write(data[start:start + 1024])
                self.wfile.flush()
                time.sleep(0.1)
        except OSError:  # the program hung up
            pass


class UpdateServer:
    """The maker's update server on 127.0.0.1, serving a folder."""

    def __init__(self, installer="/dl/ZelvoSetup@@@.exe"):
        self.root = tempfile.mkdtemp(prefix="zelvo-server-")
        os.makedirs(os.path.join(self.root, "versions"))
        os.makedirs(os.path.join(self.root, "dl"))
        self.write("versions/ZELV_current.txt", "2.1.3b\nhttp://127.0.0.1:%d%s\n" % (PORT, installer))
        self.write("versions/ZELV_details.txt", "Zelvo 2.1.3b\n- calmer alarm\n")
        # An installer is never shorter than 25,000 bytes.
        self.write("dl/ZelvoSetup213b.exe", INSTALLER + "#" + "x" * 30000 + "\n")
        ThreadingHTTPServer.allow_reuse_address = True
        self.server = ThreadingHTTPServer(("127.0.0.1", PORT), functools.partial(Files, directory=self.root))
        self.server.daemon_threads = True
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def write(self, name, text):
        with open(os.path.join(self.root, name), "w") as f:
            f.write(text)

    def stop(self):
        self.server.shutdown()
        self.server.server_close()
        shutil.rmtree(self.root, ignore_errors=True)


@unittest.skipUnless(BINARY, "ZELVO_UPDATE_BIN names the program built against the local update server")
class Update(unittest.TestCase):
    def open_updater(self, installer="/dl/ZelvoSetup@@@.exe"):
        server = UpdateServer(installer)
        self.addCleanup(server.stop)
        app = Zelvo(binary=BINARY)
        self.addCleanup(app.stop)
        app.write_settings(["ASKEDABOUTAUTOUPDATES,-1 ", "DISABLEAUTOUPDATECHECK,-1 "])
        app.start()
        app.click_twips(*CHECK_FOR_UPDATE)
        updater = app.wait_window("^Zelvo Updater$")
        time.sleep(1)
        return app, updater

    def test_exit_during_a_slow_download_ends_at_once_and_leaves_nothing(self):
        app, updater = self.open_updater("/slow/ZelvoSetup@@@.exe")
        x, y, _, _ = app.geometry(updater)
        app.click_at(x + DOWNLOAD_AND_INSTALL[0], y + DOWNLOAD_AND_INSTALL[1])
        time.sleep(2)  # 30 s of download ahead
        app.xdo("windowmove", updater, "0", "0")  # off the Exit button
        app.click_twips(*EXIT_BUTTON)
        pressed = time.time()
        self.assertEqual(app.wait_exit(timeout=30), 0)
        self.assertLess(time.time() - pressed, 2.0, "the program waited for the download")
        time.sleep(1)
        self.assertFalse(os.path.exists(app.path("ZelvoUpd.exe")), "a partial installer was left")
        self.assertFalse(os.path.exists(app.path("installer-ran")))

    def test_check_download_install_and_the_installer_runs_at_exit(self):
        app, updater = self.open_updater()
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
