#include "core/platform/CSharedLibrary.h"

#include <dlfcn.h>

CSharedLibrary::CSharedLibrary(const std::string& name) {
    m_handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) m_error = dlerror();
}

void* CSharedLibrary::Symbol(const char* symbol) {
    if (!m_handle) return nullptr;
    void* address = dlsym(m_handle, symbol);
    if (!address) m_error = std::string("the function ") + symbol + " is missing";
    return address;
}
