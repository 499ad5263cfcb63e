#include "tools/Glyphs.h"

#include "platform/places/Places.h"
#include "tools/BrowserCalls.h"

#include <filesystem>
#include <system_error>

namespace tools {

namespace {

constexpr const char* kPictures[] = {"br.gif", "linkpetit.gif", "imagepetit.gif", "tablepetit.gif"};
constexpr const char* kTags[] = {"br", "a", "img", "table"};

void installPictures(const std::filesystem::path& folder) {
    std::filesystem::path shipped = places::shareFolder() / "glyphs";
    for (const char* picture : kPictures) {
        std::error_code ignored;
        if (!std::filesystem::exists(folder / picture, ignored))
            std::filesystem::copy_file(shipped / picture, folder / picture, ignored);
    }
}

} // namespace

std::string glyphDirectory() {
    std::filesystem::path folder = places::dataFolder();
    installPictures(folder);
    return places::withTrailingSlash(folder);
}

std::vector<std::string> glyphEntries(const std::string& directory) {
    std::vector<std::string> entries;
    for (size_t i = 0; i < std::size(kPictures); ++i)
        entries.push_back(std::string("%%") + kTags[i] + "^^%%" + directory + kPictures[i] +
                          "^^%%0^^%%3^^%%3^^%%4^^%%11^^%%11^^%%11^^%%11^^**");
    return entries;
}

void montrerglyph(IWebBrowser2* browser, const std::function<void(const std::string&)>& trace) {
    std::string directory = glyphDirectory();
    if (trace)
        trace("chemin=" + directory);
    ComPtr<IHTMLDocument2> document = currentDocument(browser);
    // The editor's own answers are not looked at, as a missing picture only
    // shows as a missing image.
    document->Exec(&CGID_MSHTML, IDM_SHOWZEROBORDERATDESIGNTIME, browser::Value(true));
    for (const std::string& entry : glyphEntries(directory))
        document->Exec(&CGID_MSHTML, IDM_ADDTOGLYPHTABLE, browser::Value(entry));
}

void cacherglyph(IWebBrowser2* browser) {
    ComPtr<IHTMLDocument2> document = currentDocument(browser);
    document->Exec(&CGID_MSHTML, IDM_EMPTYGLYPHTABLE, browser::Value(true));
    document->Exec(&CGID_MSHTML, IDM_SHOWZEROBORDERATDESIGNTIME, browser::Value(false));
}

} // namespace tools
