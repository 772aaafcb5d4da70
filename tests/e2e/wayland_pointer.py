"""A left click on a wlroots compositor with no input devices, through its virtual-pointer protocol
spoken in the Wayland wire format: objects from 2 up (1 is the display); of the events only the
registry's globals and the display's errors are read."""
import socket
import struct
import time


def click(x, y, width, height, path):
    sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    sock.connect(path)
    send = lambda obj, op, body=b"": sock.sendall(struct.pack("<II", obj, (8 + len(body)) << 16 | op) + body)
    found, pending = {}, b""

    def roundtrip(done):
        nonlocal pending
        send(1, 0, struct.pack("<I", done))  # wl_display.sync
        while True:
            while len(pending) < 8 or len(pending) < struct.unpack_from("<I", pending, 4)[0] >> 16:
                chunk = sock.recv(4096)
                if not chunk:
                    raise RuntimeError("the compositor closed the connection")
                pending += chunk
            obj, word = struct.unpack_from("<II", pending)
            body, pending = pending[8:word >> 16], pending[word >> 16:]
            if obj == 1 and word & 0xFFFF == 0:
                raise RuntimeError("protocol error: %r" % body)
            if obj == 2:  # wl_registry.global: name, interface, version
                size = struct.unpack_from("<I", body, 4)[0]
                found[body[8:7 + size].decode()] = struct.unpack_from("<I", body)[0]
            if obj == done:
                return

    def bind(interface, new):
        text = interface.encode() + b"\0"
        text = struct.pack("<I", len(text)) + text + b"\0" * (-len(text) % 4)
        send(2, 0, struct.pack("<I", found[interface]) + text + struct.pack("<II", 1, new))

    send(1, 1, struct.pack("<I", 2))  # wl_display.get_registry
    roundtrip(3)
    bind("wl_seat", 4)
    bind("zwlr_virtual_pointer_manager_v1", 5)
    send(5, 0, struct.pack("<II", 4, 6))  # create_virtual_pointer(seat, pointer 6)
    now = lambda: int(time.monotonic() * 1000) & 0xFFFFFFFF
    send(6, 1, struct.pack("<IIIII", now(), x, y, width, height))  # motion_absolute
    send(6, 4)  # frame
    roundtrip(7)
    for state, done in ((1, 8), (0, 9)):  # button BTN_LEFT pressed, released
        time.sleep(0.1)
        send(6, 2, struct.pack("<III", now(), 0x110, state))
        send(6, 4)
        roundtrip(done)
    sock.close()
