#pragma once

#include <QDialog>

// The about box: the program's name, its version and what it is.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    static QString VersionText();
    static constexpr const char* kDescription =
        "Sticky notes and reminders that live in your system tray.";
};
