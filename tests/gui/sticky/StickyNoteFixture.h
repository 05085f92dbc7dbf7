#pragma once

#include "core/alarms/RingingCount.h"
#include "core/app/CTrayCore.h"
#include "gui/notemenu/CNoteMenuCommands.h"
#include "gui/sticky/CStickyNoteDlg.h"
#include "gui/sticky/CStickyNoteFactory.h"
#include "gui/support/GuiInput.h"
#include "support/FakeHub.h"

#include <QApplication>
#include <QStyle>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

using GuiInput::Click;

// A hub with the real note windows, the fake platform otherwise, and a fixed look.
class StickyNoteFixture : public ::testing::Test {
protected:
    void SetUp() override {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QApplication::setPalette(QApplication::style()->standardPalette());
        g_ringingCount = 0; // a ring an earlier test left would keep every hub quiet
    }
    void TearDown() override {
        tray.DeleteAllData();
        DrainDeletes();
    }
    static void DrainDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A new note of scheme 0..3, posted through NewNote.
    CStickyNoteDlg* Open(int scheme = 1, const std::string& title = "Note",
                         const std::string& text = "") {
        tray.settings().m_defaultScheme = scheme;
        tray.NewNote();
        CNote* n = tray.Store().notes().back().get();
        n->m_title = title;
        n->m_text = text;
        Window(*n)->ReloadTexts();
        return Window(*n);
    }
    static CStickyNoteDlg* Window(const CNote& n) {
        return dynamic_cast<CStickyNoteDlg*>(n.Window());
    }

    // Drags by delta (screen terms) in steps, the pointer following the window as it moves.
    static void Drag(QWidget* w, QPoint at, QPoint delta, int steps = 6) {
        QWindow* window = w->windowHandle();
        const QPoint start = window->mapToGlobal(at);
        QTest::mousePress(window, Qt::LeftButton, {}, at);
        for (int i = 1; i <= steps; ++i)
            QTest::mouseMove(window, window->mapFromGlobal(start + delta * i / steps));
        QTest::mouseRelease(window, Qt::LeftButton, {}, window->mapFromGlobal(start + delta));
    }

    FakePlatform platform;
    FakeSound& sound = platform.sound;
    FakeHub tray{platform, &factory};
    CStickyNoteFactory factory{tray, &CNoteMenuCommands::AttachTo};
};
