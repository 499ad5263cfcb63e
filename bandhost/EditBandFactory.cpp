#include "EditBandFactory.h"

#include "ComServer.h"
#include "EditBand.h"
#include "EditBandIds.h"
#include "platform/ui/Dialogs.h"
#include "platform/window/Application.h"

#include <exception>

TEditBandFactory::TEditBandFactory(ComServer& server) : m_server(server) {}

REFCLSID TEditBandFactory::classId() const {
    return CLSID_EditBand;
}

const char* TEditBandFactory::description() const {
    return kEditBandDescription;
}

HRESULT TEditBandFactory::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == iidOf<IUnknown>() || riid == iidOf<IClassFactory>()) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG TEditBandFactory::AddRef() {
    m_server.factoryAddRef();
    return static_cast<ULONG>(m_server.factoryCount());
}

ULONG TEditBandFactory::Release() {
    m_server.factoryRelease();
    return static_cast<ULONG>(m_server.factoryCount());
}

HRESULT TEditBandFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (outer && riid != iidOf<IUnknown>())
        return CLASS_E_NOAGGREGATION;
    TEditBand* band = nullptr;
    try {
        band = new TEditBand(m_server);
    } catch (const std::exception& error) {
        ui::dialogs().message(app::WithPeriod(error.what()), kEditBandDescription, ui::Icon::Error);
        return E_UNEXPECTED;
    }
    // Hold the object across the query so that one nobody takes is freed.
    band->AddRef();
    HRESULT result = band->QueryInterface(riid, ppv);
    band->Release();
    return result;
}

HRESULT TEditBandFactory::LockServer(BOOL lock) {
    if (lock)
        m_server.objectCreated();
    else
        m_server.objectDestroyed();
    return S_OK;
}
