#pragma once

#include <curl/curl.h>
#include <string>

// libcurl's functions, opened on the first HTTP request: with its TLS, LDAP, SSH and Kerberos
// libraries it takes megabytes that a session without a weather or time check never needs.
struct CCurlLibrary {
    // The loaded library, ready for use on any thread; null when it cannot be loaded (error
    // says why). Loaded once; a failure is final for the process.
    static const CCurlLibrary* Get(std::string& error);

    decltype(&curl_easy_init) easy_init = nullptr;
    decltype(&curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&curl_easy_setopt) easy_setopt = nullptr;
    decltype(&curl_easy_getinfo) easy_getinfo = nullptr;
    decltype(&curl_easy_perform) easy_perform = nullptr;
    decltype(&curl_easy_strerror) easy_strerror = nullptr;
    decltype(&curl_slist_append) slist_append = nullptr;
    decltype(&curl_slist_free_all) slist_free_all = nullptr;
    decltype(&curl_url) url = nullptr;
    decltype(&curl_url_cleanup) url_cleanup = nullptr;
    decltype(&curl_url_set) url_set = nullptr;
    decltype(&curl_url_get) url_get = nullptr;
    decltype(&curl_free) free = nullptr;
};
