#pragma once

#include "core/calendar/CalendarTime.h"
#include "core/platform/COleDateTime.h"

// Principal phases of the moon after J. Meeus, Astronomical Algorithms, chapter 49.
// Phase selectors: 0 new moon, 1 first quarter, 2 full moon, 3 last quarter. Lunation n = 0
// begins with the new moon of 1922-12-18; Meeus' k is n - 953. Instants are ephemeris time and
// are shown as local time without any correction (the difference is a minute or so).

// x degrees reduced modulo 360 (keeping its sign), in radians.
double DegToRad(double x);

// Julian Ephemeris Day of the phase for k = (n - 953) + 0.25 x phase. Any selector other than
// 0..3 is a programming error and ends the process.
double TruePhase(double k, int phase);

// Gregorian calendar from Julian Day 2299161 on, Julian before; the time of day is truncated to
// whole seconds.
CalendarTime JdToCalendar(double jd);

// The instant of the phase in lunation n.
CalendarTime PhaseInstant(int n, int phase);

// For a day: the next principal phase after it (nextPhase) and its day at 00:00
// (nextPhaseDate), and how far the moon has gone through the current half cycle, truncated:
// waxing 0 (new) .. 50 (first quarter) .. 100 (full), waning 0 (full) .. 50 (last quarter)
// .. 100 (new). For a day that is not valid the result is 0 and nextPhaseDate is invalid.
int MoonPhase(const COleDateTime& day, COleDateTime& nextPhaseDate, int& nextPhase);
