// The browser object's navigation, events and failures on the real engine.

#include "EngineView.h"
#include "LoopbackServer.h"

#include "platform/com/ComObject.h"

#include <webkit2/webkit2.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <vector>

using enginetest::engine;
using enginetest::LoopbackServer;
using enginetest::WaitUntil;

namespace {

// Records the events as "Name url" lines.
class Recorder : public com::ComObject<DWebBrowserEvents2> {
public:
    std::vector<std::string> log;
    std::vector<long> progress;
    bool cancelNavigation = false;
    bool cancelNewWindow = false;
    bool cancelError = false;
    std::function<void()> onComplete;
    std::function<void()> onBefore;

    HRESULT BeforeNavigate2(const char* url, const char*, BOOL* cancel) override {
        log.push_back(std::string("BeforeNavigate2 ") + url);
        *cancel = cancelNavigation;
        if (onBefore)
            onBefore();
        return S_OK;
    }
    HRESULT DocumentComplete(const char* url, BOOL top) override {
        log.push_back(std::string(top ? "DocumentComplete " : "FrameComplete ") + url);
        if (top && onComplete)
            onComplete();
        return S_OK;
    }
    HRESULT NewWindow2(const char* url, BOOL* cancel) override {
        log.push_back(std::string("NewWindow2 ") + url);
        *cancel = cancelNewWindow;
        return S_OK;
    }
    HRESULT NavigateError(const char* url, long status, BOOL* cancel) override {
        log.push_back("NavigateError " + std::to_string(status) + " " + url);
        *cancel = cancelError;
        return S_OK;
    }
    HRESULT ProgressChange(long value, long max) override {
        if (max > 0)
            progress.push_back(value);
        return S_OK;
    }

    bool has(const std::string& line) const {
        return std::find(log.begin(), log.end(), line) != log.end();
    }
    size_t indexOf(const std::string& line) const {
        return static_cast<size_t>(std::find(log.begin(), log.end(), line) - log.begin());
    }
};

// Connects a recorder for the length of a test.
struct Connected {
    ComPtr<Recorder> recorder{new Recorder};
    DWORD cookie = 0;
    Connected() { engine().browserObject()->Advise(recorder.get(), &cookie); }
    ~Connected() { engine().browserObject()->Unadvise(cookie); }
    Recorder* operator->() { return recorder.get(); }
};

std::string fileUrl(const std::string& path) {
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    std::string s = uri;
    g_free(uri);
    return s;
}

TEST(EngineNavigation, LocalFileRaisesItsEventsAndEndsIdle) {
    Connected events;
    std::string path = engine().load("<html><body>Local</body></html>", "local.htm");
    std::string url = fileUrl(path);
    EXPECT_EQ(engine().browser().locationURL(), url);
    EXPECT_FALSE(engine().browser().busy());
    ASSERT_TRUE(events->has("BeforeNavigate2 " + url)) << ::testing::PrintToString(events->log);
    ASSERT_TRUE(events->has("DocumentComplete " + url));
    EXPECT_LT(events->indexOf("BeforeNavigate2 " + url),
              events->indexOf("DocumentComplete " + url));
    ASSERT_FALSE(events->progress.empty());
    EXPECT_EQ(events->progress.back(), 10000);
}

TEST(EngineNavigation, HttpPageFramesAndErrorStatus) {
    LoopbackServer server(
        {{"/index.htm", "<html><body><iframe src=\"/frame.htm\"></iframe></body></html>"},
         {"/frame.htm", "<html><body>Inner</body></html>"}});
    Connected events;
    engine().navigate(server.url("/index.htm"));
    EXPECT_EQ(engine().browser().locationURL(), server.url("/index.htm"));
    ASSERT_TRUE(events->has("DocumentComplete " + server.url("/index.htm")))
        << ::testing::PrintToString(events->log);
    ASSERT_TRUE(events->has("FrameComplete " + server.url("/frame.htm")));
    EXPECT_LT(events->indexOf("FrameComplete " + server.url("/frame.htm")),
              events->indexOf("DocumentComplete " + server.url("/index.htm")));
    EXPECT_TRUE(events->has("BeforeNavigate2 " + server.url("/frame.htm")));

    engine().navigate(server.url("/missing.htm"));
    EXPECT_TRUE(events->has("NavigateError 404 " + server.url("/missing.htm")))
        << ::testing::PrintToString(events->log);
}

// A loopback port that listens but never answers, or (closed) refuses.
struct SilentPort {
    int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    int port = 0;
    SilentPort() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(socket, 4);
        socklen_t length = sizeof address;
        getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
    }
    ~SilentPort() { close(); }
    void close() {
        if (socket >= 0)
            ::close(socket);
        socket = -1;
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port) + "/page.htm"; }
};

TEST(EngineNavigation, FailingAddressRaisesNavigateError) {
    Connected events;
    events->cancelError = true;
    SilentPort refused;
    refused.close();
    engine().navigate(refused.url());
    EXPECT_TRUE(events->has("NavigateError 0 " + refused.url()))
        << ::testing::PrintToString(events->log);
    EXPECT_FALSE(engine().browser().busy());
}

TEST(EngineNavigation, CancelledNavigationStaysOnThePage) {
    std::string path = engine().load("<html><body>Stay</body></html>", "stay.htm");
    Connected events;
    events->cancelNavigation = true;
    engine().browser().navigate(engine().folder() + "/elsewhere.htm");
    WaitUntil([&] { return !engine().browser().busy(); }, 3000);
    EXPECT_EQ(engine().browser().locationURL(), fileUrl(path));
    EXPECT_FALSE(engine().browser().busy());
}

TEST(EngineNavigation, NewWindowIsAskedAndCanBeRefused) {
    engine().load("<html><body>Target</body></html>", "target.htm");
    std::string target = engine().browser().locationURL();
    std::string opener = "<html><body><a id=\"l\" href=\"target.htm\" target=\"_blank\">open</a>"
                         "</body></html>";
    std::string path = engine().load(opener, "opener.htm");
    {
        Connected events;
        events->cancelNewWindow = true;
        auto r = engine().rect("#l");
        engine().click(r.centerX(), r.centerY());
        ASSERT_TRUE(WaitUntil([&] { return events->has("NewWindow2 " + target); }, 5000))
            << ::testing::PrintToString(events->log);
        engine().settle(200);
        EXPECT_EQ(engine().browser().locationURL(), fileUrl(path));
    }
    Connected events;
    auto r = engine().rect("#l");
    engine().click(r.centerX(), r.centerY());
    ASSERT_TRUE(WaitUntil([&] { return events->has("DocumentComplete " + target); }, 5000))
        << ::testing::PrintToString(events->log);
}

TEST(EngineNavigation, SinkMayUseTheDocumentInsideDocumentComplete) {
    Connected events;
    std::string title;
    events->onComplete = [&] {
        auto doc = engine().document();
        doc.setDesignMode("On");
        title = doc.title();
    };
    engine().load("<html><head><title>Inside</title></head><body>x</body></html>", "inside.htm");
    EXPECT_EQ(title, "Inside");
    EXPECT_EQ(engine().document().designMode(), "On");
}

TEST(EngineNavigation, SinkMayUseTheLeavingDocumentInsideBeforeNavigate2) {
    engine().load("<html><body><a id=\"l\" href=\"next.htm\">next</a></body></html>", "first.htm");
    std::ofstream(engine().folder() + "/next.htm") << "<html><body>Next</body></html>";
    engine().document().setDesignMode("On");
    Connected events;
    std::string modeSeen;
    events->onBefore = [&] {
        auto doc = engine().document();
        doc.setDesignMode("Off");
        modeSeen = doc.designMode();
    };
    engine().document().setDesignMode("Off");
    auto r = engine().rect("#l");
    engine().click(r.centerX(), r.centerY());
    ASSERT_TRUE(WaitUntil(
        [&] { return events->has("DocumentComplete " + fileUrl(engine().folder() + "/next.htm")); },
        5000))
        << ::testing::PrintToString(events->log);
    EXPECT_EQ(modeSeen, "Off");
}

TEST(EngineNavigation, CallsOnALeftDocumentOrRemovedElementRaiseErrors) {
    engine().load("<html><body><p id=\"p\">Old</p></body></html>", "old.htm");
    auto old = engine().document();
    auto p = old.all().tags("p").item(0);
    engine().eval("document.getElementById('p').remove()");
    try {
        p.innerHTML();
        FAIL() << "no error";
    } catch (const browser::BrowserError& e) {
        EXPECT_STREQ(e.what(), "The element has been removed from the document");
    }
    engine().load("<html><body>New</body></html>", "new.htm");
    try {
        old.title();
        FAIL() << "no error";
    } catch (const browser::BrowserError& e) {
        EXPECT_STREQ(e.what(), "The document is no longer shown in the browser");
    }
    EXPECT_EQ(engine().document().body().innerText(), "New");
}

TEST(EngineNavigation, ASecondViewHasItsOwnBrowserObject) {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    auto* view = WEBKIT_WEB_VIEW(webkit_web_view_new());
    gtk_container_add(GTK_CONTAINER(window), GTK_WIDGET(view));
    gtk_widget_show_all(window);
    {
        browser::Browser second(ComPtr<IWebBrowser2>(webkit::WebKitBrowser::create(view).get()));
        EXPECT_EQ(second.locationURL(), "");
        EXPECT_FALSE(second.busy());
        EXPECT_THROW(second.document(), browser::BrowserError);

        engine().load("<html><head><title>First</title></head><body></body></html>", "one.htm");
        std::string path = engine().folder() + "/two.htm";
        std::ofstream(path) << "<html><head><title>Second</title></head><body></body></html>";
        second.navigate(path);
        ASSERT_TRUE(WaitUntil([&] { return !second.busy(); }));
        EXPECT_EQ(second.document().title(), "Second");
        EXPECT_EQ(engine().document().title(), "First");
    }
    gtk_widget_destroy(window);
}

TEST(EngineNavigation, StopEndsLoading) {
    engine().load("<html><body>x</body></html>", "stop.htm");
    SilentPort silent;
    // Stopped once the engine has begun the load, not just been asked to.
    bool started = false;
    gulong handler =
        g_signal_connect(engine().view(), "load-changed",
                         G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, gpointer flag) {
                             if (event == WEBKIT_LOAD_STARTED)
                                 *static_cast<bool*>(flag) = true;
                         }),
                         &started);
    engine().browser().navigate(silent.url());
    EXPECT_TRUE(WaitUntil([&] { return started; }, 3000));
    g_signal_handler_disconnect(engine().view(), handler);
    EXPECT_TRUE(engine().browser().busy());
    engine().browser().stop();
    EXPECT_TRUE(WaitUntil([&] { return !engine().browser().busy(); }, 3000));
}

// Last in this file: it leaves the page hung until its process is ended.
TEST(EngineNavigation, AHungPageFailsTheCallAfterTheLimitWhileTheLoopRuns) {
    engine().load("<html><body><script>setTimeout(function(){for(;;){}},200);</script></body>"
                  "</html>",
                  "hang.htm");
    auto doc = engine().document();
    engine().settle(400);
    engine().browserObject()->setCallTimeout(std::chrono::milliseconds(1000));
    int ticks = 0;
    guint timer = g_timeout_add(
        50,
        [](gpointer data) -> gboolean {
            ++*static_cast<int*>(data);
            return G_SOURCE_CONTINUE;
        },
        &ticks);
    gint64 start = g_get_monotonic_time();
    EXPECT_THROW(doc.title(), browser::BrowserError);
    gint64 waited = (g_get_monotonic_time() - start) / 1000;
    g_source_remove(timer);
    EXPECT_GE(waited, 900);
    EXPECT_LT(waited, 5000);
    EXPECT_GE(ticks, 10);

    SilentPort silent;
    engine().browser().navigate(silent.url());
    EXPECT_TRUE(WaitUntil([&] { return webkit_web_view_is_loading(engine().view()); }, 3000));
    webkit_web_view_terminate_web_process(engine().view());
    EXPECT_THROW(engine().document(), browser::BrowserError);
    EXPECT_TRUE(WaitUntil([&] { return !engine().browser().busy(); }, 3000));
    engine().browserObject()->setCallTimeout(std::chrono::milliseconds(10000));
    engine().load("<html><head><title>Back</title></head><body></body></html>", "back.htm");
    EXPECT_EQ(engine().document().title(), "Back");
}

} // namespace
