"""HTTP peer for the transport tests: prints its port, then serves until terminated.

Paths:
  /bytes/N      N bytes of a letter pattern, with Content-Length
  /nolength/N   the same without Content-Length (the body ends when the connection closes)
  /status/CODE  the server's HTML error page for that status
  /stall        accepts the request and never answers
  /stallbody    announces 100 bytes, sends 10 and then nothing more
  /files/NAME   the file NAME from the folder given as the second argument, with Content-Length
  /errorpage/CODE/N  status CODE with an HTML page of N bytes, with Content-Length
  /redirect/REST     302 to /REST
  /slow/N[/MS]       N kilobytes with Content-Length, one every MS (100) milliseconds
Every request is appended to the log file given as the first argument: path, then each header.
"""
import os
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

PATTERN = b"abcdefghijklmnopqrstuvwxyz0123456789"
LOG = sys.argv[1] if len(sys.argv) > 1 else None
FILES = sys.argv[2] if len(sys.argv) > 2 else None
LOG_LOCK = threading.Lock()


def body(n):
    return bytes(PATTERN[i % len(PATTERN)] for i in range(n))


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def record(self):
        if not LOG:
            return
        with LOG_LOCK, open(LOG, "a", encoding="latin-1") as f:
            f.write("REQUEST " + self.path + "\n")
            for name, value in self.headers.items():
                f.write(name + ": " + value + "\n")

    def do_GET(self):
        self.record()
        parts = self.path.strip("/").split("/")
        if parts[0] == "bytes" and len(parts) == 2:
            data = body(int(parts[1]))
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(data)
        elif parts[0] == "nolength" and len(parts) == 2:
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.end_headers()
            self.wfile.write(body(int(parts[1])))
        elif parts[0] == "status" and len(parts) == 2:
            self.send_error(int(parts[1]))
        elif parts[0] == "files" and len(parts) == 2 and FILES and os.path.isfile(os.path.join(FILES, parts[1])):
            with open(os.path.join(FILES, parts[1]), "rb") as f:
                data = f.read()
            self.send_response(200)
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(data)
        elif parts[0] == "errorpage" and len(parts) == 3:
            page = b"<html><body>Error " + parts[1].encode() + b"</body></html>"
            data = page + b" " * max(0, int(parts[2]) - len(page))
            self.send_response(int(parts[1]))
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(data)
        elif parts[0] == "redirect" and len(parts) > 1:
            self.send_response(302)
            self.send_header("Location", "/" + "/".join(parts[1:]))
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif parts[0] == "slow" and len(parts) in (2, 3):
            count = int(parts[1])
            gap = int(parts[2]) / 1000.0 if len(parts) == 3 else 0.1
            self.send_response(200)
            self.send_header("Content-Length", str(1024 * count))
            self.end_headers()
            for _ in range(count):
                self.wfile.write(body(1024))
                self.wfile.flush()
                time.sleep(gap)
        elif parts[0] == "stall":
            time.sleep(3600)
        elif parts[0] == "stallbody":
            self.send_response(200)
            self.send_header("Content-Length", "100")
            self.end_headers()
            self.wfile.write(body(10))
            self.wfile.flush()
            time.sleep(3600)
        else:
            self.send_error(404)


def main():
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
