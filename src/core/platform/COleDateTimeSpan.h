#pragma once

// A span of time in days (fractions are hours, minutes and seconds).
class COleDateTimeSpan {
public:
    COleDateTimeSpan() = default;
    explicit COleDateTimeSpan(double days) : m_span(days) {}
    COleDateTimeSpan(long days, int hours, int minutes, int seconds)
        : m_span(days + hours / 24.0 + minutes / 1440.0 + seconds / 86400.0) {}

    double GetTotalDays() const { return m_span; }
    double GetTotalHours() const { return m_span * 24.0; }
    double GetTotalMinutes() const { return m_span * 1440.0; }
    double GetTotalSeconds() const { return m_span * 86400.0; }

    COleDateTimeSpan operator+(COleDateTimeSpan o) const {
        return COleDateTimeSpan(m_span + o.m_span);
    }
    COleDateTimeSpan operator-(COleDateTimeSpan o) const {
        return COleDateTimeSpan(m_span - o.m_span);
    }
    COleDateTimeSpan operator*(double f) const { return COleDateTimeSpan(m_span * f); }
    bool operator==(COleDateTimeSpan o) const { return m_span == o.m_span; }
    bool operator<(COleDateTimeSpan o) const { return m_span < o.m_span; }
    bool operator>(COleDateTimeSpan o) const { return m_span > o.m_span; }
    bool operator<=(COleDateTimeSpan o) const { return m_span <= o.m_span; }
    bool operator>=(COleDateTimeSpan o) const { return m_span >= o.m_span; }

    double m_span = 0.0;
};
