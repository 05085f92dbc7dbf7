#include "gui/platform/CDialogOwner.h"

#include "gui/platform/TopLevelWindows.h"

#include <QApplication>
#include <QDialog>

std::vector<QPointer<QWidget>> CDialogOwner::s_scopes;

CDialogOwner::Scope::Scope(QWidget* window) {
    s_scopes.emplace_back(window ? window->window() : nullptr);
}

CDialogOwner::Scope::~Scope() {
    s_scopes.pop_back();
}

static bool CanOwn(const QWidget* w) {
    if (!w || !w->isVisible()) return false;
    // Menus and tips are gone by the time a box shows.
    const Qt::WindowType type = w->windowType();
    return type != Qt::Popup && type != Qt::ToolTip && type != Qt::SplashScreen;
}

QWidget* CDialogOwner::Tray() {
    // Owner of what the tray opens: never shown, spread over the work area so that dialogs
    // centred on it appear in the screen's middle.
    static QPointer<QWidget> anchor;
    if (!anchor) {
        anchor = new QWidget(nullptr, Qt::Window);
        anchor->setObjectName(QStringLiteral("jotterlyDialogAnchor"));
        anchor->setAttribute(Qt::WA_DontShowOnScreen);
    }
    anchor->setGeometry(TopLevelWindows::WorkArea());
    return anchor;
}

QWidget* CDialogOwner::Owner(QWidget* opener) {
    if (opener) return opener->window();
    for (auto it = s_scopes.rbegin(); it != s_scopes.rend(); ++it)
        if (*it && (*it == Tray() || CanOwn(*it))) return *it;
    if (QWidget* active = QApplication::activeWindow(); CanOwn(active)) return active;
    if (QWidget* modal = QApplication::activeModalWidget(); CanOwn(modal)) return modal;
    return Tray();
}

bool CDialogOwner::NeedsOnTop(const QWidget* owner) {
    if (owner && owner->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return true;
    const auto windows = QApplication::topLevelWidgets();
    for (const QWidget* w : windows)
        if (w->isVisible() && w->windowType() != Qt::Popup && w->windowType() != Qt::ToolTip &&
            w->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            return true;
    return false;
}

void CDialogOwner::Prepare(QDialog& dialog) {
    Qt::WindowFlags flags = dialog.windowFlags();
    if (!dialog.parentWidget()) dialog.setParent(Owner(), flags);
    if (NeedsOnTop(dialog.parentWidget()) && !flags.testFlag(Qt::WindowStaysOnTopHint)) {
        flags |= Qt::WindowStaysOnTopHint;
        dialog.setWindowFlags(flags);
    }
}

int CDialogOwner::Exec(QDialog& dialog) {
    Prepare(dialog);
    dialog.setWindowModality(Qt::WindowModal);
    QPointer<QDialog> alive(&dialog);
    const int result = dialog.exec();
    return alive ? result : QDialog::Rejected;
}
