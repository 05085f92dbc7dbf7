#pragma once

#include "platform/Clock.h"
#include "platform/QtDialogs.h"

#include <QDir>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

// The manager's window tests: the clock stands still at Thursday 2003-11-06 10:00 (its week
// runs from Sunday 11-02 to Saturday 11-08) and message boxes answer from a script.
class ManagerTest : public ::testing::Test {
protected:
    static COleDateTime Now() { return COleDateTime(2003, 11, 6, 10, 0, 0); }

    void SetUp() override {
        Clock::SetForTest(Now());
        QtDialogs::s_nextAnswers.clear();
        QtDialogs::s_shownBoxes.clear();
    }
    void TearDown() override { Clock::ResetForTest(); }

    // Saved under the build folder for looking at.
    static QImage Grab(QWidget* w, const QString& name) {
        QImage img = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString dir = QStringLiteral(JOTTERLY_BINARY_DIR "/test-output/manager");
        QDir().mkpath(dir);
        img.save(dir + "/" + name + ".png");
        return img;
    }
};
