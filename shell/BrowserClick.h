#pragma once

#include "platform/com/Interfaces.h"

#include <functional>

// The sink attached to the edited document's click and mouse-up events:
// every Invoke, whatever it carries, runs OnClick.
class TBrowserClick final : public IDispatch {
public:
    using Handler = std::function<void(TBrowserClick& sender)>;

    // The process keeps every sink until it ends: a document may call a sink
    // long after the form that attached it went, and then finds it silent.
    static TBrowserClick* create();

    Handler OnClick;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    // The count is kept but never destroys the sink.
    ULONG AddRef() override { return ++m_count; }
    ULONG Release() override { return --m_count; }

    HRESULT GetTypeInfoCount(UINT* count) override;
    HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT GetIDsOfNames(REFIID riid, const WCHAR** names, UINT count, LCID lcid,
                          DISPID* ids) override;
    HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

    ULONG refCount() const { return m_count; }
    // How many sinks some document still holds: while any is held, the code
    // behind them must stay loaded.
    static size_t referencedCount();
    // Frees every sink when no document holds any, as the module is about to
    // be unloaded; does nothing while one is held.
    static void freeAllUnreferenced();

private:
    TBrowserClick() = default;
    friend struct BrowserClickOwner;

    ULONG m_count = 0;
};
