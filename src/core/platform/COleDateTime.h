#pragma once

#include "core/platform/COleDateTimeSpan.h"

#include <cstdint>
#include <ctime>
#include <string>

// A local wall-clock time stored as days since 1899-12-30 00:00 (the fraction is the time of
// day). For days before the epoch the double is negative but its fraction still counts
// forward from midnight: -1.25 is 1899-12-29 06:00. Valid years are 100..9999.
class COleDateTime {
public:
    enum Status : int32_t { valid = 0, invalid = 1, null = 2 };

    COleDateTime() = default;
    explicit COleDateTime(double dt) : m_dt(dt) { CheckRange(); }
    COleDateTime(int year, int month, int day, int hour, int minute, int second) {
        SetDateTime(year, month, day, hour, minute, second);
    }

    // Builds the time; a component out of range makes the value invalid (and 0.0).
    int SetDateTime(int year, int month, int day, int hour, int minute, int second);
    int SetDate(int year, int month, int day) { return SetDateTime(year, month, day, 0, 0, 0); }
    void SetStatus(Status s) { m_status = s; }
    Status GetStatus() const { return m_status; }
    bool IsValid() const { return m_status == valid; }

    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 = Sunday .. 7 = Saturday; -1 when not valid
    int GetDayOfYear() const;

    // strftime codes in the C locale; empty for a value that is not valid.
    std::string Format(const char* format) const;

    COleDateTime operator+(COleDateTimeSpan span) const;
    COleDateTime operator-(COleDateTimeSpan span) const;
    COleDateTime& operator+=(COleDateTimeSpan span) { return *this = *this + span; }
    COleDateTime& operator-=(COleDateTimeSpan span) { return *this = *this - span; }
    COleDateTimeSpan operator-(const COleDateTime& other) const;

    bool operator==(const COleDateTime& o) const {
        return m_status == o.m_status && m_dt == o.m_dt;
    }
    bool operator<(const COleDateTime& o) const { return Linear() < o.Linear(); }
    bool operator>(const COleDateTime& o) const { return o < *this; }
    bool operator<=(const COleDateTime& o) const { return !(o < *this); }
    bool operator>=(const COleDateTime& o) const { return !(*this < o); }

    // The day count on a continuous scale (negative days no longer count time backwards).
    double Linear() const;
    static COleDateTime FromLinear(double linear);

    // Whole minutes / seconds between two times as the rest of the program counts them.
    static int WholeMinutes(COleDateTimeSpan span);
    static int WholeSeconds(COleDateTimeSpan span);

    struct Parts {
        int year, month, day, hour, minute, second, dayOfWeek, dayOfYear;
    };
    bool GetParts(Parts& out) const;
    // The same as C's broken-down time (tm_isdst -1: for mktime to find); false when invalid.
    bool GetTm(std::tm& out) const;

    double m_dt = 0.0;
    Status m_status = valid;

private:
    void CheckRange();
};
