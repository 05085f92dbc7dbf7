#include "core/model/CWeather.h"

std::string CWeather::FormatDay(int i) const {
    if (i < 0 || i >= kDays) return {};
    // The unit follows the place's choice: a bare "16 - 10" could be either.
    return m_dayName[i] + ", " + m_condition[i] + ",  " + std::to_string(m_high[i]) + " - " +
           std::to_string(m_low[i]) + (m_fahrenheit ? " \u00B0F" : " \u00B0C");
}
