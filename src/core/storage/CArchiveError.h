#pragma once

#include <stdexcept>

// Thrown by the archive reader on a truncated or malformed stream.
class CArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
