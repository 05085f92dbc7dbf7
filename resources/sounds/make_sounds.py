#!/usr/bin/env python3
"""Writes the program's built-in sound clips (16-bit mono PCM WAV) next to this script."""
import math
import os
import struct
import wave

RATE = 22050


def tone(freq, seconds, volume=0.5, fade=0.01):
    n = int(RATE * seconds)
    ramp = max(1, int(RATE * fade))
    out = []
    for i in range(n):
        env = min(1.0, i / ramp, (n - 1 - i) / ramp)
        out.append(volume * env * math.sin(2 * math.pi * freq * i / RATE))
    return out


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def write(name, samples):
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), name)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", int(max(-1, min(1, s)) * 32767))
                               for s in samples))


# The alarm beep, and the same beep once a second for looping.
write("beep.wav", tone(880, 0.15))
write("beep-loop.wav", tone(880, 0.15) + silence(0.85))
