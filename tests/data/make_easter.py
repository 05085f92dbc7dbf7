#!/usr/bin/python3
"""Writes easter_1900_2100.txt: Gregorian Easter Sunday for 1900..2100, one "YYYY MM DD" a line.

The dates come from python3-dateutil (Debian package), an implementation independent of ours.
Run once; the output is committed:  /usr/bin/python3 tests/data/make_easter.py
"""
import os

from dateutil.easter import EASTER_WESTERN, easter

here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "easter_1900_2100.txt"), "w") as out:
    for year in range(1900, 2101):
        d = easter(year, EASTER_WESTERN)
        out.write(f"{d.year:04d} {d.month:02d} {d.day:02d}\n")
