#pragma once

#include "platform/browser/WebBrowser.h"

#include <functional>
#include <string>
#include <vector>

// The tag glyphs and zero-border outlines of the editor.
namespace tools {

// The folder of the glyph pictures, with a trailing "/". The pictures
// shipped with the program are copied there when missing.
std::string glyphDirectory();

// The four glyph-table entries, for the line break, link, image and table
// tags, each naming its picture in directory.
std::vector<std::string> glyphEntries(const std::string& directory);

// Shows the outlines and fills the glyph table; trace receives the
// directory line.
void montrerglyph(IWebBrowser2* browser, const std::function<void(const std::string&)>& trace);
// Empties the glyph table and hides the outlines.
void cacherglyph(IWebBrowser2* browser);

} // namespace tools
