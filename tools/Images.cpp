#include "tools/Images.h"

#include "platform/ui/Dialogs.h"
#include "tools/BrowserCalls.h"
#include "tools/ElementCalls.h"
#include "tools/Formatting.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

namespace tools {

namespace {

constexpr const char* kNotEditable = "Please select an editable part of of the text";

bool objectSelected(IWebBrowser2* browser) {
    ComPtr<IHTMLDocument2> document = currentDocument(browser);
    return selectionType(document.get()) == "Control";
}

bool existingFile(const std::optional<std::string>& path) {
    std::error_code ignored;
    return path && !path->empty() && std::filesystem::is_regular_file(*path, ignored);
}

void setField(forms::Form* form, const char* control, const std::string& text) {
    if (!form)
        return;
    if (forms::Control* field = form->find(control))
        field->setText(text);
}

// Positioned pictures go only where text can be typed.
void insertPositioned(BandParts& band, const std::optional<std::string>& location) {
    if (objectSelected(band.browser)) {
        ui::dialogs().message(kNotEditable, "Error", ui::Icon::Error);
        return;
    }
    if (location)
        pasteHTML(band.browser, positionedImageMarkup(*location));
}

void insertPictureFromDisk(BandParts& band, PictureDialog& dialog) {
    if (!objectSelected(band.browser)) {
        if (std::optional<std::string> path = dialog.run())
            pasteHTML(band.browser, imageMarkup(fileUri(*path)));
        return;
    }
    if (tagOf(band.selected.get()) != "img")
        return;
    std::optional<std::string> path = dialog.run();
    if (!existingFile(path))
        return;
    band.trace("opendialog");
    band.form["isrc"].setText(fileUri(*path));
    isrcExit(band);
}

void insertPictureFromAddress(BandParts& band, const ImageTargets& targets,
                              const std::string& location) {
    ComPtr<IHTMLDocument2> document = currentDocument(band.browser);
    if (selectionType(document.get()) != "Control") {
        pasteHTML(band.browser, imageMarkup(location));
        return;
    }
    band.selected = rangeElement(createRange(document.get()).get());
    if (tagOf(band.selected.get()) != "img")
        return;
    band.form["isrc"].setText(location);
    band.form["iwidth"].setText(targets.chosenWidth);
    band.form["iheight"].setText(targets.chosenHeight);
    isrcExit(band);
}

void setTableBackground(BandParts& band, const std::string& location) {
    band.form["TBGImage"].setText(location);
    TWidthExit(band);
}

} // namespace

std::string fileUri(const std::string& path) {
    std::string uri = "file://";
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            uri += static_cast<char>(c);
        } else {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", c);
            uri += code;
        }
    }
    return uri;
}

std::string imageMarkup(const std::string& location) {
    return "<img src=\"" + location + "\">";
}

std::string positionedImageMarkup(const std::string& location) {
    return "<img src=\"" + location + "\" style=\"POSITION: absolute;\">";
}

std::optional<std::string> PictureDialog::run() {
    ui::FileDialogRequest request;
    request.title = "Insert an image";
    request.initialFolder = m_lastFolder;
    request.pictures = true;
    // The pictures' names are matched in either letter case, as the
    // dialog's patterns were written for a system that ignores it.
    request.filters = {
        {"Tous (*.gif, *.jpeg, *.jpg)", {"*.gif", "*.jpg", "*.jpeg", "*.GIF", "*.JPG", "*.JPEG"}},
        {"CompuServe GIF Image (*.gif)", {"*.gif", "*.GIF"}},
        {"Fichier image JPEG (*.jpg)", {"*.jpg", "*.JPG"}},
        {"Fichier image JPEG (*.jpeg)", {"*.jpeg", "*.JPEG"}},
    };
    std::optional<std::string> chosen = ui::dialogs().openFile(request);
    if (chosen)
        m_lastFolder = std::filesystem::path(*chosen).parent_path().string();
    return chosen;
}

void insererimage(BandParts& band, ImageTargets& targets, int mode, const std::string& location) {
    switch (mode) {
    case 0:
        if (objectSelected(band.browser)) {
            ui::dialogs().message(kNotEditable, "Error", ui::Icon::Error);
            return;
        }
        if (std::optional<std::string> path = targets.dialog.run())
            insertPositioned(band, fileUri(*path));
        return;
    case 1:
        insertPictureFromDisk(band, targets.dialog);
        return;
    case 2:
        insertPositioned(band, location);
        return;
    case 3:
        insertPictureFromAddress(band, targets, location);
        return;
    case 4: {
        std::optional<std::string> path = targets.dialog.run();
        if (existingFile(path))
            setTableBackground(band, fileUri(*path));
        return;
    }
    case 5:
        setTableBackground(band, location);
        return;
    case 7:
        setField(targets.pageProperties, "backgroundimage", location);
        return;
    case 8:
        setField(targets.tableDialog, "TBGImage", location);
        return;
    default:
        return;
    }
}

} // namespace tools
