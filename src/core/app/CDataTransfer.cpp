#include "app/CDataTransfer.h"

#include "app/CTrayCore.h"
#include "platform/IDialogs.h"
#include "storage/CAtomicFile.h"

namespace {
const char* const kDataFilter = "Data Files (*.dat)|*.dat||";
}

void CDataTransfer::Export(CTrayCore& hub) {
    hub.SetState(StateFileTransfer);
    if (IDialogs* dialogs = hub.Platform().dialogs) {
        if (auto target = dialogs->SaveFileName("Dat", "Note.Dat", kDataFilter)) {
            std::string bytes, reason;
            if (!CAtomicFile::ReadAll(hub.DataPath(), bytes, &reason) ||
                !CAtomicFile::Write(*target, bytes, &reason))
                dialogs->MessageBox("The data could not be exported to \"" + *target + "\":\n" +
                                        reason,
                                    "Sorry", IDialogs::Ok, IDialogs::Stop);
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
            std::string bytes, reason;
            if (!CAtomicFile::ReadAll(*source, bytes, &reason)) {
                dialogs->MessageBox("The file \"" + *source + "\" could not be read:\n" + reason,
                                    "Sorry", IDialogs::Ok, IDialogs::Stop);
            } else {
                hub.CloseNoteWindows(false);
                if (CAtomicFile::Write(hub.DataPath(), bytes, &reason))
                    hub.LoadData();
                else
                    dialogs->MessageBox("The data could not be imported:\n" + reason, "Sorry",
                                        IDialogs::Ok, IDialogs::Stop);
            }
        }
    }
    hub.SetState(StateIdle);
}
