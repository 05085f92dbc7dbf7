#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <string>

class QSocketNotifier;

// Marks the copy of the program that runs for this user: a local socket in a folder only the
// user can enter ($XDG_RUNTIME_DIR/jotterly, else jotterly in the user's cache home). A second copy
// finds the socket answering and ends; a socket left behind by a crashed copy answers no more and
// is taken over. The running copy reads one short line from each connection (for commands a
// launcher may send it). Plain sockets watched by the event loop: a network library for one
// local line would cost every running copy its memory.
class CSingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        Ours,        // this copy is the one that runs
        AnotherRuns, // a running copy answered
        Unguarded,   // no folder could be trusted: said why on stderr, runs without the guard
    };

    // folder: where the socket lives, instead of the default ones; name: the socket's file
    // name, "instance" when empty.
    explicit CSingleInstance(QString folder = {}, QString name = {});
    ~CSingleInstance() override;

    Claim TryClaim();
    // The socket of the copy that runs (after TryClaim found or made one).
    QString SocketPath() const { return m_path; }
    // Sends one line to the copy that runs; false when none takes it.
    bool Send(const QString& line) const;

    // What the copy that runs answers each line ("" for nothing), before it acts on it.
    void SetReplier(std::function<QString(const QString& line)> replier) {
        m_replier = std::move(replier);
    }

    enum class Delivery { Delivered, NoneRuns, Failed };
    // Hands one line to the copy that runs with plain sockets, so it works before (and
    // without) an application object or a display. Looks where TryClaim would claim. reply
    // gets the copy's answer (empty when it gave none within a few seconds).
    static Delivery HandOver(const std::string& line, QString folder = {}, QString name = {},
                             std::string* reply = nullptr);

    // Where the socket is looked for, in order: $XDG_RUNTIME_DIR/jotterly when that is set,
    // then $XDG_CACHE_HOME/jotterly (~/.cache/jotterly).
    static QStringList DefaultFolders();
    // Creates the folder with mode 0700 when it is missing. Returns an empty string when it
    // can be trusted (a real folder, ours, closed to everybody else), else the reason why not.
    static std::string CheckFolder(const std::string& path);

    static constexpr int kMaxLine = 1024;

signals:
    void messageReceived(const QString& line);

private:
    Claim ClaimIn(const QString& folder);
    void OnConnection();
    void OnReadable(int fd, QSocketNotifier* notifier);

    QStringList m_folders;
    QString m_name;
    QString m_path;
    int m_listener = -1;
    std::map<int, std::string> m_pending; // open connections and what each sent so far
    std::function<QString(const QString&)> m_replier;
};
