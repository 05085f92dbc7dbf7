// The notice for a desktop without a tray (the offscreen screen has none): shown once after
// the delay, not in the way of the program, closed with the keyboard.
#include "gui/app/CDesktopCheck.h"
#include "gui/support/ImageCompare.h"

#include <QApplication>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QTest>
#include <gtest/gtest.h>

TEST(DesktopCheck, NoTrayNoticeOnceNotModalAndClosedByKey) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    CDesktopCheck check(50);
    testing::internal::CaptureStderr();
    check.Start();
    EXPECT_EQ(check.Notice(), nullptr) << "not before the tray host had its moment";
    QTRY_VERIFY_WITH_TIMEOUT(check.Notice() != nullptr, 2000);
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("no system tray"), std::string::npos) << told;

    QMessageBox* notice = check.Notice();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(notice));
    EXPECT_FALSE(notice->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the program goes on working";
    EXPECT_EQ(notice->textFormat(), Qt::PlainText);
    ImageCompare::ExpectReference(notice->grab().toImage(), notice, "app", "no_tray_notice");

    QTest::keyClick(notice, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(check.Notice() == nullptr, 2000); // closed and gone
    QTest::qWait(200);
    EXPECT_EQ(check.Notice(), nullptr) << "said once";
}
