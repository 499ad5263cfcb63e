#include "BarModule.h"

#include <cstdio>
#include <dlfcn.h>
#include <stdexcept>

namespace host {

BarModule::BarModule(const std::string& path) : m_path(path) {
    m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char* why = dlerror();
        throw std::runtime_error("The bar module " + path +
                                 " could not be loaded: " + (why ? why : "unknown reason"));
    }
}

BarModule::~BarModule() {
    // A module that still has live objects is left loaded: unloading it
    // would pull code from under them.
    unloadIfPossible();
}

template <typename F> F BarModule::entry(const char* name) const {
    void* symbol = m_handle ? dlsym(m_handle, name) : nullptr;
    if (!symbol)
        throw std::runtime_error("The bar module " + m_path + " has no entry point " + name);
    return reinterpret_cast<F>(symbol);
}

HRESULT BarModule::getClassObject(REFCLSID clsid, REFIID riid, void** ppv) const {
    using Fn = HRESULT (*)(REFCLSID, REFIID, void**);
    return entry<Fn>("DllGetClassObject")(clsid, riid, ppv);
}

HRESULT BarModule::canUnloadNow() const {
    using Fn = HRESULT (*)();
    return entry<Fn>("DllCanUnloadNow")();
}

HRESULT BarModule::registerServer() const {
    using Fn = HRESULT (*)();
    return entry<Fn>("DllRegisterServer")();
}

HRESULT BarModule::unregisterServer() const {
    using Fn = HRESULT (*)();
    return entry<Fn>("DllUnregisterServer")();
}

bool BarModule::unloadIfPossible() {
    if (!m_handle)
        return true;
    if (canUnloadNow() != S_OK)
        return false;
    dlclose(m_handle);
    m_handle = nullptr;
    return true;
}

std::string describeResult(HRESULT result) {
    struct Known {
        HRESULT code;
        const char* name;
    };
    static constexpr Known known[] = {
        {S_OK, "S_OK"},
        {S_FALSE, "S_FALSE"},
        {E_FAIL, "E_FAIL"},
        {E_NOINTERFACE, "E_NOINTERFACE"},
        {E_POINTER, "E_POINTER"},
        {E_UNEXPECTED, "E_UNEXPECTED"},
        {CLASS_E_CLASSNOTAVAILABLE, "CLASS_E_CLASSNOTAVAILABLE"},
        {SELFREG_E_CLASS, "SELFREG_E_CLASS"},
    };
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(result));
    for (const Known& k : known)
        if (k.code == result)
            return std::string(code) + " (" + k.name + ")";
    return code;
}

} // namespace host
