#include "gui/app/CLaunchService.h"

#include <cstdio>
#include <utility>

CLaunchService::CLaunchService(ILaunchHost& core, std::function<void(int)> runCommand)
    : m_queue(core, std::move(runCommand)) {
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, &CLaunchService::RunReady);
}

void CLaunchService::OnWord(const QString& word) {
    if (!m_queue.Push(word.toStdString())) {
        std::fprintf(stderr, "jotterly: ignored \"%s\" from a launcher\n",
                     word.left(80).toUtf8().constData());
        return;
    }
    // Posted, as the tray's own commands are: never inside the socket's signal.
    QMetaObject::invokeMethod(this, &CLaunchService::RunReady, Qt::QueuedConnection);
}

void CLaunchService::RunReady() {
    if (m_queue.RunReady()) m_retry.start();
}
