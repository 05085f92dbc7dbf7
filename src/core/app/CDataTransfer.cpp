#include "core/app/CDataTransfer.h"

#include "core/app/CDataSafety.h"
#include "core/app/COutsideChange.h"
#include "core/app/CTrayCore.h"
#include "core/platform/Clock.h"
#include "core/platform/IDialogs.h"
#include "core/storage/CArchiveWriter.h"
#include "core/storage/CAtomicFile.h"
#include "core/storage/CDataFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

namespace {

const char* const kDataFilter = "Data Files (*.dat)|*.dat||";
// Import also opens the copies kept beside "Note.Dat" ("Note.Dat.conflict-...").
const char* const kImportFilter =
    "Data Files (*.dat)|*.dat|Kept Copies (*.conflict-* *.unreadable-*)|*.conflict-* "
    "*.unreadable-*|All Files (*)|*||";

std::string NoteBytes(const CNote& note) {
    CArchiveWriter ar;
    CDataFile::WriteNote(ar, note);
    return ar.Take();
}

// Reads a whole regular file of at most maxBytes. Devices, pipes and folders are refused
// before anything is read from them (a pipe would block, /dev/zero never ends).
bool ReadRegularFile(const std::string& path, size_t maxBytes, std::string& bytes,
                     std::string* reason) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        *reason = std::strerror(errno);
        return false;
    }
    struct stat st {};
    bool ok = false;
    if (::fstat(fd, &st) != 0) {
        *reason = std::strerror(errno);
    } else if (!S_ISREG(st.st_mode)) {
        *reason = "It is not a regular file.";
    } else if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
        *reason = "It is larger than " + std::to_string(maxBytes >> 20) + " MiB.";
    } else {
        bytes.resize(static_cast<size_t>(st.st_size));
        size_t got = 0;
        ssize_t n = 0;
        while (got < bytes.size() &&
               ((n = ::read(fd, bytes.data() + got, bytes.size() - got)) > 0 || errno == EINTR))
            got += n > 0 ? static_cast<size_t>(n) : 0;
        ok = n >= 0 && got == bytes.size();
        if (!ok) *reason = n < 0 ? std::strerror(errno) : "It changed while it was read.";
    }
    ::close(fd);
    return ok;
}

} // namespace

void CDataTransfer::Export(CTrayCore& hub) {
    hub.SetState(StateFileTransfer);
    if (IDialogs* dialogs = hub.Platform().dialogs) {
        if (auto target = dialogs->SaveFileName("Dat", "Note.Dat", kDataFilter)) {
            std::string bytes = CDataFile::Write(hub.Data(), Clock::Now()), reason;
            if (*target == hub.DataPath()) {
                hub.WriteDataFile(bytes); // the data file's own care; it tells of a failure
            } else if (!CAtomicFile::Write(*target, bytes, &reason)) {
                dialogs->MessageBox("The data could not be exported to \"" + *target + "\":\n" +
                                        reason,
                                    "Sorry", IDialogs::Ok, IDialogs::Stop);
            }
        }
    }
    hub.SetState(StateIdle);
}

int CDataTransfer::AddMissingNotes(CTrayCore& hub, CDataDocument& from) {
    std::unordered_set<std::string> have;
    for (const auto& n : hub.Store().notes())
        have.insert(NoteBytes(*n));
    std::unordered_set<int> categories;
    for (const auto& c : hub.Store().categories())
        categories.insert(c->m_id);
    CNoteStore::Notes taken;
    from.m_store.ReorderNotes([&](CNoteStore::Notes& notes) { taken.swap(notes); });
    int added = 0;
    for (auto& n : taken) {
        if (!have.insert(NoteBytes(*n)).second) continue;
        if (!categories.contains(n->m_category)) n->m_category = 0; // filed under "All notes"
        hub.Store().AddNote(std::move(n));
        ++added;
    }
    if (added) {
        hub.Alarms().RefreshDueFlags();
        hub.Alarms().ComputeEarliestAlarm();
        hub.OpenPostedWindows();
    }
    return added;
}

void CDataTransfer::Import(CTrayCore& hub) {
    hub.SetState(StateFileTransfer);
    IDialogs* dialogs = hub.Platform().dialogs;
    if (dialogs &&
        dialogs->MessageBox("Import data will replace all your current data, continue?", "Warning",
                            IDialogs::YesNo, IDialogs::Warning) == IDialogs::AnswerYes) {
        if (auto source = dialogs->OpenFileName("Dat", "Note.Dat", kImportFilter)) {
            // The whole file is checked before anything of the current data changes.
            std::string bytes, reason;
            CDataDocument copy;
            if (!ReadRegularFile(*source, kMaxImportBytes, bytes, &reason) ||
                !CDataSafety::Parses(bytes, copy, &reason)) {
                dialogs->MessageBox("The file \"" + *source + "\" could not be imported:\n" +
                                        reason + "\n\nYour current data is unchanged.",
                                    "Sorry", IDialogs::Ok, IDialogs::Stop);
            } else if (COutsideChange::IsConflictCopy(*source) &&
                       dialogs->MessageBox(
                           "\"" + *source +
                               "\" is the version another program saved while Jotterly ran.\n\n"
                               "Add the notes it holds that yours lack? (No replaces all your "
                               "data with it.)",
                           "Import", IDialogs::YesNo, IDialogs::Question) == IDialogs::AnswerYes) {
                const int added = AddMissingNotes(hub, copy);
                hub.SaveData();
                dialogs->MessageBox(std::to_string(added) +
                                        (added == 1 ? " note was" : " notes were") +
                                        " added from \"" + *source + "\".",
                                    "Import", IDialogs::Ok, IDialogs::Information);
            } else if (hub.WriteDataFile(bytes)) {
                hub.CloseNoteWindows(false);
                hub.LoadData();
            }
        }
    }
    hub.SetState(StateIdle);
}
