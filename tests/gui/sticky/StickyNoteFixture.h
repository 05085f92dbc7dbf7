#pragma once

#include "app/CTrayCore.h"
#include "sticky/CStickyNoteDlg.h"
#include "sticky/CStickyNoteFactory.h"
#include "support/Fakes.h"

#include <QApplication>
#include <QCoreApplication>
#include <QStyle>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

// A tray core with the real note windows, a recording sound and a fixed look.
class StickyNoteFixture : public ::testing::Test {
protected:
    void SetUp() override {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QApplication::setPalette(QApplication::style()->standardPalette());
        tray.m_windowFactory = &factory;
        tray.m_sound = &sound;
        tray.m_state = CTrayCore::StateIdle;
    }
    void TearDown() override {
        tray.DeleteAllData();
        DrainDeletes();
    }

    static void DrainDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A note of scheme s (0..3), opened like a posted note at start-up.
    CStickyNoteDlg* Open(int scheme = 1, const std::string& title = "Note",
                         const std::string& text = "") {
        tray.m_defaultScheme = scheme;
        tray.NewNote();
        CNote* n = tray.m_notes.back();
        n->m_title = title;
        n->m_text = text;
        auto* w = Window(*n);
        w->ReloadTexts();
        return w;
    }
    static CStickyNoteDlg* Window(const CNote& n) {
        return dynamic_cast<CStickyNoteDlg*>(n.m_window);
    }

    // Real input through the platform layer, in window coordinates.
    static void Press(QWidget* w, QPoint at, Qt::MouseButton b = Qt::LeftButton,
                      Qt::KeyboardModifiers m = {}) {
        QTest::mousePress(w->windowHandle(), b, m, at);
    }
    static void Release(QWidget* w, QPoint at, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mouseRelease(w->windowHandle(), b, {}, at);
    }
    static void Click(QWidget* w, QPoint at, Qt::MouseButton b = Qt::LeftButton,
                      Qt::KeyboardModifiers m = {}) {
        QTest::mouseClick(w->windowHandle(), b, m, at);
    }
    // Presses at a window point and drags the pointer by delta in screen terms, following the
    // window while it moves, then releases. Dragging an edge outwards, the pointer leads the
    // window by one step, as a real one does (QTest then warns that it is outside).
    static void Drag(QWidget* w, QPoint at, QPoint delta, int steps = 6) {
        QWindow* window = w->windowHandle();
        const QPoint startGlobal = window->mapToGlobal(at);
        Press(w, at);
        QPoint local = at;
        for (int i = 1; i <= steps; ++i) {
            local = window->mapFromGlobal(startGlobal + delta * i / steps);
            QTest::mouseMove(window, local);
        }
        // The window may have moved under the pointer: release where the pointer is now.
        Release(w, window->mapFromGlobal(startGlobal + delta));
    }

    FakeSound sound;
    CTrayCore tray;
    CStickyNoteFactory factory{tray};
};
