#include "core/platform/IntegerField.h"

#include <cctype>

bool ParseIntegerField(const std::string& text, int min, int max, int& value, std::string* error) {
    size_t i = 0, n = text.size();
    while (i < n && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    while (n > i && std::isspace(static_cast<unsigned char>(text[n - 1])))
        --n;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long v = 0;
    bool digits = i < n;
    for (; digits && i < n; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])) || v > 1000000000LL) {
            digits = false;
            break;
        }
        v = v * 10 + (text[i] - '0');
    }
    if (!digits) {
        if (error) *error = "Please enter an integer.";
        return false;
    }
    if (negative) v = -v;
    if (v < min || v > max) {
        if (error)
            *error = "Please enter an integer between " + std::to_string(min) + " and " +
                     std::to_string(max) + ".";
        return false;
    }
    value = static_cast<int>(v);
    return true;
}
