#pragma once

#include <string>

// Reads a dialog's integer field as the dialog framework does: blanks around an optionally
// signed decimal number, which must lie in min..max. On refusal the message for the user is
// put in *error (when given) and value is left alone.
bool ParseIntegerField(const std::string& text, int min, int max, int& value,
                       std::string* error = nullptr);
