#pragma once

#include "core/platform/COleDateTime.h"

#include <string>

struct CHoliday {
    COleDateTime date{0.0}; // valid after the table is computed for a year
    std::string name;
    std::string rule;
    int enabled = 1;
};
