#pragma once

#include "platform/com/ComObject.h"
#include "platform/com/Interfaces.h"

#include <functional>

namespace host {

// What a bar gets from the host: the window it lives in, focus
// notifications, and the browser through the service provider.
class BarSite final
    : public com::ComObject<IInputObjectSite, IOleWindow, IOleCommandTarget, IServiceProvider> {
public:
    using FocusHandler = std::function<void(IUnknown* object, bool hasFocus)>;

    BarSite(HWND barArea, IUnknown* browser, FocusHandler onFocus);

    HRESULT OnFocusChangeIS(IUnknown* object, BOOL hasFocus) override;
    HRESULT GetWindow(HWND* phwnd) override;
    HRESULT ContextSensitiveHelp(BOOL enterMode) override;
    HRESULT QueryStatus(const GUID* group, ULONG count, OLECMD* cmds, void* text) override;
    HRESULT Exec(const GUID* group, DWORD id, DWORD option, VARIANT* in, VARIANT* out) override;
    HRESULT QueryService(REFGUID service, REFIID riid, void** ppv) override;

private:
    HWND m_barArea;
    ComPtr<IUnknown> m_browser;
    FocusHandler m_onFocus;
};

} // namespace host
