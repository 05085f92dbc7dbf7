#include "model/CWeather.h"

std::string CWeather::FormatDay(int i) const {
    if (i < 0 || i >= kDays) return {};
    return m_dayName[i] + ", " + m_condition[i] + ",  " + std::to_string(m_high[i]) + " - " +
           std::to_string(m_low[i]);
}
