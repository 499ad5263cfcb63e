#pragma once

#include "tools/SelectionPanels.h"

#include <optional>
#include <string>

// Pictures put into the edited page, as images in the text flow or
// absolutely positioned, as a replacement source of the selected image, or
// as a background image.
namespace tools {

// The address of a local file: "file://" and the absolute path, every byte
// but letters, digits, "-", ".", "_", "~" and "/" percent-encoded. The
// engine shows a picture only from such an address, and publishing looks
// for "file:///" to find the files it uploads.
std::string fileUri(const std::string& path);

// "<img src="location">", and its absolutely positioned form.
std::string imageMarkup(const std::string& location);
std::string positionedImageMarkup(const std::string& location);

// The picture file dialog, with a preview; it opens where the last picture
// was chosen.
class PictureDialog {
public:
    // The chosen file's path; nothing when the user cancels.
    std::optional<std::string> run();

private:
    std::string m_lastFolder;
};

// Where picked pictures go besides the page.
struct ImageTargets {
    PictureDialog& dialog;
    // Width and height of a picture picked in the links and images dialog.
    std::string chosenWidth;
    std::string chosenHeight;
    // The page properties and table dialogs; null when they do not exist.
    forms::Form* pageProperties = nullptr;
    forms::Form* tableDialog = nullptr;
};

// Mode 0: a positioned picture from disk; 1: a picture from disk in the
// text flow, or the selected image's new source; 2 and 3: the same with
// location; 4 and 5: the selected table's background from disk or
// location; 7 and 8: location into the page properties or table dialog's
// background image field. Other modes do nothing.
void insererimage(BandParts& band, ImageTargets& targets, int mode, const std::string& location);

} // namespace tools
