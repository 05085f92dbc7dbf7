#include "core/net/CCurlLibrary.h"

#include "core/platform/CSharedLibrary.h"

#include <mutex>

namespace {

struct Loaded {
    CCurlLibrary functions;
    std::string error;
    bool ok = false;
};

Loaded Load() {
    Loaded l;
    static CSharedLibrary library("libcurl.so.4");
    CCurlLibrary& f = l.functions;
    decltype(&curl_global_init) globalInit = nullptr;
    l.ok = library.Resolve(globalInit, "curl_global_init") &&
           library.Resolve(f.easy_init, "curl_easy_init") &&
           library.Resolve(f.easy_cleanup, "curl_easy_cleanup") &&
           library.Resolve(f.easy_setopt, "curl_easy_setopt") &&
           library.Resolve(f.easy_getinfo, "curl_easy_getinfo") &&
           library.Resolve(f.easy_perform, "curl_easy_perform") &&
           library.Resolve(f.easy_strerror, "curl_easy_strerror") &&
           library.Resolve(f.slist_append, "curl_slist_append") &&
           library.Resolve(f.slist_free_all, "curl_slist_free_all") &&
           library.Resolve(f.url, "curl_url") &&
           library.Resolve(f.url_cleanup, "curl_url_cleanup") &&
           library.Resolve(f.url_set, "curl_url_set") &&
           library.Resolve(f.url_get, "curl_url_get") && library.Resolve(f.free, "curl_free");
    if (!l.ok) {
        l.error = "libcurl could not be loaded: " + library.Error();
        return l;
    }
    // Before any other thread uses it, as libcurl asks.
    if (globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        l.ok = false;
        l.error = "libcurl could not start";
    }
    return l;
}

} // namespace

const CCurlLibrary* CCurlLibrary::Get(std::string& error) {
    static std::once_flag once;
    static Loaded loaded;
    std::call_once(once, [] { loaded = Load(); });
    if (!loaded.ok) error = loaded.error;
    return loaded.ok ? &loaded.functions : nullptr;
}
