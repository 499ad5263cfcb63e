// What one click into the edited page costs the band form: a click reaches
// the form as the document's mouse-up and click events, and each runs the
// click dispatcher, which reads the selection and refreshes the formatting
// toolbar. Measured on a generated page of about 1 MB and one of 5 MB in a
// real web view (run under an X server, e.g. xvfb-run). The same clicks into
// the same page in a bare web view, with none of the program's code, give
// the engine's own share of the time from the release to the toolbar.
//
//   click_dispatch_bench [CLICKS]

#include "platform/webkit/WebKitBrowser.h"
#include "shell/BandForm.h"
#include "shell/BrowserClick.h"
#include "shell/ProcessForms.h"
#include "support/BarHost.h"
#include "support/WebViewDriver.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace enginetest;
using Clock = std::chrono::steady_clock;

namespace {

constexpr const char* kPicture =
    "data:image/gif;base64,R0lGODlhAQABAIAAAP///wAAACH5BAEAAAAALAAAAAABAAEAAAICRAEAOw==";

// Bold and plain text, links, pictures and tables until the page has about
// `bytes` bytes; the elements the benchmark clicks come first.
std::string generatePage(size_t bytes) {
    std::string html = "<html><head><title>Benchmark page</title></head><body>"
                       "<p>Plain start <b id=\"bold\">bold words to click into</b> and "
                       "<span id=\"plain\">plain words to click into</span>.</p>";
    for (int block = 0; html.size() < bytes; ++block) {
        std::string n = std::to_string(block);
        html += "<h2>Section " + n + "</h2><p>Some plain text of section " + n +
                " with <b>bold words</b>, <i>italic words</i> and <a href=\"page" + n +
                ".htm\">a link</a>. A longer plain sentence follows so that the page has "
                "the mix of text a real page has.</p><p><img src=\"" +
                kPicture + "\" width=\"20\" height=\"20\" alt=\"\"> A picture.</p>";
        if (block % 4 == 0)
            html += "<table border=\"1\"><tr><td>cell " + n +
                    "</td><td><b>bold cell</b></td></tr>"
                    "<tr><td>plain</td><td>cell</td></tr></table>";
    }
    return html + "</body></html>";
}

struct Stats {
    double median = 0;
    double p90 = 0;
};

Stats stats(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    auto at = [&](double q) {
        return samples[std::min(samples.size() - 1, static_cast<size_t>(q * samples.size()))];
    };
    return {at(0.5), at(0.9)};
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void sendClick(WebKitWebView* view, const std::string& selector,
               const std::function<void()>& released) {
    Rect r = ElementRect(view, selector);
    double x = r.x + r.width / 3, y = r.centerY();
    SendMouse(GTK_WIDGET(view), Mouse::Move, x, y);
    SendMouse(GTK_WIDGET(view), Mouse::Press, x, y);
    released();
    SendMouse(GTK_WIDGET(view), Mouse::Release, x, y);
}

// A web view of its own in a window of its own, in edit mode, with only a
// click listener that tells the program.
class BareEngine {
public:
    explicit BareEngine(const std::string& path) {
        m_window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_default_size(GTK_WINDOW(m_window), 1000, 800);
        m_view = WEBKIT_WEB_VIEW(webkit_web_view_new());
        gtk_container_add(GTK_CONTAINER(m_window), GTK_WIDGET(m_view));
        WebKitUserContentManager* manager = webkit_web_view_get_user_content_manager(m_view);
        webkit_user_content_manager_register_script_message_handler(manager, "bench");
        g_signal_connect(
            manager, "script-message-received::bench",
            G_CALLBACK(+[](WebKitUserContentManager*, WebKitJavascriptResult*, gpointer self) {
                auto* engine = static_cast<BareEngine*>(self);
                engine->m_clickedAt = Clock::now();
                ++engine->m_clicks;
            }),
            this);
        gtk_widget_show_all(m_window);
        webkit_web_view_load_uri(m_view, ("file://" + path).c_str());
        if (!WaitUntil([&] { return !webkit_web_view_is_loading(m_view); }, 60000))
            throw std::runtime_error("The page did not load in the bare web view");
        Evaluate(m_view, "document.designMode = 'on'; document.addEventListener('click', "
                         "function () { window.webkit.messageHandlers.bench.postMessage(1); }); 1");
    }
    ~BareEngine() { gtk_widget_destroy(m_window); }
    BareEngine(const BareEngine&) = delete;
    BareEngine& operator=(const BareEngine&) = delete;

    // From the release until the page's click handler has told the program.
    double click(const std::string& selector) {
        int before = m_clicks;
        Clock::time_point released;
        sendClick(m_view, selector, [&] { released = Clock::now(); });
        if (!WaitUntil([&] { return m_clicks > before; }, 10000))
            throw std::runtime_error("The bare web view saw no click");
        return std::chrono::duration<double, std::milli>(m_clickedAt - released).count();
    }

private:
    GtkWidget* m_window = nullptr;
    WebKitWebView* m_view = nullptr;
    int m_clicks = 0;
    Clock::time_point m_clickedAt;
};

class Bench {
public:
    Bench() : m_folder(makeFolder()) {}
    ~Bench() {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    void run(const char* name, size_t bytes, int clicks);

private:
    std::string writePage(const std::string& html);
    // The engine's own share of a click's time, in a bare web view.
    Stats bareEngineClicks(const std::string& html, int clicks);
    static std::string makeFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavrisk-bench-XXXXXX");
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("Cannot make a temporary folder");
        setenv("TAVRISK_HOME", pattern.c_str(), 1);
        return pattern;
    }

    void show(const std::string& html);
    Stats lateBoundCall(int calls);
    void breakdown();
    // One click (press and release) at the element; answers the time from
    // the release until both of its dispatches ended.
    double click(const std::string& selector);

    std::string m_folder;
    BarHost m_host;
    std::unique_ptr<TBandForm> m_form;
    int m_dispatches = 0;
    Clock::time_point m_lastDispatchEnd;
    double m_dispatchTime = 0;
};

std::string Bench::writePage(const std::string& html) {
    std::string path = m_folder + "/page.htm";
    std::ofstream(path, std::ios::binary) << html;
    return path;
}

void Bench::show(const std::string& html) {
    std::string path = writePage(html);
    if (!m_host.navigate("file://" + path, 60000))
        throw std::runtime_error("The page did not load");
    m_form = std::make_unique<TBandForm>(m_host.barArea);
    m_form->setBrowser(ComPtr<IWebBrowser2>(m_host.browser.get()));
    (*m_form)["designmode"].setDown(true);
    m_form->designmodeClick();
    if (!m_form->FClickSink)
        throw std::runtime_error("The edit mode did not start");
    // Times every dispatch the form's own sink runs.
    auto dispatch = m_form->FClickSink->OnClick;
    m_form->FClickSink->OnClick = [this, dispatch](TBrowserClick& sink) {
        auto start = Clock::now();
        dispatch(sink);
        m_dispatchTime += millisecondsSince(start);
        m_lastDispatchEnd = Clock::now();
        ++m_dispatches;
    };
}

Stats Bench::lateBoundCall(int calls) {
    ComPtr<IHTMLDocument2> document;
    if (FAILED(m_host.browser->get_Document(document.put())))
        throw std::runtime_error("No document");
    std::vector<double> samples;
    for (int i = 0; i < calls; ++i) {
        browser::Value value;
        auto start = Clock::now();
        document->queryCommandValue("Bold", &value);
        samples.push_back(millisecondsSince(start));
    }
    return stats(samples);
}

double Bench::click(const std::string& selector) {
    int before = m_dispatches;
    Clock::time_point released;
    sendClick(m_host.view, selector, [&] { released = Clock::now(); });
    if (!WaitUntil([&] { return m_dispatches >= before + 2; }, 10000))
        throw std::runtime_error("A click was not dispatched twice (mouse-up and click)");
    return std::chrono::duration<double, std::milli>(m_lastDispatchEnd - released).count();
}

// The calls of the editing layer one by one, with the caret in bold text:
// where the time of a dispatch goes.
void Bench::breakdown() {
    click("#bold");
    const std::vector<std::pair<std::string, std::vector<std::string>>> calls = {
        {"token", {}},
        {"selectionType", {}},
        {"createRange", {}},
        {"query", {"\"Bold\""}},
        {"query", {"\"Underline\""}},
        {"query", {"\"FontName\""}},
        {"query", {"\"fontsize\""}},
        {"query", {"\"ForeColor\""}},
    };
    for (const auto& [op, args] : calls) {
        std::vector<double> samples;
        for (int i = 0; i < 20; ++i) {
            webkit::Answer answer;
            auto start = Clock::now();
            m_host.browser->call(op, "", args, &answer);
            samples.push_back(millisecondsSince(start));
        }
        std::printf("    %-14s %-14s median %7.2f ms\n", op.c_str(),
                    args.empty() ? "" : args[0].c_str(), stats(samples).median);
    }
}

void Bench::run(const char* name, size_t bytes, int clicks) {
    std::string html = generatePage(bytes);
    show(html);

    std::vector<double> boldLatency, plainLatency, boldDispatch;
    size_t roundTrips = 0;
    for (int i = 0; i < clicks; ++i) {
        // Alternating targets, so that no two clicks land on one spot as a
        // double click would.
        m_dispatchTime = 0;
        size_t calls = m_host.browser->callCount();
        boldLatency.push_back(click("#bold"));
        roundTrips = m_host.browser->callCount() - calls;
        boldDispatch.push_back(m_dispatchTime);
        if (!(*m_form)["btnBold"].down())
            throw std::runtime_error("A click into bold text did not show Bold");
        plainLatency.push_back(click("#plain"));
        if ((*m_form)["btnBold"].down())
            throw std::runtime_error("A click into plain text still showed Bold");
    }
    // Once the page has settled from entering edit mode, which on the big
    // page keeps its process busy for a second or two.
    Stats call = lateBoundCall(100);
    Stats latency = stats(boldLatency), dispatch = stats(boldDispatch), plain = stats(plainLatency);
    std::printf("%s page (%zu bytes):\n", name, html.size());
    std::printf("  one late-bound call (queryCommandValue):  median %7.2f ms  p90 %7.2f ms\n",
                call.median, call.p90);
    std::printf("  click into bold text, both dispatches:    median %7.2f ms  p90 %7.2f ms"
                "  (%zu round trips)\n",
                dispatch.median, dispatch.p90, roundTrips);
    std::printf("  click into bold text, release to toolbar: median %7.2f ms  p90 %7.2f ms\n",
                latency.median, latency.p90);
    std::printf("  click into plain text, release to toolbar: median %7.2f ms  p90 %7.2f ms\n",
                plain.median, plain.p90);
    if (std::getenv("TAVRISK_BENCH_BREAKDOWN")) {
        std::printf("  each call of the editing layer:\n");
        breakdown();
    }
    m_form.reset();
    shell::destroyProcessForms();
    Stats bare = bareEngineClicks(html, clicks);
    std::printf("  bare engine, release to the page's click:  median %7.2f ms  p90 %7.2f ms\n",
                bare.median, bare.p90);
    std::fflush(stdout);
}

Stats Bench::bareEngineClicks(const std::string& html, int clicks) {
    BareEngine bare(writePage(html));
    std::vector<double> latency;
    for (int i = 0; i < clicks; ++i) {
        latency.push_back(bare.click("#bold"));
        bare.click("#plain");
    }
    return stats(latency);
}

} // namespace

int main(int argc, char** argv) {
    int clicks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    try {
        Bench bench;
        bench.run("1 MB", 1u << 20, clicks);
        bench.run("5 MB", 5u << 20, clicks);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "click_dispatch_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
