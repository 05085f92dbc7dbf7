#include "core/calendar/MoonPhase.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

double DegToRad(double x) {
    return std::fmod(x, 360.0) * 0.017453292519943295;
}

namespace {

double Sin(double degrees) {
    return std::sin(DegToRad(degrees));
}
double Cos(double degrees) {
    return std::cos(DegToRad(degrees));
}

// One periodic term: coefficient x E^ePower x sin(m M + mp M' + f F + om Omega).
struct Term {
    double coefficient;
    int ePower, m, mp, f, om;
};

// Meeus, Astronomical Algorithms (1991), chapter 49, the complete tables.
constexpr Term kNewMoon[] = {
    {-0.40720, 0, 0, 1, 0, 0}, {0.17241, 1, 1, 0, 0, 0},    {0.01608, 0, 0, 2, 0, 0},
    {0.01039, 0, 0, 0, 2, 0},  {0.00739, 1, -1, 1, 0, 0},   {-0.00514, 1, 1, 1, 0, 0},
    {0.00208, 2, 2, 0, 0, 0},  {-0.00111, 0, 0, 1, -2, 0},  {-0.00057, 0, 0, 1, 2, 0},
    {0.00056, 1, 1, 2, 0, 0},  {-0.00042, 0, 0, 3, 0, 0},   {0.00042, 1, 1, 0, 2, 0},
    {0.00038, 1, 1, 0, -2, 0}, {-0.00024, 1, -1, 2, 0, 0},  {-0.00017, 0, 0, 0, 0, 1},
    {-0.00007, 0, 2, 1, 0, 0}, {0.00004, 0, 0, 2, -2, 0},   {0.00004, 0, 3, 0, 0, 0},
    {0.00003, 0, 1, 1, -2, 0}, {0.00003, 0, 0, 2, 2, 0},    {-0.00003, 0, 1, 1, 2, 0},
    {0.00003, 0, -1, 1, 2, 0}, {-0.00002, 0, -1, 1, -2, 0}, {-0.00002, 0, 1, 3, 0, 0},
    {0.00002, 0, 0, 4, 0, 0},
};

constexpr Term kFullMoon[] = {
    {-0.40614, 0, 0, 1, 0, 0}, {0.17302, 1, 1, 0, 0, 0},    {0.01614, 0, 0, 2, 0, 0},
    {0.01043, 0, 0, 0, 2, 0},  {0.00734, 1, -1, 1, 0, 0},   {-0.00515, 1, 1, 1, 0, 0},
    {0.00209, 2, 2, 0, 0, 0},  {-0.00111, 0, 0, 1, -2, 0},  {-0.00057, 0, 0, 1, 2, 0},
    {0.00056, 1, 1, 2, 0, 0},  {-0.00042, 0, 0, 3, 0, 0},   {0.00042, 1, 1, 0, 2, 0},
    {0.00038, 1, 1, 0, -2, 0}, {-0.00024, 1, -1, 2, 0, 0},  {-0.00017, 0, 0, 0, 0, 1},
    {-0.00007, 0, 2, 1, 0, 0}, {0.00004, 0, 0, 2, -2, 0},   {0.00004, 0, 3, 0, 0, 0},
    {0.00003, 0, 1, 1, -2, 0}, {0.00003, 0, 0, 2, 2, 0},    {-0.00003, 0, 1, 1, 2, 0},
    {0.00003, 0, -1, 1, 2, 0}, {-0.00002, 0, -1, 1, -2, 0}, {-0.00002, 0, 1, 3, 0, 0},
    {0.00002, 0, 0, 4, 0, 0},
};

constexpr Term kQuarter[] = {
    {-0.62801, 0, 0, 1, 0, 0}, {0.17172, 1, 1, 0, 0, 0},    {-0.01183, 1, 1, 1, 0, 0},
    {0.00862, 0, 0, 2, 0, 0},  {0.00804, 0, 0, 0, 2, 0},    {0.00454, 1, -1, 1, 0, 0},
    {0.00204, 2, 2, 0, 0, 0},  {-0.00180, 0, 0, 1, -2, 0},  {-0.00070, 0, 0, 1, 2, 0},
    {-0.00040, 0, 0, 3, 0, 0}, {-0.00034, 1, -1, 2, 0, 0},  {0.00032, 1, 1, 0, 2, 0},
    {0.00032, 1, 1, 0, -2, 0}, {-0.00028, 2, 2, 1, 0, 0},   {0.00027, 1, 1, 2, 0, 0},
    {-0.00017, 0, 0, 0, 0, 1}, {-0.00005, 0, -1, 1, -2, 0}, {0.00004, 0, 0, 2, 2, 0},
    {-0.00004, 0, 1, 1, 2, 0}, {0.00004, 0, -2, 1, 0, 0},   {0.00003, 0, 1, 1, -2, 0},
    {0.00003, 0, 3, 0, 0, 0},  {0.00002, 0, 0, 2, -2, 0},   {0.00002, 0, -1, 1, 2, 0},
    {-0.00002, 0, 1, 3, 0, 0},
};

// Planetary arguments A1..A14: constant, coefficient of k, coefficient of T^2.
struct Planetary {
    double constant, perK, perT2, amplitude;
};
constexpr Planetary kPlanetary[] = {
    {299.77, 0.107408, -0.009173, 0.000325}, {251.88, 0.016321, 0, 0.000165},
    {251.83, 26.651886, 0, 0.000164},        {349.42, 36.412478, 0, 0.000126},
    {84.66, 18.206239, 0, 0.000110},         {141.74, 53.303771, 0, 0.000062},
    {207.14, 2.453732, 0, 0.000060},         {154.84, 7.306860, 0, 0.000056},
    {34.52, 27.261239, 0, 0.000047},         {207.19, 0.121824, 0, 0.000042},
    {291.34, 1.844379, 0, 0.000040},         {161.72, 24.198154, 0, 0.000037},
    {239.56, 25.513099, 0, 0.000035},        {331.55, 3.592518, 0, 0.000023},
};

template <size_t N>
double SumTerms(const Term (&terms)[N], double e, double m, double mp, double f, double om) {
    double sum = 0.0;
    for (const Term& t : terms) {
        double factor = t.ePower == 0 ? 1.0 : t.ePower == 1 ? e : e * e;
        sum += t.coefficient * factor * Sin(t.m * m + t.mp * mp + t.f * f + t.om * om);
    }
    return sum;
}

} // namespace

double TruePhase(double k, int phase) {
    if (phase < 0 || phase > 3) {
        std::fputs("The Moon has exploded!\n", stderr);
        std::exit(1);
    }
    const double t = k * 0.0008085054776246109; // k / 1236.85
    const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;

    double jde =
        2451550.09765 + 29.530588853 * k + 0.0001337 * t2 - 0.000000150 * t3 + 0.00000000073 * t4;
    const double e = 1.0 - 0.002516 * t - 0.0000074 * t2;
    const double m = 2.5534 + 29.10535669 * k - 0.0000218 * t2 - 0.00000011 * t3;
    const double mp =
        201.5643 + 385.81693528 * k + 0.0107438 * t2 + 0.00001239 * t3 - 0.000000058 * t4;
    const double f =
        160.7108 + 390.67050274 * k - 0.0016341 * t2 - 0.00000227 * t3 + 0.000000011 * t4;
    const double om = 124.7746 - 1.5637558 * k + 0.0020691 * t2 + 0.00000215 * t3;

    switch (phase) {
    case 0:
        jde += SumTerms(kNewMoon, e, m, mp, f, om);
        break;
    case 2:
        jde += SumTerms(kFullMoon, e, m, mp, f, om);
        break;
    default: {
        jde += SumTerms(kQuarter, e, m, mp, f, om);
        double w = 0.00306 - 0.00038 * e * Cos(m) + 0.00026 * Cos(mp) - 0.00002 * Cos(mp - m) +
                   0.00002 * Cos(mp + m) + 0.00002 * Cos(2 * f);
        jde += phase == 1 ? w : -w;
        break;
    }
    }

    for (const Planetary& a : kPlanetary)
        jde += a.amplitude * Sin(a.constant + a.perK * k + a.perT2 * t2);
    return jde;
}

CalendarTime JdToCalendar(double jd) {
    double z = std::trunc(jd + 0.5);
    double f = jd + 0.5 - z;
    double a = z;
    if (z >= 2299161) {
        double alpha = std::trunc((z - 1867216.25) / 36524.25);
        a = z + 1 + alpha - std::trunc(alpha / 4);
    }
    double b = a + 1524;
    double c = std::trunc((b - 122.1) / 365.25);
    double d = std::trunc(365.25 * c);
    double e = std::trunc((b - d) / 30.6001);
    double dayWithFraction = b - d - std::trunc(30.6001 * e) + f;

    CalendarTime out;
    out.day = static_cast<int>(dayWithFraction);
    out.month = static_cast<int>(e < 14 ? e - 1 : e - 13);
    out.year = static_cast<int>(out.month > 2 ? c - 4716 : c - 4715);
    // The time of day comes from the fraction alone, so it never reaches 24:00.
    double x = f * 24.0;
    out.hour = static_cast<int>(x);
    x = (x - out.hour) * 60.0;
    out.minute = static_cast<int>(x);
    x = (x - out.minute) * 60.0;
    out.second = static_cast<int>(x);
    // No local-time normalisation: the fields are valid as they stand, and moving an instant
    // that falls in a daylight-saving gap by an hour would only make it wrong.
    return out;
}

CalendarTime PhaseInstant(int n, int phase) {
    return JdToCalendar(TruePhase((n - 953) + 0.25 * phase, phase));
}

namespace {
COleDateTime Midnight(const COleDateTime& t) {
    return COleDateTime(t.GetYear(), t.GetMonth(), t.GetDay(), 0, 0, 0);
}
} // namespace

int MoonPhase(const COleDateTime& day, COleDateTime& nextPhaseDate, int& nextPhase) {
    nextPhase = 0;
    nextPhaseDate = COleDateTime();
    nextPhaseDate.SetStatus(COleDateTime::invalid);
    if (!day.IsValid()) return 0;

    static const COleDateTime reference(1922, 12, 28, 12, 20, 0);
    int n = static_cast<int>((day - reference).GetTotalDays() * 0.033863867253640365);

    COleDateTime next = PhaseInstant(n, 0).ToDateTime();
    while (next.IsValid() && day > next)
        next = PhaseInstant(++n, 0).ToDateTime();
    if (!next.IsValid()) return 0;

    --n;
    COleDateTime previous = PhaseInstant(n, 0).ToDateTime();
    int found = -1;
    for (int phase = 1; phase <= 3; ++phase) {
        COleDateTime t = PhaseInstant(n, phase).ToDateTime();
        if (t > day) {
            found = phase;
            next = t;
            break;
        }
        previous = t;
    }
    if (found < 0) {
        next = PhaseInstant(n + 1, 0).ToDateTime();
        found = 0;
    }
    if (!previous.IsValid() || !next.IsValid()) return 0;

    next = Midnight(next);
    previous = Midnight(previous);
    nextPhase = found;
    nextPhaseDate = next;
    double span = (next - previous).GetTotalDays();
    double elapsed = (Midnight(day) - previous).GetTotalDays();
    double half = span > 0 ? elapsed * 50.0 / span : 0.0;
    return static_cast<int>(found == 1 || found == 3 ? half : 50.0 + half);
}
