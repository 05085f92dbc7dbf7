#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <string>
#include <utility>

class ILaunchHost;

// The launcher words export-ics and import-ics as they reach the running copy: carried out once
// the program is idle (never under an open Note Manager, options sheet or ringing note), the
// result told in a box.
class CCalendarCommands : public QObject {
    Q_OBJECT
public:
    explicit CCalendarCommands(ILaunchHost& core);

    // True when the line was a calendar word (it is then kept until it can run).
    bool OnLine(const QString& line);

    static constexpr int kRetryMs = 250;
    static constexpr std::size_t kMaxPending = 8;

private:
    void RunReady();

    ILaunchHost& m_core;
    std::deque<std::pair<std::string, std::string>> m_pending; // word, file
    QTimer m_retry;
};
