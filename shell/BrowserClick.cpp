#include "shell/BrowserClick.h"

#include <memory>
#include <vector>

struct BrowserClickOwner {
    std::vector<std::unique_ptr<TBrowserClick>> sinks;
};

namespace {
// Not a static object: a document may release a sink while the process ends,
// after static objects are gone. Made by the first sink, freed only when the
// module is about to be unloaded.
BrowserClickOwner*& ownerHolder() {
    static BrowserClickOwner* owner = nullptr;
    return owner;
}
} // namespace

TBrowserClick* TBrowserClick::create() {
    BrowserClickOwner*& owner = ownerHolder();
    if (!owner)
        owner = new BrowserClickOwner;
    owner->sinks.push_back(std::unique_ptr<TBrowserClick>(new TBrowserClick));
    return owner->sinks.back().get();
}

size_t TBrowserClick::referencedCount() {
    size_t count = 0;
    if (const BrowserClickOwner* owner = ownerHolder())
        for (const auto& sink : owner->sinks)
            if (sink->m_count > 0)
                ++count;
    return count;
}

void TBrowserClick::freeAllUnreferenced() {
    BrowserClickOwner*& owner = ownerHolder();
    if (referencedCount() > 0 || !owner)
        return;
    delete owner;
    owner = nullptr;
}

HRESULT TBrowserClick::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == iidOf<IDispatch>() || riid == iidOf<IUnknown>()) {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT TBrowserClick::GetTypeInfoCount(UINT*) {
    return E_NOTIMPL;
}

HRESULT TBrowserClick::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}

HRESULT TBrowserClick::GetIDsOfNames(REFIID, const WCHAR**, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT TBrowserClick::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                              UINT*) {
    if (OnClick) {
        // A handler may clear OnClick (its form going away) while it runs.
        Handler handler = OnClick;
        handler(*this);
    }
    return S_OK;
}
