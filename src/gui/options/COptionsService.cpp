#include "gui/options/COptionsService.h"

#include "core/manager/CDueWatch.h"
#include "core/model/CNoteStore.h"
#include "core/options/IOptionsHost.h"
#include "core/platform/Clock.h"
#include "core/platform/PlatformServices.h"
#include "gui/options/COptionsSheet.h"
#include "gui/platform/CDialogOwner.h"

#include <QPointer>
#include <QTimer>

IOptionsService::Result COptionsService::OpenOptions(COptionsValues& values) {
    QPointer<COptionsSheet> sheet =
        new COptionsSheet(CDialogOwner::Tray(), values, m_hub, m_dialogs, m_sound);
    sheet->EmailPage()->SetAccountEditor(m_editor);
    // Nothing rings while the sheet is open (what fell due rings as it closes): say so meanwhile.
    CDueWatch due;
    IDesktopNotices* notices = m_hub.Platform().notices;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        std::vector<CNote*> notes;
        notes.reserve(m_hub.Store().notes().size());
        for (const auto& n : m_hub.Store().notes())
            notes.push_back(n.get());
        due.Tell(notices, notes, Clock::Now(), "the options sheet");
    });
    watch.start(1000);
    const bool confirmed = CDialogOwner::Exec(*sheet) == QDialog::Accepted;
    watch.stop();
    due.WithdrawAll(notices);
    const Result result{confirmed, sheet && sheet->AccountsChanged()};
    delete sheet;
    return result;
}
