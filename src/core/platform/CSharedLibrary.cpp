#include "platform/CSharedLibrary.h"

#include <cstring>
#include <dlfcn.h>
#include <link.h>

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

bool CSharedLibrary::IsMapped(const std::string& prefix) {
    const auto visit = [](dl_phdr_info* info, size_t, void* data) -> int {
        const char* path = info->dlpi_name;
        if (!path || !*path) return 0;
        const char* slash = std::strrchr(path, '/');
        const std::string& wanted = *static_cast<const std::string*>(data);
        return std::strncmp(slash ? slash + 1 : path, wanted.c_str(), wanted.size()) == 0;
    };
    return dl_iterate_phdr(visit, const_cast<std::string*>(&prefix)) != 0;
}
