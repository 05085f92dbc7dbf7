#include "gui/app/CCalendarCommands.h"

#include "core/app/CCalendarWords.h"
#include "core/app/ILaunchHost.h"
#include "core/model/TrayState.h"
#include "core/platform/IDialogs.h"
#include "core/platform/PlatformServices.h"

CCalendarCommands::CCalendarCommands(ILaunchHost& core) : m_core(core) {
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, &CCalendarCommands::RunReady);
}

bool CCalendarCommands::OnLine(const QString& line) {
    const std::string text = line.toStdString();
    const size_t space = text.find(' ');
    if (space == std::string::npos || !CCalendarWords::IsWord(text.substr(0, space))) return false;
    const std::string file = text.substr(space + 1);
    if (file.empty() || file[0] != '/' || m_pending.size() >= kMaxPending) return true; // dropped
    m_pending.emplace_back(text.substr(0, space), file);
    QMetaObject::invokeMethod(this, &CCalendarCommands::RunReady, Qt::QueuedConnection);
    return true;
}

void CCalendarCommands::RunReady() {
    while (!m_pending.empty()) {
        if (m_core.State() == StateExiting) {
            m_pending.clear();
            return;
        }
        if (m_core.State() != StateIdle) {
            m_retry.start();
            return;
        }
        const auto [word, file] = m_pending.front();
        m_pending.pop_front();
        m_core.SetState(StateFileTransfer);
        std::string message;
        const bool ok = m_core.RunCalendarWord(word, file, message);
        m_core.SetState(StateIdle);
        if (IDialogs* dialogs = m_core.Platform().dialogs)
            dialogs->MessageBox(message, ok ? "Jotterly" : "Sorry", IDialogs::Ok,
                                ok ? IDialogs::Information : IDialogs::Stop);
    }
}
