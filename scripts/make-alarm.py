#!/usr/bin/env python3
"""Writes assets/alarm.wav: a soft three-note chime, repeated twice, about three seconds."""
import math
import struct
import sys
import wave

RATE = 22050
NOTES = [(880.0, 0.35), (1108.73, 0.35), (1318.51, 0.6)]  # A5, C#6, E6


def chime():
    samples = []
    for _ in range(2):
        for freq, length in NOTES:
            n = int(RATE * length)
            for i in range(n):
                t = i / RATE
                envelope = min(1.0, t / 0.01) * math.exp(-3.5 * t)
                tone = math.sin(2 * math.pi * freq * t) + 0.3 * math.sin(4 * math.pi * freq * t)
                samples.append(0.45 * envelope * tone)
        samples.extend([0.0] * int(RATE * 0.25))
    return samples


def main(path):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(max(-1, min(1, s)) * 32000)) for s in chime()))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "assets/alarm.wav")
