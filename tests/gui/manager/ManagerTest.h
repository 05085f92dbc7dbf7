#pragma once

#include "core/platform/Clock.h"
#include "gui/platform/QtDialogs.h"
#include "gui/support/ImageCompare.h"

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
        return ImageCompare::Grab(w, "manager", name);
    }
};
