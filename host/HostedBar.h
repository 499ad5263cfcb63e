#pragma once

#include "BarCatalog.h"
#include "BarModule.h"
#include "BarSite.h"

#include <memory>

namespace host {

// One bar shown in a browser window, driven as a browser drives its bars:
// create the band, give it its site, ask for its window and size, show,
// focus and keys, and on close CloseDW, release and unload.
class HostedBar {
public:
    // Raises an error with a clear message when the bar cannot be created.
    HostedBar(const RegisteredBar& bar, HWND barArea, IUnknown* browser,
              BarSite::FocusHandler onFocus);
    ~HostedBar();
    HostedBar(const HostedBar&) = delete;
    HostedBar& operator=(const HostedBar&) = delete;

    const RegisteredBar& description() const { return m_bar; }
    HWND window() const { return m_window; }
    // The height the bar asks for (its minimum height, else its actual one).
    int preferredHeight() const { return m_height; }

    void show(bool visible);
    void activate(bool active);
    bool hasFocus() const;
    // S_FALSE when the host should handle the key itself.
    HRESULT translateKey(MSG& message);

    // Closes the bar and unloads its module when it allows it. Answers
    // CloseDW's result; unloaded() tells whether the module went.
    HRESULT close();
    bool closed() const { return !m_band; }
    // Tries the unload again, once whatever kept the module busy is gone.
    void unloadIfPossible();
    bool unloaded() const { return !m_module || !m_module->loaded(); }

private:
    RegisteredBar m_bar;
    std::unique_ptr<BarModule> m_module;
    ComPtr<BarSite> m_site;
    ComPtr<IDeskBand> m_band;
    HWND m_window = nullptr;
    int m_height = 0;
};

} // namespace host
