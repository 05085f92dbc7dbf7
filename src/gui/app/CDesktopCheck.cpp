#include "gui/app/CDesktopCheck.h"

#include "core/app/CDesktopNotice.h"
#include "gui/platform/CDialogOwner.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <cstdio>

CDesktopCheck::CDesktopCheck(int delayMs) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(delayMs);
    connect(&m_timer, &QTimer::timeout, this, &CDesktopCheck::Check);
}

CDesktopCheck::~CDesktopCheck() {
    delete m_notice;
}

void CDesktopCheck::Check() {
    const bool wayland = QGuiApplication::platformName() == QLatin1String("wayland");
    const std::string text =
        CDesktopNotice::Text(!QSystemTrayIcon::isSystemTrayAvailable(), wayland);
    if (text.empty()) return;
    std::fprintf(stderr, "jotterly: %s\n", text.c_str());
    std::fflush(stderr);
    // Not modal: the program goes on working while the notice is open.
    m_notice = new QMessageBox(QMessageBox::Information, CDesktopNotice::kCaption,
                               QString::fromStdString(text), QMessageBox::Ok);
    m_notice->setTextFormat(Qt::PlainText);
    m_notice->setAttribute(Qt::WA_DeleteOnClose);
    m_notice->setModal(false);
    m_notice->setParent(CDialogOwner::Tray(), m_notice->windowFlags());
    CDialogOwner::Prepare(*m_notice);
    m_notice->show();
}
