#pragma once

// One real web view in a window under the test's X server, shared by the
// tests of one file, with helpers to load pages, read the page and send
// real mouse events.

#include "platform/browser/Dom.h"
#include "platform/webkit/WebKitBrowser.h"
#include "support/WebViewDriver.h"

#include <string>

namespace enginetest {

class EngineView {
public:
    static EngineView& get();

    WebKitWebView* view() const { return m_view; }
    webkit::WebKitBrowser* browserObject() const { return m_browser.get(); }
    browser::Browser browser() const {
        return browser::Browser(ComPtr<IWebBrowser2>(m_browser.get()));
    }
    browser::Document document() const { return browser().document(); }

    // Writes the page to a file of its own and shows it; answers its path.
    std::string load(const std::string& html, const std::string& name = "page.htm");
    // Navigates and waits until the browser is idle.
    void navigate(const std::string& url);
    // Evaluates a script in the page and answers its value as text.
    std::string eval(const std::string& script);
    Rect rect(const std::string& selector);

    // The colour (0xRRGGBB) shown at a point of the view.
    unsigned pixel(double x, double y);
    // Writes an 11 by 11 picture of one colour as a PNG file.
    static void writePicture(const std::string& path, unsigned rgb);

    void press(double x, double y);
    void move(double x, double y);
    void release(double x, double y);
    void click(double x, double y);
    void drag(double x1, double y1, double x2, double y2);
    // Lets the page handle what was sent.
    void settle(int milliseconds = 150);

    std::string folder() const { return m_folder; }

private:
    EngineView();
    std::string releasesSeen();
    void waitForRelease(const std::string& before);

    WebKitWebView* m_view = nullptr;
    ComPtr<webkit::WebKitBrowser> m_browser;
    std::string m_folder;
};

inline EngineView& engine() {
    return EngineView::get();
}

} // namespace enginetest
