#include "shell/BrowserClick.h"

#include <memory>
#include <vector>

struct BrowserClickOwner {
    std::vector<std::unique_ptr<TBrowserClick>> sinks;
};

namespace {
// Never destroyed: a document may release a sink while the process ends.
BrowserClickOwner& owner() {
    static auto* o = new BrowserClickOwner;
    return *o;
}
} // namespace

TBrowserClick* TBrowserClick::create() {
    owner().sinks.push_back(std::unique_ptr<TBrowserClick>(new TBrowserClick));
    return owner().sinks.back().get();
}

size_t TBrowserClick::referencedCount() {
    size_t count = 0;
    for (const auto& sink : owner().sinks)
        if (sink->m_count > 0)
            ++count;
    return count;
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
