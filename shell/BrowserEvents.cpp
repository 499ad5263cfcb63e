#include "shell/BrowserEvents.h"

#include "platform/browser/ErrorInfo.h"

#include <stdexcept>
#include <utility>

TDWebBrowserEvents2::~TDWebBrowserEvents2() {
    // Nothing may take a reference any more: drop the connection directly.
    if (m_browser)
        m_browser->Unadvise(m_cookie);
}

void TDWebBrowserEvents2::Connect(IWebBrowser2* browser) {
    Disconnect();
    browser::SetLastError("");
    DWORD cookie = 0;
    HRESULT hr = browser ? browser->Advise(this, &cookie) : E_POINTER;
    if (FAILED(hr)) {
        std::string reason = browser ? browser::LastError() : "No browser";
        throw std::runtime_error("Unable to connect " + m_name + ".\r" + reason);
    }
    m_browser = browser;
    m_cookie = cookie;
}

void TDWebBrowserEvents2::Disconnect() {
    if (!m_browser)
        return;
    ComPtr<IWebBrowser2> browser = std::move(m_browser);
    DWORD cookie = std::exchange(m_cookie, 0);
    // Keep this object alive while the browser drops its reference to it;
    // the last release comes after every use of the members.
    AddRef();
    browser->Unadvise(cookie);
    browser.reset();
    Release();
}

template <typename Handler, typename... Args>
HRESULT TDWebBrowserEvents2::raise(const Handler& handler, Args&&... args) {
    if (!handler)
        return S_OK;
    try {
        auto copy = handler;
        copy(std::forward<Args>(args)...);
        return S_OK;
    } catch (const std::exception& error) {
        return browser::Fail(error.what());
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT TDWebBrowserEvents2::BeforeNavigate2(const char* url, const char* targetFrame,
                                             BOOL* cancel) {
    bool stop = false;
    HRESULT hr = raise(OnBeforeNavigate2, std::string(url ? url : ""),
                       std::string(targetFrame ? targetFrame : ""), stop);
    if (stop && cancel)
        *cancel = TRUE;
    return hr;
}

HRESULT TDWebBrowserEvents2::DocumentComplete(const char* url, BOOL isTopLevel) {
    return raise(OnDocumentComplete, std::string(url ? url : ""), isTopLevel != FALSE);
}

HRESULT TDWebBrowserEvents2::NewWindow2(const char*, BOOL*) {
    return S_OK;
}

HRESULT TDWebBrowserEvents2::NavigateError(const char*, long, BOOL*) {
    return S_OK;
}

HRESULT TDWebBrowserEvents2::ProgressChange(long, long) {
    return S_OK;
}
