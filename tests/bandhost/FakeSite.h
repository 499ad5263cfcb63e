#pragma once

#include "platform/com/ComObject.h"
#include "platform/com/Interfaces.h"

#include <vector>

// A bar site as a host gives one: it answers the focus notifications, its
// window, and the browser through its service provider.
class FakeSite final
    : public com::ComObject<IInputObjectSite, IOleWindow, IOleCommandTarget, IServiceProvider> {
public:
    FakeSite(HWND window, IUnknown* browser) : m_window(window), m_browser(browser) {}

    std::vector<BOOL> focusChanges;
    IUnknown* lastFocusObject = nullptr;

    HRESULT OnFocusChangeIS(IUnknown* object, BOOL hasFocus) override {
        lastFocusObject = object;
        focusChanges.push_back(hasFocus);
        return S_OK;
    }
    HRESULT GetWindow(HWND* phwnd) override {
        *phwnd = m_window;
        return S_OK;
    }
    HRESULT ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT QueryStatus(const GUID*, ULONG, OLECMD*, void*) override { return E_NOTIMPL; }
    HRESULT Exec(const GUID*, DWORD, DWORD, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    HRESULT QueryService(REFGUID service, REFIID riid, void** ppv) override {
        *ppv = nullptr;
        if (service != SID_SWebBrowserApp || !m_browser)
            return E_NOINTERFACE;
        return m_browser->QueryInterface(riid, ppv);
    }

private:
    HWND m_window;
    IUnknown* m_browser;
};
