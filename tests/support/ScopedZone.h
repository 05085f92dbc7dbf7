#pragma once

#include <cstdlib>
#include <ctime>
#include <string>

// Runs a test in a time zone; the zone before comes back afterwards.
class ScopedZone {
public:
    explicit ScopedZone(const std::string& zone) {
        if (const char* old = std::getenv("TZ")) m_old = old, m_had = true;
        setenv("TZ", zone.c_str(), 1);
        tzset();
    }
    ~ScopedZone() {
        if (m_had)
            setenv("TZ", m_old.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::string m_old;
    bool m_had = false;
};
