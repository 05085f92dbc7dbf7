#include "core/export/CNoteTextExport.h"

#include "core/model/CNote.h"
#include "core/platform/IDialogs.h"
#include "core/storage/CAtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>

const std::string CNoteTextExport::kSeparator = "\n" + std::string(52, '-') + "\n";

namespace {
// Stored line breaks are CR LF (older files may hold a lone CR): each is one line feed.
std::string WithLineFeeds(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out += text[i];
            continue;
        }
        out += '\n';
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    return out;
}
} // namespace

std::string CNoteTextExport::NoteText(const CNote& note) {
    return WithLineFeeds(note.m_title) + "\n\n" + WithLineFeeds(note.m_text);
}

std::string CNoteTextExport::NotesText(const std::vector<const CNote*>& notes) {
    std::string out;
    for (const CNote* n : notes)
        out += NoteText(*n) + kSeparator;
    return out;
}

std::string CNoteTextExport::ProposedName(const std::string& title) {
    if (title.empty()) return "Untitled.txt";
    std::string name = title;
    for (char& c : name)
        if (c == '/' || static_cast<unsigned char>(c) < 0x20) c = '-';
    return name + ".txt";
}

CNoteTextExport::Result CNoteTextExport::Save(IDialogs& dialogs, const std::string& path,
                                              const std::string& bytes,
                                              const std::string& existsCaption) {
    if (CAtomicFile::Exists(path) &&
        dialogs.MessageBox("Do you want to overwrite existing file ?", existsCaption,
                           IDialogs::YesNo, IDialogs::Warning) != IDialogs::AnswerYes)
        return Result::Declined;
    // Notes are private: a new file is the user's alone; a replaced one keeps its mode and
    // owner (root saving over another user's file must not take it from them).
    struct stat old {};
    const bool replacing = ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    std::string reason;
    if (!CAtomicFile::Write(path, bytes, &reason, replacing ? old.st_mode & 07777 : 0600)) {
        dialogs.MessageBox("The notes could not be saved to \"" + path + "\":\n" + reason +
                               "\nAn existing file was left as it was.",
                           "Sorry", IDialogs::Ok, IDialogs::Stop);
        return Result::Failed;
    }
    if (replacing && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
        ::chown(path.c_str(), old.st_uid, old.st_gid) != 0)
        dialogs.MessageBox("The notes were saved to \"" + path +
                               "\", but the file now belongs to you instead of its former owner.",
                           "Sorry", IDialogs::Ok, IDialogs::Warning);
    return Result::Written;
}
