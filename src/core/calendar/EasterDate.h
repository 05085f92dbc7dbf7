#pragma once

// Gregorian Easter Sunday of the year (Oudin's method).
void EasterDate(int year, int* month, int* day);
