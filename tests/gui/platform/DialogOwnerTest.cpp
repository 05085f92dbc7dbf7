// Who owns a box: it is transient for the window that opened it, blocks only that window (the
// rest of the program, the tray menu included, still takes clicks) and is kept above the
// program's windows when one of them stays on top.
#include "gui/platform/CDialogOwner.h"
#include "gui/platform/QtDialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {
struct Seen {
    QWidget* parent = nullptr;
    Qt::WindowModality modality = Qt::NonModal;
    bool onTop = false;
    bool otherClicked = false;
    int width = 0;
};
const QString kCaption = QStringLiteral("A caption far longer than the text");

// Shows a real box while `other` waits for a click, records how the box was made and closes it.
Seen AskWhile(QWidget* other) {
    Seen seen;
    bool clicked = false;
    std::unique_ptr<QPushButton> button;
    if (other) {
        button = std::make_unique<QPushButton>("elsewhere", other);
        button->resize(80, 30);
        button->show();
        QObject::connect(button.get(), &QPushButton::clicked, [&] { clicked = true; });
    }
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        seen.parent = box->parentWidget();
        seen.modality = box->windowModality();
        seen.onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        seen.width = box->width();
        // Through the platform layer, where a window blocked by a modal box drops the click.
        if (button)
            QTest::mouseClick(other->windowHandle(), Qt::LeftButton, {},
                              button->geometry().center());
        seen.otherClicked = clicked;
        box->accept();
    });
    QtDialogs dialogs;
    dialogs.MessageBox("Text", kCaption.toStdString(), IDialogs::Ok, IDialogs::Information);
    return seen;
}

QWidget* ShownWindow(bool onTop) {
    auto* w = new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    w->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    w->setGeometry(100, 100, 200, 150);
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
    return w;
}
} // namespace

TEST(DialogOwner, BoxesBelongToTheirOpenerBlockOnlyItAndStayAboveNotesKeptOnTop) {
    struct Case {
        const char* what;
        bool openerOnTop;
        bool scoped; // the opener is pinned; else the tray's anchor owns the box
        bool otherOnTop;
    } cases[] = {
        {"box of a note kept on top", true, true, false},
        {"box of a plain note", false, true, false},
        {"box of the tray, nothing on top", false, false, false},
        {"box of the tray, a note on top", false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<QWidget> opener(ShownWindow(c.openerOnTop));
        std::unique_ptr<QWidget> other(ShownWindow(c.otherOnTop));
        Seen seen;
        if (c.scoped) {
            const CDialogOwner::Scope owner(opener.get());
            seen = AskWhile(other.get());
        } else {
            opener->hide();
            const CDialogOwner::Scope owner(CDialogOwner::Tray());
            seen = AskWhile(other.get());
        }
        EXPECT_EQ(seen.parent, c.scoped ? opener.get() : CDialogOwner::Tray());
        EXPECT_EQ(seen.modality, Qt::WindowModal);
        EXPECT_EQ(seen.onTop, c.openerOnTop || c.otherOnTop);
        EXPECT_TRUE(seen.otherClicked) << "another window of the program was blocked";
        // Its caption is not cut short in the title bar.
        EXPECT_GE(seen.width, QFontMetrics(QApplication::font()).horizontalAdvance(kCaption) +
                                  QtDialogs::kCaptionRoom);
    }
}

TEST(DialogOwner, AnOwnerClosedWhileItsDialogWaitsTakesTheDialogAlong) {
    std::unique_ptr<QWidget> opener(ShownWindow(true));
    QPointer<QDialog> dlg = new QDialog(opener.get());
    QTimer::singleShot(50, [&] { opener.reset(); });
    EXPECT_EQ(CDialogOwner::Exec(*dlg), QDialog::Rejected);
    EXPECT_TRUE(dlg.isNull());
}
