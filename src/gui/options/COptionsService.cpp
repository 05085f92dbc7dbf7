#include "options/COptionsService.h"

#include "options/COptionsSheet.h"
#include "platform/CDialogOwner.h"

#include <QPointer>

IOptionsService::Result COptionsService::OpenOptions(COptionsValues& values) {
    QPointer<COptionsSheet> sheet =
        new COptionsSheet(CDialogOwner::Tray(), values, m_hub, m_dialogs, m_sound);
    sheet->EmailPage()->SetAccountEditor(m_editor);
    const bool confirmed = CDialogOwner::Exec(*sheet) == QDialog::Accepted;
    const Result result{confirmed, sheet && sheet->AccountsChanged()};
    delete sheet;
    return result;
}
