#include "gui/manager/CManagerFileCommands.h"

#include "core/app/CCalendarWords.h"
#include "core/export/CNoteTextExport.h"
#include "core/manager/IManagerHost.h"
#include "core/model/CNote.h"
#include "core/model/CNoteStore.h"
#include "core/platform/IDialogs.h"
#include "gui/manager/CNoteList.h"
#include "gui/manager/CNoteListModel.h"
#include "gui/platform/CDialogOwner.h"
#include "gui/print/CNotePrinter.h"
#include "gui/print/CSaveOptionsDlg.h"

#include <QApplication>

CManagerFileCommands::CManagerFileCommands(QWidget& owner, IManagerHost& tray, IDialogs& dialogs,
                                           CNoteList& list)
    : m_owner(owner), m_tray(tray), m_dialogs(dialogs), m_list(list) {}

std::optional<std::vector<const CNote*>> CManagerFileCommands::ChooseNotes() {
    CSaveOptionsDlg options(&m_owner);
    if (CDialogOwner::Exec(options) != QDialog::Accepted) return std::nullopt;
    std::vector<const CNote*> notes;
    switch (options.ChosenScope()) {
    case CSaveOptionsDlg::AllNotes:
        for (const auto& n : m_tray.Store().notes())
            notes.push_back(n.get());
        break;
    case CSaveOptionsDlg::CurrentCategory:
        for (int row = 0; row < m_list.Model()->rowCount(); ++row)
            notes.push_back(m_list.Model()->NoteAt(row));
        break;
    case CSaveOptionsDlg::SelectedNotes:
        for (CNote* n : m_list.SelectedNotes())
            notes.push_back(n);
        break;
    }
    return notes;
}

void CManagerFileCommands::SaveText() {
    const auto path = m_dialogs.SaveFileName("txt", "Notes.txt", "Text Files (*.txt)|*.txt||");
    if (!path) return;
    if (const auto notes = ChooseNotes())
        CNoteTextExport::Save(m_dialogs, *path, CNoteTextExport::NotesText(*notes), "File exists");
}

void CManagerFileCommands::Print() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (const CNote* n : m_list.SelectedNotes())
        if (!CNotePrinter::PrintNote(*n, m_dialogs)) break;
    QApplication::restoreOverrideCursor();
}

void CManagerFileCommands::ExportCalendar() {
    const auto path = m_dialogs.SaveFileName("ics", "Notes.ics", kFilter);
    if (!path) return;
    const auto notes = ChooseNotes();
    if (!notes) return;
    std::string message;
    const bool ok =
        CCalendarWords::ExportNotes(*notes, m_tray.Store(), &m_tray.Identity(), *path, message);
    Tell(ok, message);
}

bool CManagerFileCommands::ImportCalendar() {
    const auto path = m_dialogs.OpenFileName("ics", "", kFilter);
    if (!path) return false;
    std::string message;
    const bool ok = CCalendarWords::ImportInto(m_tray.Store(), m_tray.settings(), *path, message);
    Tell(ok, message);
    return ok;
}

void CManagerFileCommands::Tell(bool ok, const std::string& message) {
    m_dialogs.MessageBox(message, ok ? "Jotterly" : "Sorry", IDialogs::Ok,
                         ok ? IDialogs::Information : IDialogs::Stop);
}
