#pragma once

#include <string>

class CTrayCore;

// The launcher words export-ics FILE and import-ics FILE: carried out by the running copy, or,
// when none runs, on the data file itself with the same care a save takes (a file that could
// not be read completely is never replaced; the new file replaces the old one atomically).
class CCalendarWords {
public:
    static bool IsWord(const std::string& word) { return word == kExport || word == kImport; }

    // In the running copy: export every note, or import into its notes and save.
    static bool Run(CTrayCore& hub, const std::string& word, const std::string& file,
                    std::string& message);
    // With no copy running: on the data file at dataPath.
    static bool RunOnDataFile(const std::string& word, const std::string& file,
                              const std::string& dataPath, std::string& message);

    static constexpr const char* kExport = "export-ics";
    static constexpr const char* kImport = "import-ics";
};
