#pragma once

// The browser object a bar receives from its site, and the sink of its
// navigation events. Texts cross as UTF-8; every method returns an HRESULT
// and never throws. A failing call leaves its reason in browser::LastError()
// (ErrorInfo.h), which the C++ layer turns into an exception.

#include "platform/com/Interfaces.h"

#include <string>

struct IHTMLDocument2;

// Events of one browser, delivered on the main thread.
struct DWebBrowserEvents2 : IUnknown {
    TAVRISK_DECLARE_IID(0x34A715A0, 0x6587, 0x11D0, 0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D)
    // Before any navigation of the page or of one of its frames; setting
    // *cancel stops it. targetFrame is "" for the top page.
    virtual HRESULT BeforeNavigate2(const char* url, const char* targetFrame, BOOL* cancel) = 0;
    // When a document has loaded: each frame first, then the top page
    // (isTopLevel TRUE).
    virtual HRESULT DocumentComplete(const char* url, BOOL isTopLevel) = 0;
    // The page asks for a new window (target="_blank", window.open). Setting
    // *cancel opens nothing; otherwise the address is shown in this browser.
    virtual HRESULT NewWindow2(const char* url, BOOL* cancel) = 0;
    // A navigation failed; statusCode is the HTTP status, or 0 when no
    // answer came. Setting *cancel suppresses the error page.
    virtual HRESULT NavigateError(const char* url, long statusCode, BOOL* cancel) = 0;
    // Loading progress as progress out of progressMax.
    virtual HRESULT ProgressChange(long progress, long progressMax) = 0;
};

struct IWebBrowser2 : IUnknown {
    TAVRISK_DECLARE_IID(0xD30C1661, 0xCDAF, 0x11D0, 0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E)
    // The document shown now; fetch it at every use, an earlier one stops
    // answering once the browser has moved on.
    virtual HRESULT get_Document(IHTMLDocument2** document) = 0;
    // "file://", "http://" or "about:" forms; "" before any navigation.
    virtual HRESULT get_LocationURL(std::string* url) = 0;
    // TRUE while a navigation is loading.
    virtual HRESULT get_Busy(BOOL* busy) = 0;
    // A location or a local path (made a file address); loading starts and
    // the events follow. The optional arguments of the original are empty.
    virtual HRESULT Navigate(const char* url) = 0;
    virtual HRESULT Navigate2(const char* url) = 0;
    virtual HRESULT Stop() = 0;

    // Connects an event sink; the cookie disconnects it. A sink may be
    // unadvised from inside one of its own events.
    virtual HRESULT Advise(DWebBrowserEvents2* sink, DWORD* cookie) = 0;
    virtual HRESULT Unadvise(DWORD cookie) = 0;
};
