#pragma once

// The browser object over a WebKitGTK web view: the host's view and the
// small browsers of the dialogs. Calls into the page evaluate JavaScript and
// iterate the GLib main context until the answer arrives or the time limit
// passes; events are delivered on the main thread.
//
//     ComPtr<IWebBrowser2> browser = webkit::WebKitBrowser::create(view);
//
// The browser keeps a reference on the view and installs the editing layer
// into the view's user content manager: make one browser per view.

#include "platform/browser/HtmlDocument.h"
#include "platform/browser/WebBrowser.h"
#include "platform/com/ComObject.h"

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

typedef struct _WebKitWebView WebKitWebView;
typedef struct _GtkPrintSettings GtkPrintSettings;

namespace webkit {

// One answer of the editing layer: a value, an element, a range, or a list
// or record of answers.
struct Answer {
    browser::Value value;
    long element = 0;
    std::string tag;
    long range = 0;
    std::string rangeKind;
    std::vector<Answer> items;
    std::map<std::string, Answer> fields;
};

class WebKitBrowser : public com::ComObject<IWebBrowser2> {
public:
    static ComPtr<WebKitBrowser> create(WebKitWebView* view);
    explicit WebKitBrowser(WebKitWebView* view);

    WebKitWebView* view() const { return m_view; }

    // How long a call waits for the page (10 seconds unless set).
    void setCallTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    // Asks where "SaveAs" without a path writes; "" cancels. The default
    // shows a file chooser.
    void setSaveAsChooser(std::function<std::string(const std::string& suggested)> chooser) {
        m_chooseSavePath = std::move(chooser);
    }

    // Settings for "print" (a printer, an output file); without them the
    // default printer, or the print dialog when the caller asks for one.
    void setPrintSettings(GtkPrintSettings* settings);

    // IWebBrowser2
    HRESULT get_Document(IHTMLDocument2** document) override;
    HRESULT get_LocationURL(std::string* url) override;
    HRESULT get_Busy(BOOL* busy) override;
    HRESULT Navigate(const char* url) override;
    HRESULT Navigate2(const char* url) override;
    HRESULT Stop() override;
    HRESULT Advise(DWebBrowserEvents2* sink, DWORD* cookie) override;
    HRESULT Unadvise(DWORD cookie) override;

    // For the document objects: one call of the editing layer. token names
    // the page the caller was made for ("" for any); args are JSON texts.
    HRESULT call(const std::string& op, const std::string& token,
                 const std::vector<std::string>& args, Answer* answer);
    // How many calls went into the page so far (each is one round trip).
    size_t callCount() const { return m_calls; }
    // The selection's state the page sent with the event being delivered
    // now, while no call has changed that page since; else null.
    const Answer* eventSnapshot(const std::string& token) const;
    // Registers a document sink; the number goes to the page.
    long addEventSink(IDispatch* sink);
    // The event being delivered now, or null.
    HRESULT currentEvent(IHTMLEventObj** event);
    HRESULT saveAs(const std::string& token, std::string path, BOOL showUI, BOOL* done);
    HRESULT print(BOOL showUI, BOOL* done);

    // Signal entry points (public for the C callbacks).
    bool onNavigationPolicy(void* decision);
    bool onResponsePolicy(void* decision);
    void onLoadChanged(int event);
    bool onLoadFailed(const char* uri, const void* error);
    void onProgress();
    void onCreate(const char* uri);
    void onScriptMessage(void* value);
    void onProcessTerminated();

protected:
    ~WebKitBrowser() override;

private:
    struct PendingEvent {
        std::string type;
        long element = 0;
        std::string tag;
        std::string token;
        long sink = 0;
        std::shared_ptr<Answer> snapshot;
        size_t changesAtDelivery = 0;
    };

    template <typename F> void forEachSink(F&& f);
    void deliverEvent(long sink, PendingEvent event);

    WebKitWebView* m_view = nullptr;
    std::vector<unsigned long> m_handlers;
    unsigned long m_managerHandler = 0;
    std::chrono::milliseconds m_timeout{10000};
    std::function<std::string(const std::string&)> m_chooseSavePath;
    GtkPrintSettings* m_printSettings = nullptr;
    std::map<DWORD, ComPtr<DWebBrowserEvents2>> m_sinks;
    DWORD m_nextCookie = 1;
    std::map<long, ComPtr<IDispatch>> m_eventSinks;
    long m_nextEventSink = 1;
    std::vector<PendingEvent> m_eventStack;
    std::deque<PendingEvent> m_eventQueue;
    bool m_navigationRequested = false;
    bool m_loading = false;
    size_t m_calls = 0;
    // Calls that may have changed a page (any but the reading ones).
    size_t m_pageChanges = 0;
    size_t m_changesInFlight = 0;
};

} // namespace webkit
