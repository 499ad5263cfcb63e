// The module's four entry points. Nothing raised inside them leaves them.

#include "ComServer.h"
#include "EditBandFactory.h"
#include "Registration.h"
#include "shell/BrowserClick.h"

#include <dlfcn.h>
#include <exception>
#include <string>

#define TAVRISK_EXPORT extern "C" __attribute__((visibility("default")))

bool bandFormsOrphaned();

namespace {

std::string modulePath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&modulePath), &info) == 0 || !info.dli_fname)
        throw std::runtime_error("The module's file could not be found");
    return info.dli_fname;
}

// The server object comes with the module.
[[maybe_unused]] const ComServer& g_server = ComServer::instance();

template <typename Step> HRESULT runRegistryUpdate(RegistrationDirection direction, Step step) {
    try {
        ComServer::instance().setDirection(direction);
        step();
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

} // namespace

TAVRISK_EXPORT HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    TEditBandFactory* factory = ComServer::instance().factoryFor(rclsid);
    if (!factory) {
        *ppv = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return factory->QueryInterface(riid, ppv);
}

TAVRISK_EXPORT HRESULT DllCanUnloadNow() {
    // Documents may still hold click sinks after every band has gone; their
    // code must stay loaded until the last one is released.
    bool inUse = !ComServer::instance().canUnload() || bandFormsOrphaned() ||
                 TBrowserClick::referencedCount() > 0;
    if (inUse)
        return S_FALSE;
    // The host unloads the module on this answer: what only the module's
    // own data points to would be lost with it.
    TBrowserClick::freeAllUnreferenced();
    return S_OK;
}

TAVRISK_EXPORT HRESULT DllRegisterServer() {
    return runRegistryUpdate(RegistrationDirection::Register,
                             [] { registerEditBand(modulePath()); });
}

TAVRISK_EXPORT HRESULT DllUnregisterServer() {
    return runRegistryUpdate(RegistrationDirection::Unregister, [] { unregisterEditBand(); });
}
