#include "Address.h"
#include "BarCatalog.h"
#include "BarModule.h"
#include "CommandLine.h"
#include "HostWindow.h"
#include "SamplePage.h"
#include "platform/com/Guid.h"
#include "platform/gtk/GtkDialogs.h"
#include "platform/gtk/GtkWindowBackend.h"
#include "platform/places/Places.h"
#include "platform/registry/Registry.h"
#include "platform/ui/Dialogs.h"

#include <filesystem>
#include <gtk/gtk.h>
#include <iostream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

fs::path executableFolder() {
    std::error_code error;
    return fs::read_symlink("/proc/self/exe", error).parent_path();
}

// The module installed beside the program: in a build tree and installed.
std::optional<fs::path> moduleBesideProgram() {
    const fs::path folder = executableFolder();
    for (const fs::path& candidate :
         {folder / ".." / "bandhost" / "libTavriskToolbarre.so",
          folder / ".." / "lib" / "tavrisk" / "libTavriskToolbarre.so"}) {
        std::error_code error;
        if (fs::exists(candidate, error))
            return fs::canonical(candidate, error);
    }
    return std::nullopt;
}

int runRegistration(const host::CommandLine& line) {
    bool registering = line.action == host::CommandLine::Action::Register;
    // A damaged registry file is reported by name before the module runs.
    registry::Registry::user().keyExists(registry::Root::ClassesRoot, "CLSID");
    host::BarModule module(fs::absolute(line.module).string());
    HRESULT result = registering ? module.registerServer() : module.unregisterServer();
    std::cout << (registering ? "DllRegisterServer: " : "DllUnregisterServer: ")
              << host::describeResult(result) << '\n';
    return result == S_OK ? 0 : 1;
}

int listBars() {
    for (const host::RegisteredBar& bar : host::registeredBars())
        std::cout << com::guidToString(bar.clsid) << '\t' << bar.caption << '\t' << bar.modulePath
                  << '\n';
    return 0;
}

std::vector<host::RegisteredBar> barsRegisteringTheOwnModule() {
    auto bars = host::registeredBars();
    if (!bars.empty())
        return bars;
    if (auto module = moduleBesideProgram()) {
        host::BarModule(module->string()).registerServer();
        bars = host::registeredBars();
    }
    return bars;
}

// The sample page is edited as a copy, never where the program keeps it.
std::string startPage() {
    try {
        return host::addressFromInput(
            host::samplePageCopy(places::shareFolder() / "start.htm", places::dataFolder())
                .string());
    } catch (const std::exception& error) {
        std::cerr << "tavrisk: " << error.what() << '\n';
        return "about:blank";
    }
}

int browse(const host::CommandLine& line, int argc, char** argv) {
    std::string error;
    std::string address =
        line.address.empty() ? startPage() : host::addressFromArgument(line.address, error);
    if (address.empty()) {
        std::cerr << "tavrisk: " << error << '\n';
        return 1;
    }
    gtk_init(&argc, &argv);
    gtkplatform::GtkDialogs dialogs;
    ui::ScopedDialogs installed(dialogs);
    gtkplatform::GtkWindowBackend backend([](int) {
        if (gtk_main_level() > 0)
            gtk_main_quit();
    });
    win::SetBackend(&backend);
    {
        host::HostWindow window(backend, barsRegisteringTheOwnModule());
        window.setOnClosed([] {
            if (gtk_main_level() > 0)
                gtk_main_quit();
        });
        for (size_t i = 0; i < window.barCount(); ++i)
            window.setBarVisible(i, true);
        window.navigate(address);
        gtk_main();
    }
    win::SetBackend(nullptr);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    auto line = host::parseCommandLine(args, error);
    if (!line) {
        std::cerr << "tavrisk: " << error << '\n' << host::kUsage;
        return 2;
    }
    try {
        switch (line->action) {
        case host::CommandLine::Action::Help:
            std::cout << host::kUsage;
            return 0;
        case host::CommandLine::Action::ListBars:
            return listBars();
        case host::CommandLine::Action::Register:
        case host::CommandLine::Action::Unregister:
            return runRegistration(*line);
        case host::CommandLine::Action::Browse:
            return browse(*line, argc, argv);
        }
    } catch (const std::exception& e) {
        std::cerr << "tavrisk: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
