#pragma once

#include "platform/com/Unknown.h"
#include "platform/window/Windows.h"

struct IWebBrowser2;

// The bar's window. It is created borderless as a child of the host's bar
// area and reaches the page through the browser the band hands it.
class TBandForm {
public:
    explicit TBandForm(HWND parent);
    ~TBandForm();
    TBandForm(const TBandForm&) = delete;
    TBandForm& operator=(const TBandForm&) = delete;

    // The client size the form is designed with.
    static win::Size designSize() { return {1016, 197}; }

    HWND Handle() const { return m_handle; }
    void setBrowser(ComPtr<IWebBrowser2> browser);
    IWebBrowser2* browser() const { return FBrowser.get(); }

private:
    void FormDestroy();

    HWND m_handle = nullptr;
    ComPtr<IWebBrowser2> FBrowser;
};
