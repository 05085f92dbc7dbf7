#pragma once

#include <QDialog>

// The start-up logo: shown for about two seconds, then it closes itself.
class CSplashDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSplashDlg(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
    void timerEvent(QTimerEvent*) override;

private:
    int m_ticks = 0;
    int m_timer = 0;
};
