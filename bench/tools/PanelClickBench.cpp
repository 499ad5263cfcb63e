// Times the dispatch of one click (the mouse-up and the click, each running
// the dispatcher) on an image, on a table's border, in a table cell and in
// bold text, in pages of about 1 MB and 5 MB shown in a real web view under
// edit mode. Run it under xvfb-run.

#include "shell/BandForm.h"
#include "shell/ProcessForms.h"
#include "support/BarHost.h"
#include "support/WebViewDriver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

using namespace enginetest;

namespace {

// The objects clicked come first, then filler of bold and plain text,
// links, pictures and tables up to the size.
std::string pageOf(std::size_t bytes) {
    std::string page = "<html><body><p id=\"bold\"><b>Bold words</b> and plain words</p>"
                       "<p><img id=\"img\" src=\"missing.jpg\" width=\"80\" height=\"40\" "
                       "alt=\"a picture\" border=\"0\"></p>"
                       "<table id=\"tab\" border=\"6\" cellpadding=\"3\" width=\"300\" "
                       "bgcolor=\"#00ff00\"><tr><td id=\"cell\">cell text</td></tr></table>\n";
    for (std::size_t i = 0; page.size() < bytes; ++i) {
        std::string n = std::to_string(i);
        page += "<p>Paragraph " + n + " with <b>bold</b>, <a href=\"http://example.org/" + n +
                "\">a link</a> and <img src=\"p" + n +
                ".gif\" width=\"1\" height=\"1\"></p>"
                "<table border=\"1\"><tr><td>" +
                n + "</td><td>more cell text</td></tr></table>\n";
    }
    return page + "</body></html>";
}

struct Figures {
    double median;
    double p90;
};

Figures measure(const std::function<void()>& once, int rounds) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        auto start = std::chrono::steady_clock::now();
        once();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[times.size() * 9 / 10]};
}

void click(BarHost& host, double x, double y) {
    SendMouse(GTK_WIDGET(host.view), Mouse::Move, x, y);
    SendMouse(GTK_WIDGET(host.view), Mouse::Press, x, y);
    SendMouse(GTK_WIDGET(host.view), Mouse::Release, x, y);
    Settle(200);
}

void benchPage(BarHost& host, const std::filesystem::path& folder, std::size_t bytes) {
    std::string path = (folder / ("page" + std::to_string(bytes) + ".htm")).string();
    std::ofstream(path, std::ios::binary) << pageOf(bytes);
    host.navigate("file://" + path, 60000);
    Settle(300);

    TBandForm form(host.barArea);
    form.setBrowser(ComPtr<IWebBrowser2>(host.browser.get()));
    form["designmode"].click();
    WaitUntil([&] { return Evaluate(host.view, "document.designMode") == "on"; });

    struct Target {
        const char* what;
        std::function<void()> select;
    };
    auto at = [&](const char* selector, bool middle) {
        return [&host, selector, middle] {
            Rect r = ElementRect(host.view, selector);
            click(host, middle ? r.centerX() : r.x + 2, r.centerY());
        };
    };
    std::vector<Target> targets = {{"image", at("#img", true)},
                                   {"table border", at("#tab", false)},
                                   {"table cell", at("#cell", false)},
                                   {"bold text", at("#bold b", false)}};
    const int rounds = 40;
    ComPtr<IHTMLDocument2> document;
    host.browser->get_Document(document.put());
    Figures call = measure(
        [&] {
            std::string mode;
            document->get_designMode(&mode);
        },
        rounds);
    std::printf("%-4.1f MB  one call into the page:                median %6.2f ms  p90 %6.2f ms\n",
                bytes / 1e6, call.median, call.p90);
    for (const Target& t : targets) {
        t.select();
        // One click runs the dispatcher twice: mouse-up, then click.
        Figures f = measure(
            [&] {
                form.BrowClick();
                form.BrowClick();
            },
            rounds);
        std::printf("%-4.1f MB  %-13s  dispatch of one click: median %6.2f ms  p90 %6.2f ms  "
                    "(page: %s)\n",
                    bytes / 1e6, t.what, f.median, f.p90,
                    form["PageControl1"].activePage().c_str());
    }
    shell::destroyProcessForms();
}

} // namespace

int main() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tavrisk-panel-bench-XXXXXX").string();
    std::filesystem::path folder = mkdtemp(pattern.data());
    // The program's own files go there too, never into the user's folders.
    setenv("TAVRISK_HOME", folder.c_str(), 1);
    BarHost host;
    for (std::size_t bytes : {std::size_t(1) << 20, std::size_t(5) << 20})
        benchPage(host, folder, bytes);
    std::filesystem::remove_all(folder);
    return 0;
}
