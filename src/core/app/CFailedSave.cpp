#include "core/app/CFailedSave.h"

#include "core/platform/IDialogs.h"
#include "core/storage/CAtomicFile.h"

#include <algorithm>
#include <iterator>

int CFailedSave::Failed(const std::string& reason) {
    m_reason = reason;
    const int step = std::min(m_failures++, static_cast<int>(std::size(kRetryMs)) - 1);
    return kRetryMs[step];
}

void CFailedSave::Succeeded() {
    m_failures = 0;
    m_reason.clear();
}

CFailedSave::ExitChoice CFailedSave::AskAtExit(IDialogs& dialogs, const std::string& path,
                                               const std::string& reason) {
    for (;;) {
        switch (dialogs.MessageBox("Your notes could not be saved to \"" + path + "\":\n" + reason +
                                       "\n\nIf Jotterly quits now, the changes since the last "
                                       "save are lost. You can try again, save a copy of your "
                                       "notes elsewhere, or keep Jotterly running.",
                                   "Jotterly", IDialogs::RetryCopyQuitCancel, IDialogs::Warning)) {
        case IDialogs::AnswerRetry:
            return ExitChoice::Retry;
        case IDialogs::AnswerSaveCopy:
            return ExitChoice::SaveCopy;
        case IDialogs::AnswerDiscard:
            if (dialogs.MessageBox("Quit without saving?\n\nThe changes since the last save will "
                                   "be lost.",
                                   "Jotterly", IDialogs::YesNo,
                                   IDialogs::Warning) == IDialogs::AnswerYes)
                return ExitChoice::Quit;
            break; // asked again
        default:
            return ExitChoice::Stay;
        }
    }
}

bool CFailedSave::SaveCopy(IDialogs& dialogs, const std::string& bytes) {
    const auto target = dialogs.SaveFileName("Dat", "Note.Dat", "Data Files (*.dat)|*.dat||");
    if (!target) return false;
    std::string reason;
    if (!CAtomicFile::Write(*target, bytes, &reason)) {
        dialogs.MessageBox("Your notes could not be saved to \"" + *target + "\" either:\n" +
                               reason,
                           "It's too bad", IDialogs::Ok, IDialogs::Stop);
        return false;
    }
    dialogs.MessageBox("Your notes were saved to \"" + *target +
                           "\".\n\nTo use them again, choose Data > Import and open that file.",
                       "Jotterly", IDialogs::Ok, IDialogs::Information);
    return true;
}
