#pragma once

#include <string>
#include <sys/types.h>

// A private CUPS scheduler on 127.0.0.1 with a throw-away configuration and spool, and a PDF
// queue (cups-pdf) as its default printer writing into a folder of its own. A child process
// (cupsd -f), stopped by its PID. Needs root: cups-pdf runs only as root, and its per-queue
// configuration lives where it reads it, /etc/cups/cups-pdf-<queue>.conf (removed again).
class CupsServer {
public:
    CupsServer();
    ~CupsServer();
    CupsServer(const CupsServer&) = delete;
    CupsServer& operator=(const CupsServer&) = delete;

    // The address clients use (CUPS_SERVER); fixed before Start, so it can be set early.
    std::string Address() const { return "127.0.0.1:" + std::to_string(m_port); }
    // Starts the scheduler and adds the PDF queue as default; false with Error() otherwise.
    bool Start();
    void Stop();
    const std::string& Error() const { return m_error; }
    const std::string& Queue() const { return m_queue; }
    const std::string& OutputDir() const { return m_out; }

    // The first PDF in the output folder once no job is pending, or "" after timeoutMs.
    std::string WaitForPdf(int timeoutMs) const;

private:
    bool Run(const std::string& command, std::string* output = nullptr) const;
    std::string LogTail() const;

    std::string m_dir, m_out, m_queue, m_queueConf, m_error;
    unsigned short m_port = 0;
    pid_t m_pid = -1;
};
