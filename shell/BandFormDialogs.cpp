// The band form's side of the page properties and the links and images
// dialogs: the commands that open them and what they hand back.

#include "dialogs/TForm2.h"
#include "dialogs/Ttestform.h"
#include "forms/NotAvailable.h"
#include "shell/BandForm.h"
#include "shell/ProcessForms.h"
#include "tools/Colors.h"

using shell::ProcessFormSlot;

namespace {

dialogs::Ttestform* linksAndImages() {
    return shell::processFormAs<dialogs::Ttestform>(ProcessFormSlot::Gallery);
}

} // namespace

void TBandForm::bindDialogHandlers() {
    // Opens the chooser for a picture that goes where mode says.
    auto chooser = [this](uint8_t mode) {
        return [this, mode] {
            FImageTarget = mode;
            FGalleryForImage = true;
            showLinksAndImages();
        };
    };
    auto bindFree = [this](const char* name, forms::Control::Handler handler) {
        if (!m_form[name].onClick)
            m_form[name].onClick = std::move(handler);
    };
    bindFree("Imagelayer1", chooser(3));
    bindFree("MenuItem2", chooser(2));
    bindFree("MenuItem3", chooser(5));
    bindFree("MenuItem4", [this] {
        FGalleryForImage = false;
        if (auto* dialog = linksAndImages()) {
            dialog->form()["PageControl1"].setActivePage("TabSheet1");
            dialog->Show();
        }
    });
    bindFree("Insertemail1", [] {
        if (auto* dialog = linksAndImages()) {
            dialog->Show();
            dialog->form()["PageControl1"].setActivePage("TabSheet2");
        }
    });
}

void TBandForm::showLinksAndImages() {
    if (auto* dialog = linksAndImages())
        dialog->Show();
}

void TBandForm::setChosenSize(const std::string& width, const std::string& height) {
    FChosenWidth = width;
    FChosenHeight = height;
}

bool TBandForm::linkSelected() const {
    // The click dispatcher does not report links in the page yet.
    return false;
}

void TBandForm::insertPicture(uint8_t mode, const std::string& location) {
    if (mode == 7) {
        if (auto* properties =
                shell::processFormAs<dialogs::TForm2>(ProcessFormSlot::PageProperties))
            properties->form()["backgroundimage"].setText(location);
        return;
    }
    forms::notAvailableYet("Inserting a picture from a web site");
}

void TBandForm::makeLink(const std::string&) {
    forms::notAvailableYet("Making a link");
}

std::string TBandForm::colorToHtml(forms::ColorValue color) {
    return tools::ColorToHtml(color);
}

bool TBandForm::htmlToColor(const std::string& text, forms::ColorValue& color) {
    return tools::HTMLToColor(text, color);
}
