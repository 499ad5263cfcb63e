#pragma once

#include "platform/browser/WebBrowser.h"

#include <optional>
#include <string>

// The free text box, the Flash movie object and the movie file dialog of
// the insertion toolbar.
namespace tools {

// A box of text at an absolute position, which the user then overwrites.
extern const char* const kFreeTextBox;

// The object and embed markup that plays the movie at path (as the file
// dialog gave it), five lines each ended by CR LF.
std::string flashObjectMarkup(const std::string& path);

// Inserts the free text box at the selection; with an object selected it
// does nothing. Errors of the browser end it as errors.
void ToolButton5Click(IWebBrowser2* browser);

// Inserts the Flash object at the selection; a failure to insert (an object
// selected, say) is swallowed and nothing is reported.
void insertFlashMovie(IWebBrowser2* browser, const std::string& path);

// The movie file dialog: it remembers the folder of the last file chosen.
class OpenDialog2 {
public:
    std::optional<std::string> Execute();

private:
    std::string m_lastFile;
};

} // namespace tools
