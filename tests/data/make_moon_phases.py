#!/usr/bin/python3
"""Writes moon_phases_1990_2030.txt: every new moon, first quarter, full moon and last quarter
from 1990-01-01 to 2030-12-31 (UT), one "phase YYYY-MM-DD HH:MM:SS deltaT" a line in time
order, phase 0 new, 1 first quarter, 2 full, 3 last quarter, deltaT the seconds by which
ephemeris (dynamical) time was ahead of UT at that instant.

The instants come from python3-ephem (Debian package), an ephemeris independent of ours.
Run once; the output is committed:  /usr/bin/python3 tests/data/make_moon_phases.py
"""
import datetime
import os

import ephem

FINDERS = [ephem.next_new_moon, ephem.next_first_quarter_moon, ephem.next_full_moon,
           ephem.next_last_quarter_moon]
START = ephem.Date("1990/1/1 00:00:00")
END = ephem.Date("2031/1/1 00:00:00")

events = []
for phase, finder in enumerate(FINDERS):
    t = finder(START)
    while t < END:
        events.append((float(t), phase))
        t = finder(ephem.Date(t + 1.0))
events.sort()

here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "moon_phases_1990_2030.txt"), "w") as out:
    for t, phase in events:
        dt = ephem.Date(t).datetime() + datetime.timedelta(microseconds=500000)
        out.write(f"{phase} {dt:%Y-%m-%d %H:%M:%S} {ephem.delta_t(ephem.Date(t)):.1f}\n")
