#pragma once

#include <string>

// A shared library opened at run time, so that what only some sessions use (HTTP, TLS) costs
// no memory in the others. It stays loaded for the rest of the program: its functions may be
// running on worker threads when any one owner goes away.
class CSharedLibrary {
public:
    // name: a file name looked up as the dynamic linker does ("libcurl.so.4"), or a path.
    explicit CSharedLibrary(const std::string& name);
    CSharedLibrary(const CSharedLibrary&) = delete;
    CSharedLibrary& operator=(const CSharedLibrary&) = delete;

    bool IsLoaded() const { return m_handle != nullptr; }
    // Why loading or the last Resolve failed.
    const std::string& Error() const { return m_error; }

    // Sets fn to the named function; false (and Error) when the library lacks it.
    template <class Function> bool Resolve(Function& fn, const char* symbol) {
        fn = reinterpret_cast<Function>(Symbol(symbol));
        return fn != nullptr;
    }

private:
    void* Symbol(const char* symbol);

    void* m_handle = nullptr;
    std::string m_error;
};
