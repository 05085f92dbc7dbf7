#pragma once

#include <string>
#include <vector>

// The whole file as bytes ("" if it cannot be read).
std::string ReadFile(const std::string& path);
// A new file in /tmp holding text; the caller removes it. "" if it could not be written.
std::string WriteTempFile(const std::string& text);
// The words of a text, split at white space.
std::vector<std::string> Words(const std::string& text);
