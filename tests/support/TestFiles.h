#pragma once

#include <string>

// The whole file as bytes ("" if it cannot be read).
std::string ReadFile(const std::string& path);
// A new file in /tmp holding text; the caller removes it. "" if it could not be written.
std::string WriteTempFile(const std::string& text);
