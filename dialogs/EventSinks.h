#pragma once

// Small sinks the links and images dialog attaches to its browsers and to
// the gallery document, each calling back into the dialog.

#include "platform/browser/WebBrowser.h"
#include "platform/com/ComObject.h"

#include <functional>
#include <string>

namespace dialogs {

// Runs its callback at every call of Invoke, whatever it carries.
class DocumentClickSink : public com::ComObject<IDispatch> {
public:
    std::function<void()> onInvoke;

    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, const WCHAR**, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
};

// The navigation events of one browser, each to its own callback; a
// callback's error is swallowed, as the browser's event component does.
class NavigationSink : public com::ComObject<DWebBrowserEvents2> {
public:
    std::function<void(const std::string& url, bool topLevel)> beforeNavigate;
    std::function<void(const std::string& url, bool topLevel)> documentComplete;
    std::function<void(long progress, long progressMax)> progressChange;
    // Answer true to cancel.
    std::function<bool(const std::string& url)> newWindow;
    std::function<bool(const std::string& url)> navigateError;

    HRESULT BeforeNavigate2(const char* url, const char* targetFrame, BOOL* cancel) override;
    HRESULT DocumentComplete(const char* url, BOOL isTopLevel) override;
    HRESULT NewWindow2(const char* url, BOOL* cancel) override;
    HRESULT NavigateError(const char* url, long statusCode, BOOL* cancel) override;
    HRESULT ProgressChange(long progress, long progressMax) override;
};

} // namespace dialogs
