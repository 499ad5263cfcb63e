#pragma once

#include "platform/browser/WebBrowser.h"
#include "platform/com/ComObject.h"

#include <functional>
#include <string>

// Sinks a browser's navigation events and raises one handler per event. An
// error inside a handler becomes the event's failure result; it is not shown.
class TDWebBrowserEvents2 final : public com::ComObject<DWebBrowserEvents2> {
public:
    explicit TDWebBrowserEvents2(std::string name) : m_name(std::move(name)) {}

    // Disconnects first when connected. Throws "Unable to connect <name>.\r
    // <reason>" when the browser refuses the sink.
    void Connect(IWebBrowser2* browser);
    // Forgets the connection even when the browser fails to drop it.
    void Disconnect();
    bool connected() const { return static_cast<bool>(m_browser); }

    // frame is "" for the top page; setting cancel stops the navigation.
    std::function<void(const std::string& url, const std::string& frame, bool& cancel)>
        OnBeforeNavigate2;
    // topLevel is false for a frame of the page.
    std::function<void(const std::string& url, bool topLevel)> OnDocumentComplete;

    HRESULT BeforeNavigate2(const char* url, const char* targetFrame, BOOL* cancel) override;
    HRESULT DocumentComplete(const char* url, BOOL isTopLevel) override;
    HRESULT NewWindow2(const char* url, BOOL* cancel) override;
    HRESULT NavigateError(const char* url, long statusCode, BOOL* cancel) override;
    HRESULT ProgressChange(long progress, long progressMax) override;

private:
    ~TDWebBrowserEvents2() override;
    template <typename Handler, typename... Args>
    HRESULT raise(const Handler& handler, Args&&... args);

    std::string m_name;
    ComPtr<IWebBrowser2> m_browser;
    DWORD m_cookie = 0;
};
