#include "BarSite.h"

namespace host {

BarSite::BarSite(HWND barArea, IUnknown* browser, FocusHandler onFocus)
    : m_barArea(barArea), m_browser(browser), m_onFocus(std::move(onFocus)) {}

HRESULT BarSite::OnFocusChangeIS(IUnknown* object, BOOL hasFocus) {
    if (m_onFocus)
        m_onFocus(object, hasFocus != FALSE);
    return S_OK;
}

HRESULT BarSite::GetWindow(HWND* phwnd) {
    if (!phwnd)
        return E_POINTER;
    *phwnd = m_barArea;
    return S_OK;
}

HRESULT BarSite::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}

HRESULT BarSite::QueryStatus(const GUID*, ULONG, OLECMD*, void*) {
    return E_NOTIMPL;
}

HRESULT BarSite::Exec(const GUID*, DWORD, DWORD, VARIANT*, VARIANT*) {
    return E_NOTIMPL;
}

HRESULT BarSite::QueryService(REFGUID service, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (service != SID_SWebBrowserApp || !m_browser)
        return E_NOINTERFACE;
    return m_browser->QueryInterface(riid, ppv);
}

} // namespace host
