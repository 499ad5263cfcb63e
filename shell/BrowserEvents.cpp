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

HRESULT TDWebBrowserEvents2::raise(const std::function<void(const std::string&)>& handler,
                                   const char* url) {
    if (!handler)
        return S_OK;
    try {
        auto copy = handler;
        copy(url ? url : "");
        return S_OK;
    } catch (const std::exception& error) {
        return browser::Fail(error.what());
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT TDWebBrowserEvents2::BeforeNavigate2(const char* url, const char*, BOOL*) {
    return raise(OnBeforeNavigate2, url);
}

HRESULT TDWebBrowserEvents2::DocumentComplete(const char* url, BOOL) {
    return raise(OnDocumentComplete, url);
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
