#include "app/CDataTransfer.h"

#include "app/CDataSafety.h"
#include "app/CTrayCore.h"
#include "platform/Clock.h"
#include "platform/IDialogs.h"
#include "storage/CAtomicFile.h"
#include "storage/CDataFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const kDataFilter = "Data Files (*.dat)|*.dat||";

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
            // What the user has now, not the last saved file.
            hub.PullNoteTexts();
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

void CDataTransfer::Import(CTrayCore& hub) {
    hub.SetState(StateFileTransfer);
    IDialogs* dialogs = hub.Platform().dialogs;
    if (dialogs &&
        dialogs->MessageBox("Import data will replace all your current data, continue?", "Warning",
                            IDialogs::YesNo, IDialogs::Warning) == IDialogs::AnswerYes) {
        if (auto source = dialogs->OpenFileName("Dat", "Note.Dat", kDataFilter)) {
            // The whole file is checked before anything of the current data changes.
            std::string bytes, reason;
            if (!ReadRegularFile(*source, kMaxImportBytes, bytes, &reason) ||
                !CDataSafety::Parses(bytes, &reason)) {
                dialogs->MessageBox("The file \"" + *source + "\" could not be imported:\n" +
                                        reason + "\n\nYour current data is unchanged.",
                                    "Sorry", IDialogs::Ok, IDialogs::Stop);
            } else if (hub.WriteDataFile(bytes)) {
                hub.CloseNoteWindows(false);
                hub.LoadData();
            }
        }
    }
    hub.SetState(StateIdle);
}
