#pragma once

#include <string>

// The weather place and the last five-day report.
class CWeather {
public:
    static constexpr int kDays = 5;

    std::string m_place;
    int m_fahrenheit = 1;
    std::string m_state;
    std::string m_city;
    std::string m_country;
    std::string m_zipCode;
    std::string m_dayName[kDays]; // m_dayName[0] empty: no report
    std::string m_condition[kDays];
    int m_high[kDays] = {};
    int m_low[kDays] = {};
    int m_icon[kDays] = {};

    // One report line of the tray menu: "Monday, Clear,  75 - 60 °F".
    std::string FormatDay(int i) const;
};
