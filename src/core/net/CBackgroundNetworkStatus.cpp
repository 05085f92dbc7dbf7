#include "core/net/CBackgroundNetworkStatus.h"

namespace {
std::int64_t SteadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

CBackgroundNetworkStatus::CBackgroundNetworkStatus(std::unique_ptr<INetworkStatus> probe,
                                                   std::chrono::milliseconds maxAge)
    : m_probe(std::move(probe)), m_maxAge(maxAge) {
    StartLook();
}

CBackgroundNetworkStatus::~CBackgroundNetworkStatus() {
    // A look reads a few kernel tables: it ends at once.
    if (m_thread.joinable()) m_thread.join();
}

void CBackgroundNetworkStatus::StartLook() {
    if (m_running.exchange(true)) return;
    if (m_thread.joinable()) m_thread.join(); // finished: m_running was false
    m_thread = std::thread([this] {
        m_online = m_probe->IsOnline();
        m_answeredMs = SteadyMs();
        m_running = false;
    });
}

bool CBackgroundNetworkStatus::IsOnline() {
    const std::int64_t answered = m_answeredMs.load();
    if (answered < 0 || SteadyMs() - answered > m_maxAge.count()) StartLook();
    return m_online.load();
}
