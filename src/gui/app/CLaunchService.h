#pragma once

#include "core/app/CLaunchQueue.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

// Carries out the launcher words that reach the running copy over its socket (and the word
// the program itself was started with), each once the program is free to.
class CLaunchService : public QObject {
    Q_OBJECT
public:
    CLaunchService(ILaunchHost& core, std::function<void(int)> runCommand);

    void OnWord(const QString& word);
    bool Pending() const { return m_queue.Pending(); }

    // How often a waiting word looks again whether the program is free.
    static constexpr int kRetryMs = 250;

private:
    void RunReady();

    CLaunchQueue m_queue;
    QTimer m_retry;
};
