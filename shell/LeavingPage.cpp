#include "shell/LeavingPage.h"

#include "platform/browser/Dom.h"
#include "platform/ui/Dialogs.h"

namespace shell {

bool isFrameOfPage(IWebBrowser2* shown, const std::string& url, const std::string& frame) {
    if (!frame.empty())
        return true;
    try {
        browser::Collection all = browser::Browser(shown).document().all();
        for (const char* tag : {"iframe", "frame"}) {
            browser::Collection frames = all.tags(tag);
            for (long i = 0, n = frames.length(); i < n; ++i)
                if (frames.item(i).getAttribute("src").toText() == url)
                    return true;
        }
    } catch (const std::exception&) {
        // No document to look in: the page itself is moving.
    }
    return false;
}

bool pageIsEdited(IWebBrowser2* shown) {
    try {
        return browser::Browser(shown).document().designMode() == "On";
    } catch (const std::exception&) {
        return false;
    }
}

bool leavingConfirmed() {
    return ui::dialogs().confirmOkCancel(
               "Leave this page? The changes you made to it have not been published "
               "and will be lost.",
               "Warning") == ui::Answer::Ok;
}

} // namespace shell
