#pragma once

#include <atomic>
#include <cstddef>
#include <string>

// One HTTP client for one request at a time (libcurl, loaded by the first request). Safe to use
// on any thread; each thread makes its own session.
class CNotesInternetSession {
public:
    static constexpr const char* kAgent = "Ovalin";
    static constexpr std::size_t kChunkBytes = 10240;
    // A reply larger than this is refused: no weather or time page comes near it.
    static constexpr std::size_t kDefaultMaxBytes = 4 * 1024 * 1024;
    static constexpr long kDefaultTimeoutMs = 15000;

    void SetTimeoutMs(long ms) { m_timeoutMs = ms; }
    void SetMaxBytes(std::size_t bytes) { m_maxBytes = bytes; }
    // A PEM file of trusted certificates used instead of the system's (tests); empty: the
    // system's.
    void SetCaFile(const std::string& path) { m_caFile = path; }
    // A flag another thread may raise to end the request early (the program is closing); the
    // request then fails within about a second. Not owned; null: never stopped.
    void SetStopFlag(const std::atomic<bool>* stop) { m_stop = stop; }

    // GETs server + path, bypassing any cache. With status 200 the body replaces reply; any
    // other status leaves reply unchanged and still returns true. False when the exchange
    // failed (name not resolved, refused, cut at the time limit, reply too large); LastError()
    // then says why.
    bool HttpGet(std::string& reply, const std::string& server, const std::string& path,
                 const std::string& verb = "GET");
    const std::string& LastError() const { return m_error; }
    long LastStatus() const { return m_status; }

private:
    long m_timeoutMs = kDefaultTimeoutMs;
    std::size_t m_maxBytes = kDefaultMaxBytes;
    std::string m_caFile;
    const std::atomic<bool>* m_stop = nullptr;
    std::string m_error;
    long m_status = 0;
};
