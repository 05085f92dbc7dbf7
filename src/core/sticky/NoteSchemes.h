#pragma once

#include "core/platform/Win32Types.h"

#include <string>

class CNote;

// The index 0..3 of the first scheme whose colours and font equal the note's, or -1.
int FindScheme(const CNote& note, const COLORREF back[4], const COLORREF text[4],
               const LOGFONT fonts[4]);

// A note keeps its text with CR LF line breaks (the stored form); editors show plain ones.
std::string ToDisplayText(const std::string& stored);
std::string ToStoredText(const std::string& display);
