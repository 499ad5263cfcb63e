#pragma once

// A sink for document events that runs the test's callback at each call,
// whatever the call carries.

#include "platform/com/ComObject.h"

#include <functional>

namespace testsupport {

class EventSink : public com::ComObject<IDispatch> {
public:
    std::function<void()> onInvoke;
    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, const WCHAR**, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        if (onInvoke)
            onInvoke();
        return S_OK;
    }
};

} // namespace testsupport
