#include "core/net/CNotesInternetSession.h"

#include "core/net/CBlockingSocket.h"
#include "core/net/CCurlLibrary.h"
#include "core/net/HostLookUp.h"
#include "core/net/SocketErrors.h"

#include <arpa/inet.h>
#include <memory>

namespace {

struct Transfer {
    const CCurlLibrary* lib = nullptr;
    CURL* curl = nullptr;
    std::string body;
    std::size_t maxBytes = 0;
    bool ok200 = false;
    bool statusKnown = false;
    bool tooLarge = false;
    const std::atomic<bool>* stop = nullptr;
    bool stopped = false;
};

// Takes the body only when the status is 200; a larger reply than allowed ends the transfer.
size_t OnData(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    if (!t->statusKnown) {
        long code = 0;
        t->lib->easy_getinfo(t->curl, CURLINFO_RESPONSE_CODE, &code);
        t->ok200 = code == 200;
        t->statusKnown = true;
    }
    if (!t->ok200) return n;
    if (t->body.size() + n > t->maxBytes) {
        t->tooLarge = true;
        return 0; // not all taken: libcurl ends the transfer with a write error
    }
    t->body.append(data, n);
    return n;
}

// Called by libcurl while it waits or moves data, about once a second at the least.
int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* t = static_cast<Transfer*>(user);
    if (t->stop && t->stop->load()) {
        t->stopped = true;
        return 1; // ends the transfer with CURLE_ABORTED_BY_CALLBACK
    }
    return 0;
}

// "host:port:address" for CURLOPT_RESOLVE, so that libcurl never looks the name up itself: its
// resolver thread is joined when a transfer is abandoned, which would hold the program's exit
// for as long as a silent name server takes. Empty when libcurl should look it up after all (an
// address in the URL, or a name without an IPv4 address). False when the look-up failed.
bool PinnedAddress(const CCurlLibrary& lib, const std::string& url, long timeoutMs,
                   const std::atomic<bool>* stop, std::string& pinned, std::string& error) {
    pinned.clear();
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> parts(lib.url(), lib.url_cleanup);
    char *host = nullptr, *port = nullptr;
    if (!parts || lib.url_set(parts.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK ||
        lib.url_get(parts.get(), CURLUPART_HOST, &host, 0) != CURLUE_OK ||
        lib.url_get(parts.get(), CURLUPART_PORT, &port, CURLU_DEFAULT_PORT) != CURLUE_OK) {
        lib.free(host);
        return true; // libcurl tells what is wrong with the URL
    }
    const std::string name = host, number = port;
    lib.free(host);
    lib.free(port);
    in_addr address{};
    if (name.empty() || name[0] == '[' || inet_pton(AF_INET, name.c_str(), &address) == 1)
        return true;
    if (!LookUpIPv4(name, address, stop, static_cast<int>(timeoutMs))) {
        const int e = CBlockingSocket::GetLastError();
        if (e == SocketError::kInvalidArgument) return true; // perhaps IPv6 only
        error = e == SocketError::kCancelled ? "the request was stopped"
                                             : "the name \"" + name + "\" could not be looked up";
        return false;
    }
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address, text, sizeof text);
    pinned = name + ":" + number + ":" + text;
    return true;
}

} // namespace

bool CNotesInternetSession::HttpGet(std::string& reply, const std::string& server,
                                    const std::string& path, const std::string& verb) {
    m_error.clear();
    m_status = 0;
    const CCurlLibrary* lib = CCurlLibrary::Get(m_error);
    if (!lib) return false;
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(lib->easy_init(), lib->easy_cleanup);
    if (!curl) {
        m_error = "the HTTP client could not start";
        return false;
    }
    Transfer t;
    t.lib = lib;
    t.curl = curl.get();
    t.maxBytes = m_maxBytes;
    t.stop = m_stop;
    const std::string url = server + path;
    std::string pinned;
    if (!PinnedAddress(*lib, url, m_timeoutMs, m_stop, pinned, m_error)) return false;
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> resolve(
        pinned.empty() ? nullptr : lib->slist_append(nullptr, pinned.c_str()), lib->slist_free_all);
    // Always fresh from the server: a cached time or forecast is a wrong one.
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(
        lib->slist_append(lib->slist_append(nullptr, "Cache-Control: no-cache"),
                          "Pragma: no-cache"),
        lib->slist_free_all);
    CURL* c = curl.get();
    lib->easy_setopt(c, CURLOPT_URL, url.c_str());
    if (resolve) lib->easy_setopt(c, CURLOPT_RESOLVE, resolve.get());
    lib->easy_setopt(c, CURLOPT_CUSTOMREQUEST, verb == "GET" ? nullptr : verb.c_str());
    lib->easy_setopt(c, CURLOPT_USERAGENT, kAgent);
    lib->easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    lib->easy_setopt(c, CURLOPT_FRESH_CONNECT, 1L);
    lib->easy_setopt(c, CURLOPT_NOSIGNAL, 1L); // runs on worker threads
    lib->easy_setopt(c, CURLOPT_TIMEOUT_MS, m_timeoutMs);
    lib->easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, m_timeoutMs);
    lib->easy_setopt(c, CURLOPT_BUFFERSIZE, static_cast<long>(kChunkBytes));
    lib->easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    lib->easy_setopt(c, CURLOPT_MAXREDIRS, 3L);
    lib->easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    // A secure request stays secure: no redirect may take it down to plain HTTP.
    lib->easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR,
                     url.rfind("https:", 0) == 0 ? "https" : "http,https");
    if (!m_caFile.empty()) lib->easy_setopt(c, CURLOPT_CAINFO, m_caFile.c_str());
    lib->easy_setopt(c, CURLOPT_WRITEFUNCTION, &OnData);
    lib->easy_setopt(c, CURLOPT_WRITEDATA, &t);
    if (m_stop) {
        lib->easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
        lib->easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &OnProgress);
        lib->easy_setopt(c, CURLOPT_XFERINFODATA, &t);
    }

    const CURLcode rc = lib->easy_perform(c);
    lib->easy_getinfo(c, CURLINFO_RESPONSE_CODE, &m_status);
    if (t.stopped) {
        m_error = "the request was stopped";
        return false;
    }
    if (t.tooLarge) {
        m_error = "the reply is larger than " + std::to_string(m_maxBytes) + " bytes";
        return false;
    }
    if (rc != CURLE_OK) {
        m_error = lib->easy_strerror(rc);
        return false;
    }
    if (m_status == 200) reply = std::move(t.body);
    return true;
}
