#include "BandForm.h"

#include "platform/browser/WebBrowser.h"

#include <exception>

TBandForm::TBandForm(HWND parent) {
    win::Size size = designSize();
    m_handle = win::CreateWindowObject({"TBandForm", "Tavrisk", parent, size.width, size.height});
}

TBandForm::~TBandForm() {
    FormDestroy();
    win::DestroyWindow(m_handle);
}

void TBandForm::setBrowser(ComPtr<IWebBrowser2> browser) {
    FBrowser = std::move(browser);
}

void TBandForm::FormDestroy() {
    // Ends the host's document window loop, as the browser window goes with
    // the bar.
    try {
        HWND frame = win::FindWindow("IEFrame");
        HWND view = frame ? win::FindWindowEx(frame, nullptr, "Shell DocObject View") : nullptr;
        HWND server = view ? win::FindWindowEx(view, nullptr, "Internet Explorer_Server") : nullptr;
        if (server)
            win::PostMessage(server, WM_QUIT, 0, 0);
    } catch (const std::exception&) {
    }
}
