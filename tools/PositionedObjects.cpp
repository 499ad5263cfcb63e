#include "tools/PositionedObjects.h"

#include "connections/TextOps.h"
#include "platform/browser/Dom.h"
#include "platform/ui/Dialogs.h"
#include "tools/BrowserCalls.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace tools {

namespace {

const char* const kPlayerCabinet =
    "https://download.macromedia.com/pub/shockwave/cabs/flash/swflash.cab";
const char* const kPlayerDownloadPage = "https://get.adobe.com/flashplayer/";

} // namespace

const char* const kFreeTextBox =
    "<span style=\"position:absolute;width:200px; height:200px; z-index:1;  visibility: "
    "visible;\">Your text here</span>";

std::string flashObjectMarkup(const std::string& path) {
    const std::string q = "\"";
    const std::string end = "\r\n";
    return "<object classid=" + q + "clsid:D27CDB6E-AE6D-11cf-96B8-444553540000" + q +
           " codebase=" + q + kPlayerCabinet + "#version=6,0,29,0" + q + " width=" + q + "100" + q +
           " height=" + q + "100" + q + ">" + end + "<param name=" + q + "movie" + q +
           " value=" + q + path + q + ">" + end + "<param name=" + q + "quality" + q +
           " value=" + q + "high" + q + ">" + end + "<embed src=" + q + path + q + " quality=" + q +
           "high" + q + " pluginspage=" + q + kPlayerDownloadPage + q + " type=" + q +
           "application/x-shockwave-flash" + q + "></embed>" + end + "</object>" + end;
}

void ToolButton5Click(IWebBrowser2* ie) {
    browser::Document document{currentDocument(ie)};
    if (connections::text::lowerCase(document.selection().type()) == "control")
        return;
    document.selection().createRange().pasteHTML(kFreeTextBox);
}

void insertFlashMovie(IWebBrowser2* ie, const std::string& path) {
    try {
        browser::Document document{currentDocument(ie)};
        document.selection().createRange().pasteHTML(flashObjectMarkup(path));
    } catch (const std::exception&) {
        // With an object selected there is no place for the movie; the
        // button says nothing.
    }
}

std::optional<std::string> OpenDialog2::Execute() {
    ui::FileDialogRequest request;
    request.title = "Insert flash movie";
    request.filters = {{"swf (*.swf)", {"*.swf"}}, {"Tous (*.*)", {"*"}}};
    if (!m_lastFile.empty()) {
        std::filesystem::path last(m_lastFile);
        request.initialFolder = last.parent_path().string();
        request.proposedName = last.filename().string();
    }
    std::optional<std::string> chosen = ui::dialogs().openFile(request);
    if (chosen)
        m_lastFile = *chosen;
    return chosen;
}

} // namespace tools
