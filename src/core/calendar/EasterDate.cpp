#include "core/calendar/EasterDate.h"

void EasterDate(int year, int* month, int* day) {
    int g = year % 19;
    int k = year / 100;
    int h = (k - k / 4 - (k - (k - 17) / 25) / 3 + 19 * g + 15) % 30;
    int i = h - (h / 28) * (1 - (h / 28) * (29 / (h + 1)) * ((21 - g) / 11));
    int j = (year + year / 4 + i + 2 - k + k / 4) % 7;
    int l = i - j;
    int m = 3 + (l + 40) / 44;
    if (month) *month = m;
    if (day) *day = l + 28 - 31 * (m / 4);
}
