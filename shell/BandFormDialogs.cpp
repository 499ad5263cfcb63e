// The band form's side of the page properties and the links and images
// dialogs: what they reach of it and what they hand back.

#include "shell/BandForm.h"
#include "shell/ProcessForms.h"
#include "tools/Colors.h"
#include "tools/Links.h"

using shell::ProcessFormSlot;

void TBandForm::showLinksAndImages() {
    if (auto* dialog = shell::processForm(ProcessFormSlot::Gallery))
        dialog->Show();
}

void TBandForm::setChosenSize(const std::string& width, const std::string& height) {
    FChosenWidth = width;
    FChosenHeight = height;
}

// The click dispatcher shows a link at the last click by the link button's
// picture.
bool TBandForm::linkSelected() const {
    return m_form["ToolButton16"].picture() == tools::kLinkPresentPicture;
}

void TBandForm::insertPicture(uint8_t mode, const std::string& location) {
    insererimage(mode, location);
}

void TBandForm::makeLink(const std::string& address) {
    creerlien(address);
}

void TBandForm::makeEmailLink(const std::string& address, const std::string& subject) {
    creerlien(tools::mailtoAddress(address, subject));
}

std::string TBandForm::colorToHtml(forms::ColorValue color) {
    return tools::ColorToHtml(color);
}

bool TBandForm::htmlToColor(const std::string& text, forms::ColorValue& color) {
    return tools::HTMLToColor(text, color);
}
