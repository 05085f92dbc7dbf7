#pragma once

#include <string>

// text as one value of a URL's query: every byte but letters, digits and "-_.~" as %XX.
std::string UrlEncode(const std::string& text);
