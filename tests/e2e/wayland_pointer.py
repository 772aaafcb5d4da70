"""A pointer click on a wlroots compositor with no input devices, through its virtual-pointer
protocol, spoken in the Wayland wire format (no client library needed)."""
import socket
import struct
import time

BTN_LEFT = 0x110


def _string(s):
    b = s.encode() + b"\0"
    return struct.pack("<I", len(b)) + b + b"\0" * (-len(b) % 4)


class Wire:
    """One connection: objects are numbered from 2 (1 is the display); only the registry's globals
    and the display's errors are read, every other event is skipped."""

    def __init__(self, path):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(path)
        self.next_id, self.buf, self.globals = 2, b"", {}

    def send(self, obj, opcode, payload=b""):
        self.sock.sendall(struct.pack("<II", obj, (8 + len(payload)) << 16 | opcode) + payload)

    def new(self):
        self.next_id += 1
        return self.next_id - 1

    def roundtrip(self):
        done = self.new()
        self.send(1, 0, struct.pack("<I", done))
        while True:
            while len(self.buf) < 8:
                chunk = self.sock.recv(4096)
                if not chunk:
                    raise RuntimeError("compositor closed the connection")
                self.buf += chunk
            obj, word = struct.unpack_from("<II", self.buf)
            size, opcode = word >> 16, word & 0xFFFF
            while len(self.buf) < size:
                self.buf += self.sock.recv(4096)
            body, self.buf = self.buf[8:size], self.buf[size:]
            if obj == 1 and opcode == 0:
                raise RuntimeError("protocol error: %r" % body)
            if obj == self.registry and opcode == 0:
                name, length = struct.unpack_from("<II", body)
                interface = body[8:8 + length - 1].decode()
                self.globals[interface] = (name, struct.unpack_from("<I", body, 8 + length + (-length % 4))[0])
            if obj == done:
                return

    def bind(self, interface, version):
        name, offered = self.globals[interface]
        new = self.new()
        self.send(self.registry, 0, struct.pack("<I", name) + _string(interface) + struct.pack("<II", min(version, offered), new))
        return new

def click(x, y, width, height, path):
    """Moves the pointer to x, y of a layout width by height and clicks the left button."""
    w = Wire(path)
    w.registry = w.new()
    w.send(1, 1, struct.pack("<I", w.registry))
    w.roundtrip()
    seat = w.bind("wl_seat", 1)
    manager = w.bind("zwlr_virtual_pointer_manager_v1", 1)
    pointer = w.new()
    w.send(manager, 0, struct.pack("<II", seat, pointer))
    w.roundtrip()

    def ms():
        return int(time.monotonic() * 1000) & 0xFFFFFFFF

    # motion_absolute, then frame; button pressed and released, each with its frame
    w.send(pointer, 1, struct.pack("<IIIII", ms(), x, y, width, height))
    w.send(pointer, 4)
    w.roundtrip()
    time.sleep(0.2)
    for state in (1, 0):
        w.send(pointer, 2, struct.pack("<III", ms(), BTN_LEFT, state))
        w.send(pointer, 4)
        w.roundtrip()
        time.sleep(0.1)
    w.sock.close()
