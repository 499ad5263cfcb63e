#pragma once

// A scriptable browser object for unit tests of the logic: it records
// navigations, answers Busy and LocationURL as the test sets them, hands out
// the document the test gives it, and raises events on request.

#include "platform/browser/WebBrowser.h"
#include "support/FakeDocument.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace browser::fake {

class FakeBrowser : public com::ComObject<IWebBrowser2> {
public:
    static ComPtr<FakeBrowser> create();

    // What the test sets up.
    std::string locationURL;
    ComPtr<FakeDocument> document; // null: get_Document fails
    // Answers of Busy, one per read; once used up, Busy is false.
    std::deque<bool> busyAnswers;
    // Runs at each Navigate/Navigate2 with the address, after it is recorded.
    std::function<void(const std::string&)> onNavigate;
    // Runs once, at the next Busy read: what arrives while a caller waits.
    std::function<void()> whileWaiting;
    // Non-empty: Advise fails with this text.
    std::string adviseError;

    // What the logic did.
    std::vector<std::string> navigations;
    int stops = 0;
    int busyReads = 0;
    // The first failure the sinks answered to the latest event, S_OK if none.
    HRESULT eventResult = S_OK;

    // Events as the engine raises them; each answers the sinks' cancel flag.
    bool fireBeforeNavigate2(const std::string& url, const std::string& frame = "");
    void fireDocumentComplete(const std::string& url, bool topLevel = true);
    bool fireNewWindow2(const std::string& url);
    bool fireNavigateError(const std::string& url, long status);
    void fireProgressChange(long progress, long progressMax);
    // BeforeNavigate2, then (unless cancelled) the new location, the new
    // document and DocumentComplete; the earlier document is detached.
    void completeNavigation(const std::string& url, ComPtr<FakeDocument> newDocument = nullptr);
    size_t sinkCount() const { return m_sinks.size(); }

    HRESULT get_Document(IHTMLDocument2** document) override;
    HRESULT get_LocationURL(std::string* url) override;
    HRESULT get_Busy(BOOL* busy) override;
    HRESULT Navigate(const char* url) override;
    HRESULT Navigate2(const char* url) override;
    HRESULT Stop() override;
    HRESULT Advise(DWebBrowserEvents2* sink, DWORD* cookie) override;
    HRESULT Unadvise(DWORD cookie) override;

private:
    FakeBrowser() = default;
    template <typename F> void forEachSink(F&& f);

    std::map<DWORD, ComPtr<DWebBrowserEvents2>> m_sinks;
    DWORD m_nextCookie = 1;
};

} // namespace browser::fake
