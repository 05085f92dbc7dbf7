#pragma once

#include <string>
#include <string_view>

// The value of one field of a mail header, read as RFC 5322 reads it: the name ("From:",
// "Subject:", "Date:") matches in any letter case at the start of a line; the value runs to
// the first line break not followed by a blank or a tab, and folded lines are joined by
// dropping the line break and keeping the blank. The value keeps the blank after the colon.
// Empty when the header has no such field. Reading stops at the blank line ending a header.
// At most maxValue bytes of the value are copied.
std::string ExtractField(std::string_view header, std::string_view name,
                         std::size_t maxValue = std::string::npos);
