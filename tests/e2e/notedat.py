#!/usr/bin/env python3
"""Reads a Jotterly data file and prints its notes as JSON, for the end-to-end tests.

Usage: notedat.py Note.Dat  ->  {"notes": [{"title": ..., "text": ..., "posted": 0/1}, ...]}
Only the current file version is read (the one the program writes).
"""
import json
import struct
import sys


class Reader:
    def __init__(self, data):
        self.data, self.pos = data, 0

    def take(self, n):
        if self.pos + n > len(self.data):
            raise ValueError("file ends early at byte %d" % self.pos)
        chunk = self.data[self.pos:self.pos + n]
        self.pos += n
        return chunk

    def int(self):
        return struct.unpack("<i", self.take(4))[0]

    def byte(self):
        return self.take(1)[0]

    def time(self):
        self.take(12)

    def string(self):
        n = self.byte()
        if n == 0xFF:
            n = struct.unpack("<H", self.take(2))[0]
            if n == 0xFFFF:
                n = struct.unpack("<I", self.take(4))[0]
        return self.take(n).decode("utf-8", "replace")

    def font(self):
        self.take(5 * 4 + 8)
        self.string()


def read(path):
    r = Reader(open(path, "rb").read())
    r.time()
    r.time()
    version = r.int()
    if version != -19991201:
        raise ValueError("unexpected version %d" % version)
    r.int(); r.string()
    for _ in range(9):
        r.int()
    for _ in range(5):
        r.font()
    for _ in range(10):
        r.int()
    r.int(); r.time()
    for _ in range(5):
        r.int()
    r.int(); r.time()
    r.int(); r.time()
    r.string(); r.int()
    for _ in range(4):
        r.string()
    for _ in range(5):
        r.string(); r.string(); r.int(); r.int(); r.int()
    r.int()
    for _ in range(r.int()):
        r.string(); r.string(); r.int(); r.string(); r.string()
    for _ in range(r.int() - 1):
        r.string()
        for _ in range(4):
            r.int()
    for _ in range(r.int()):
        r.int()
    notes = []
    for _ in range(r.int()):
        r.int(); r.int()
        for _ in range(5):
            r.time()
        for _ in range(7):
            r.int()
        r.font()
        title, text = r.string(), r.string()
        r.int()
        for _ in range(8):
            r.int()
        posted = r.int()
        for _ in range(4):
            r.int()
        notes.append({"title": title, "text": text, "posted": posted})
    if r.pos != len(r.data):
        raise ValueError("%d bytes left over" % (len(r.data) - r.pos))
    return {"notes": notes}


if __name__ == "__main__":
    json.dump(read(sys.argv[1]), sys.stdout)
    print()
