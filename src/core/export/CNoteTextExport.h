#pragma once

#include <string>
#include <vector>

class CNote;
class IDialogs;

// Notes as plain text for the user: the title, an empty line, then the text. Files are UTF-8
// with "\n" line ends and are replaced as a whole, so a failed write leaves the old file.
class CNoteTextExport {
public:
    // Follows every note in a file of several: a line feed, 52 hyphens, a line feed.
    static const std::string kSeparator;

    // The note's title, two line feeds, its text with each line break as one "\n".
    static std::string NoteText(const CNote& note);
    // Each note followed by the separator, the last one too; nothing for no notes.
    static std::string NotesText(const std::vector<const CNote*>& notes);
    // The name the save dialog proposes: the title with ".txt", "Untitled.txt" for an empty
    // title. Slashes would make it a path, so they become hyphens.
    static std::string ProposedName(const std::string& title);

    enum class Result { Written, Declined, Failed };
    // Writes bytes to path. An existing file is replaced only after "Yes" to the overwrite
    // question (shown with existsCaption) and keeps its mode and owner; a new file is 0600. A
    // failed write is told and leaves the old file whole.
    static Result Save(IDialogs& dialogs, const std::string& path, const std::string& bytes,
                       const std::string& existsCaption);
};
