#include "support/FakeBrowser.h"

#include "platform/browser/ErrorInfo.h"

#include <utility>

namespace browser::fake {

ComPtr<FakeBrowser> FakeBrowser::create() {
    return ComPtr<FakeBrowser>(new FakeBrowser());
}

template <typename F> void FakeBrowser::forEachSink(F&& f) {
    ComPtr<FakeBrowser> keep(this);
    std::vector<std::pair<DWORD, ComPtr<DWebBrowserEvents2>>> sinks(m_sinks.begin(), m_sinks.end());
    eventResult = S_OK;
    for (auto& [cookie, sink] : sinks) {
        if (!m_sinks.count(cookie))
            continue;
        HRESULT hr = f(sink.get());
        if (FAILED(hr) && SUCCEEDED(eventResult))
            eventResult = hr;
    }
}

bool FakeBrowser::fireBeforeNavigate2(const std::string& url, const std::string& frame) {
    BOOL cancel = FALSE;
    forEachSink([&](DWebBrowserEvents2* s) {
        return s->BeforeNavigate2(url.c_str(), frame.c_str(), &cancel);
    });
    return cancel != FALSE;
}

void FakeBrowser::fireDocumentComplete(const std::string& url, bool topLevel) {
    forEachSink([&](DWebBrowserEvents2* s) { return s->DocumentComplete(url.c_str(), topLevel); });
}

bool FakeBrowser::fireNewWindow2(const std::string& url) {
    BOOL cancel = FALSE;
    forEachSink([&](DWebBrowserEvents2* s) { return s->NewWindow2(url.c_str(), &cancel); });
    return cancel != FALSE;
}

bool FakeBrowser::fireNavigateError(const std::string& url, long status) {
    BOOL cancel = FALSE;
    forEachSink(
        [&](DWebBrowserEvents2* s) { return s->NavigateError(url.c_str(), status, &cancel); });
    return cancel != FALSE;
}

void FakeBrowser::fireProgressChange(long progress, long progressMax) {
    forEachSink([&](DWebBrowserEvents2* s) { return s->ProgressChange(progress, progressMax); });
}

void FakeBrowser::completeNavigation(const std::string& url, ComPtr<FakeDocument> newDocument) {
    if (fireBeforeNavigate2(url))
        return;
    if (document)
        document->detach();
    document = newDocument ? newDocument : FakeDocument::create();
    document->url = url;
    locationURL = url;
    fireDocumentComplete(url, true);
}

HRESULT FakeBrowser::get_Document(IHTMLDocument2** doc) {
    if (!doc)
        return E_POINTER;
    *doc = nullptr;
    if (!document)
        return Fail("The browser shows no document");
    *doc = document.get();
    (*doc)->AddRef();
    return S_OK;
}

HRESULT FakeBrowser::get_LocationURL(std::string* url) {
    if (!url)
        return E_POINTER;
    *url = locationURL;
    return S_OK;
}

HRESULT FakeBrowser::get_Busy(BOOL* busy) {
    if (!busy)
        return E_POINTER;
    ++busyReads;
    if (auto pending = std::exchange(whileWaiting, nullptr))
        pending();
    *busy = FALSE;
    if (!busyAnswers.empty()) {
        *busy = busyAnswers.front();
        busyAnswers.pop_front();
    }
    return S_OK;
}

HRESULT FakeBrowser::Navigate(const char* url) {
    if (!url)
        return E_POINTER;
    navigations.push_back(url);
    if (onNavigate)
        onNavigate(url);
    return S_OK;
}

HRESULT FakeBrowser::Navigate2(const char* url) {
    return Navigate(url);
}

HRESULT FakeBrowser::Stop() {
    ++stops;
    return S_OK;
}

HRESULT FakeBrowser::Advise(DWebBrowserEvents2* sink, DWORD* cookie) {
    if (!sink || !cookie)
        return E_POINTER;
    if (!adviseError.empty())
        return Fail(adviseError);
    *cookie = m_nextCookie++;
    m_sinks[*cookie] = ComPtr<DWebBrowserEvents2>(sink);
    return S_OK;
}

HRESULT FakeBrowser::Unadvise(DWORD cookie) {
    return m_sinks.erase(cookie) ? S_OK : Fail("No such event connection");
}

} // namespace browser::fake
