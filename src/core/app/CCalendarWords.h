#pragma once

#include <string>
#include <vector>

class CNote;
class CNoteIdentity;
class CNoteStore;
class CTrayCore;
struct CSettings;

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

    // The two steps the Note Manager's commands share: the notes written to file, or the file's
    // notes added to the store (not yet saved); message tells the user what happened.
    static bool ExportNotes(const std::vector<const CNote*>& notes, const CNoteStore& store,
                            const CNoteIdentity* identity, const std::string& file,
                            std::string& message);
    static bool ImportInto(CNoteStore& store, const CSettings& settings, const std::string& file,
                           std::string& message);

    static constexpr const char* kExport = "export-ics";
    static constexpr const char* kImport = "import-ics";
};
