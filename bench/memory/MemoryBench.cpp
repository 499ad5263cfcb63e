// Measures the memory the program takes with all its processes (the
// program and the engine's web and network processes): the proportional set
// size (PSS) from /proc/PID/smaps_rollup, which shares each page among the
// processes that map it, so that the sum is what the program costs.
//
// It runs the program's own window and bar in this process, opens the
// sample page, presses "Edit site" and measures; then it opens the links and
// images dialog for a picture, browses its link page to the sample page (so
// that both of its browsers show a page) and measures again. With
// --unrelated the views are made as separate views, each with a web process
// of its own: run without arguments, it runs that peer in a second process
// and prints both.

#include "host/BarModule.h"
#include "host/HostWindow.h"
#include "platform/browser/BrowserFactory.h"
#include "platform/gtk/GtkWindowBackend.h"
#include "platform/places/Places.h"
#include "platform/registry/Registry.h"
#include "platform/webkit/WebKitBrowser.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct ProcessMemory {
    int pid = 0;
    std::string name;
    long pssKiB = 0;
    long privateKiB = 0; // pages no other process maps, whoever else runs
};

std::string firstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

int parentOf(int pid) {
    // "pid (name) state ppid ...": the name may hold blanks and parentheses.
    std::string stat = firstLine("/proc/" + std::to_string(pid) + "/stat");
    size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream rest(stat.substr(close + 2));
    char state;
    int ppid = -1;
    rest >> state >> ppid;
    return ppid;
}

ProcessMemory memoryOf(int pid) {
    ProcessMemory p;
    p.pid = pid;
    p.name = firstLine("/proc/" + std::to_string(pid) + "/comm");
    std::ifstream in("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string key;
    while (in >> key) {
        long value = 0;
        if (key == "Pss:" && in >> value)
            p.pssKiB = value;
        else if ((key == "Private_Clean:" || key == "Private_Dirty:") && in >> value)
            p.privateKiB += value;
        in.ignore(1 << 20, '\n');
    }
    return p;
}

// This process and all its descendants.
std::vector<ProcessMemory> measure() {
    std::map<int, int> parents;
    if (DIR* proc = opendir("/proc")) {
        while (dirent* entry = readdir(proc)) {
            int pid = std::atoi(entry->d_name);
            if (pid > 0)
                parents[pid] = parentOf(pid);
        }
        closedir(proc);
    }
    std::vector<int> family{getpid()};
    for (size_t i = 0; i < family.size(); ++i)
        for (const auto& [pid, parent] : parents)
            if (parent == family[i])
                family.push_back(pid);
    std::vector<ProcessMemory> result;
    for (int pid : family)
        result.push_back(memoryOf(pid));
    return result;
}

void report(const std::string& label, const std::vector<ProcessMemory>& processes) {
    long total = 0, unshared = 0;
    std::string parts;
    for (const ProcessMemory& p : processes) {
        total += p.pssKiB;
        unshared += p.privateKiB;
        char part[96];
        std::snprintf(part, sizeof part, "%s%s %.1f", parts.empty() ? "" : ", ", p.name.c_str(),
                      p.pssKiB / 1024.0);
        parts += part;
    }
    std::printf("%-48s %6.1f MiB PSS, %6.1f MiB private, %zu processes (PSS: %s)\n", label.c_str(),
                total / 1024.0, unshared / 1024.0, processes.size(), parts.c_str());
    std::fflush(stdout);
}

bool waitFor(const std::function<bool()>& condition, int seconds = 30) {
    gint64 end = g_get_monotonic_time() + gint64(seconds) * 1000000;
    while (!condition()) {
        if (g_get_monotonic_time() > end)
            return false;
        g_main_context_iteration(nullptr, FALSE);
        g_usleep(2000);
    }
    return true;
}

// Lets the engine finish its work (layout, decoding, collection) before a
// measurement.
void settle(int milliseconds) {
    gint64 end = g_get_monotonic_time() + gint64(milliseconds) * 1000;
    while (g_get_monotonic_time() < end) {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        g_usleep(5000);
    }
}

template <typename Match> GtkWidget* findWidget(GtkWidget* widget, Match match) {
    if (match(widget))
        return widget;
    if (!GTK_IS_CONTAINER(widget))
        return nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    GtkWidget* found = nullptr;
    for (GList* c = children; c && !found; c = c->next)
        found = findWidget(GTK_WIDGET(c->data), match);
    g_list_free(children);
    return found;
}

GtkWidget* toolButtonLabelled(GtkWidget* root, const std::string& label) {
    return findWidget(root, [&](GtkWidget* w) {
        if (!GTK_IS_TOOL_BUTTON(w))
            return false;
        GtkWidget* shown = gtk_tool_button_get_label_widget(GTK_TOOL_BUTTON(w));
        return shown && GTK_IS_LABEL(shown) && label == gtk_label_get_text(GTK_LABEL(shown));
    });
}

// Activates the first entry captioned label of the bar's drop-down menus.
bool activateMenuEntry(GtkWidget* root, const std::string& label) {
    GtkWidget* entry = nullptr;
    findWidget(root, [&](GtkWidget* w) {
        if (!GTK_IS_MENU_TOOL_BUTTON(w))
            return false;
        GtkWidget* menu = gtk_menu_tool_button_get_menu(GTK_MENU_TOOL_BUTTON(w));
        GList* items = gtk_container_get_children(GTK_CONTAINER(menu));
        for (GList* i = items; i && !entry; i = i->next)
            if (GTK_IS_MENU_ITEM(i->data) &&
                label == gtk_menu_item_get_label(GTK_MENU_ITEM(i->data)))
                entry = GTK_WIDGET(i->data);
        g_list_free(items);
        return entry != nullptr;
    });
    if (entry)
        gtk_menu_item_activate(GTK_MENU_ITEM(entry));
    return entry != nullptr;
}

GtkWidget* topLevelTitled(const std::string& title) {
    GList* windows = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* w = windows; w && !found; w = w->next) {
        const char* t = gtk_window_get_title(GTK_WINDOW(w->data));
        if (t && title == t && gtk_widget_get_visible(GTK_WIDGET(w->data)))
            found = GTK_WIDGET(w->data);
    }
    g_list_free(windows);
    return found;
}

// The peer: every form browser a view with a web process of its own.
class SeparateViewFactory final : public browser::BrowserFactory {
public:
    browser::EmbeddedBrowser create() override {
        WebKitWebView* view = WEBKIT_WEB_VIEW(webkit_web_view_new());
        return {ComPtr<IWebBrowser2>(webkit::WebKitBrowser::create(view).get()), view};
    }
};

// Several looks, a second apart, once the engine has settled: the engine
// frees and grows its caches as it goes, so the median is the figure.
std::vector<ProcessMemory> measureSettled() {
    settle(3000);
    std::vector<std::vector<ProcessMemory>> looks;
    for (int i = 0; i < 5; ++i) {
        looks.push_back(measure());
        settle(1000);
    }
    auto total = [](const std::vector<ProcessMemory>& look) {
        long sum = 0;
        for (const ProcessMemory& p : look)
            sum += p.pssKiB;
        return sum;
    };
    std::sort(looks.begin(), looks.end(),
              [&](const auto& a, const auto& b) { return total(a) < total(b); });
    return looks[looks.size() / 2];
}

int fail(const char* what) {
    std::fprintf(stderr, "memory_bench: %s\n", what);
    return 1;
}

int run(bool related) {
    std::string home = (fs::temp_directory_path() / "tavrisk-bench-XXXXXX").string();
    setenv("TAVRISK_HOME", mkdtemp(home.data()), 1);
    if (!gtk_init_check(nullptr, nullptr))
        return fail("no display: run it under xvfb-run");
    gtkplatform::GtkWindowBackend backend{[](int) {}};
    win::SetBackend(&backend);
    registry::Registry::resetUser();
    if (host::BarModule(fs::canonical(TAVRISK_MODULE_PATH).string()).registerServer() != S_OK)
        return fail("the module does not register");

    int status = 0;
    {
        host::HostWindow window(backend, host::registeredBars());
        SeparateViewFactory separate;
        if (!related)
            browser::setBrowserFactory(&separate);
        window.setBarVisible(0, true);
        std::string page = "file://" + (places::shareFolder() / "start.htm").string();
        window.navigate(page);
        auto idle = [&](IWebBrowser2* b) {
            BOOL busy = TRUE;
            b->get_Busy(&busy);
            return !busy;
        };
        GtkWidget* bar = gtkplatform::GtkWindowBackend::widget(window.bar(0)->window());
        GtkWidget* editSite = toolButtonLabelled(bar, "Edit site");
        if (!waitFor([&] { return idle(window.browser()); }) || !editSite)
            return fail("the sample page or the bar did not come");
        gtk_toggle_tool_button_set_active(GTK_TOGGLE_TOOL_BUTTON(editSite), TRUE);
        if (!waitFor([&] { return toolButtonLabelled(bar, "Publish") != nullptr; }))
            return fail("edit mode did not start");
        report(std::string(related ? "related views" : "separate views") +
                   ": sample page in edit mode",
               measureSettled());

        if (!activateMenuEntry(bar, "Insert an image that is on a website"))
            return fail("no image menu");
        GtkWidget* dialog = nullptr;
        if (!waitFor([&] { return (dialog = topLevelTitled("Links and images")) != nullptr; }))
            return fail("the links and images dialog did not open");
        GtkWidget* address = findWidget(dialog, [](GtkWidget* w) { return GTK_IS_ENTRY(w); });
        gtk_entry_set_text(GTK_ENTRY(address), page.c_str());
        g_signal_emit_by_name(address, "activate");
        report(std::string(related ? "related views" : "separate views") +
                   ": with the links and images dialog open",
               measureSettled());
        window.close();
        browser::setBrowserFactory(nullptr);
        settle(200);
    }
    win::SetBackend(nullptr);
    fs::remove_all(getenv("TAVRISK_HOME"));
    return status;
}

} // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--related")
        return run(true);
    if (mode == "--unrelated")
        return run(false);
    // Each variant in a fresh process of its own, so that neither inherits
    // the other's engine processes.
    std::string self = fs::read_symlink("/proc/self/exe").string();
    for (const char* variant : {"--unrelated", "--related"}) {
        pid_t child = fork();
        if (child == 0) {
            execl(self.c_str(), self.c_str(), variant, static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return 1;
    }
    return 0;
}
