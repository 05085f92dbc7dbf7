#!/usr/bin/env python3
"""Writes the two built-in short sounds (resources 241 and 242) as 16-bit mono WAV files.

241: the note is thrown away (a soft descending noise swish).
242: the note is closed (a short falling two-tone blip).
Run from the repository root; the output is committed, so this only needs to run again
when the sounds are to change.
"""
import math
import random
import struct
import wave

RATE = 22050


def write(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", max(-32767, min(32767, int(s * 32767))))
                               for s in samples))


def envelope(i, n, attack=0.01):
    t = i / RATE
    a = min(1.0, t / attack)
    return a * (1.0 - i / n) ** 2


def swish(duration=0.16):
    rnd = random.Random(241)
    n = int(RATE * duration)
    out, low = [], 0.0
    for i in range(n):
        # Noise through a one-pole low-pass whose cut-off falls: a swish that dies away.
        k = 0.5 - 0.45 * i / n
        low += k * (rnd.uniform(-1, 1) - low)
        out.append(0.6 * low * envelope(i, n))
    return out


def blip(duration=0.12):
    n = int(RATE * duration)
    out, phase = [], 0.0
    for i in range(n):
        f = 1200.0 if i < n / 2 else 800.0
        phase += 2 * math.pi * f / RATE
        out.append(0.35 * math.sin(phase) * envelope(i, n, 0.004))
    return out


if __name__ == "__main__":
    write("resources/sounds/241.wav", swish())
    write("resources/sounds/242.wav", blip())
