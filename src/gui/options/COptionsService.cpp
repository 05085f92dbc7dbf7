#include "options/COptionsService.h"

#include "options/COptionsSheet.h"

IOptionsService::Result COptionsService::OpenOptions(COptionsValues& values) {
    COptionsSheet sheet(nullptr, values, m_hub, m_dialogs, m_sound);
    sheet.EmailPage()->SetAccountEditor(m_editor);
    const bool confirmed = sheet.exec() == QDialog::Accepted;
    return {confirmed, sheet.AccountsChanged()};
}
