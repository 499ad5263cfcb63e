// The band form's property panels, pictures and links: the handlers of
// their controls and menus, over the tools that do the work.

#include "shell/BandForm.h"

#include "platform/window/Windows.h"
#include "shell/ProcessForms.h"
#include "tools/Colors.h"
#include "tools/Images.h"
#include "tools/Links.h"
#include "tools/SelectionPanels.h"

using shell::ProcessFormSlot;

namespace {

constexpr int kEnter = 13;

forms::Form* processFormModel(ProcessFormSlot slot) {
    forms::FormObject* form = shell::processForm(slot);
    return form ? &form->form() : nullptr;
}

// The target box of the links dialog, or "default" while it has none.
std::string linkDialogTarget() {
    forms::Form* dialog = processFormModel(ProcessFormSlot::Gallery);
    forms::Control* target = dialog ? dialog->find("targetcombo") : nullptr;
    return target ? target->text() : "default";
}

} // namespace

tools::BandParts TBandForm::parts() {
    tools::BandParts band{FBrowser.get(), m_form, FSelectedElement};
    band.trace = [this](const std::string& line) { trace(line); };
    band.pumpMessages = [] { win::ProcessPostedMessages(); };
    band.linkDialog = processFormModel(ProcessFormSlot::Gallery);
    return band;
}

void TBandForm::bindPanelHandlers() {
    auto writeBack = [this](std::initializer_list<const char*> fields, void (TBandForm::*exit)()) {
        for (const char* name : fields) {
            forms::Control& field = m_form[name];
            field.onExit = [this, exit] { (this->*exit)(); };
            field.onKeyDown = [this, exit](int key) {
                if (key == kEnter)
                    (this->*exit)();
            };
        }
    };
    writeBack({"TWidth", "Theight", "tborder", "Tcellspad", "TcellSpa"}, &TBandForm::TWidthExit);
    writeBack({"ialt", "iheight", "ihspace", "iborder", "ivspace", "iwidth", "isrc"},
              &TBandForm::isrcExit);
    m_form["ialign"].onChange = [this] { isrcExit(); };
    m_form["tbackground"].onChange = [this] {
        m_form["Tcouleur"].setText(tools::ColorToHtml(m_form["tbackground"].color()));
        TWidthExit();
    };
    m_form["TBorderColorCombo"].onChange = [this] {
        m_form["TBorderColor"].setText(tools::ColorToHtml(m_form["TBorderColorCombo"].color()));
        TWidthExit();
    };
    m_form["Nobackgroundimage1"].onClick = [this] {
        m_form["TBGImage"].setText("");
        TWidthExit();
    };

    auto pickOnWebsite = [this](uint8_t mode) {
        return [this, mode] { showLinksDialog(true, mode, nullptr); };
    };
    m_form["ToolButton11"].onClick = [this] { m_form["ToolButton11"].dropDown(); };
    m_form["Imagenormal1"].onClick = [this] { insererimage(1, ""); };
    m_form["Imagelayer1"].onClick = pickOnWebsite(3);
    m_form["ToolButton14"].onClick = pickOnWebsite(2);
    m_form["MenuItem2"].onClick = pickOnWebsite(2);
    m_form["MenuItem1"].onClick = [this] { insererimage(0, ""); };
    m_form["MenuItem3"].onClick = pickOnWebsite(5);
    m_form["JvArrowButton1"].onClick = pickOnWebsite(5);
    m_form["MenuItem5"].onClick = [this] { insererimage(4, ""); };

    m_form["ToolButton16"].onClick = [this] { m_form["ToolButton16"].dropDown(); };
    m_form["MenuItem4"].onClick = [this] { showLinksDialog(false, FImageTarget, "TabSheet1"); };
    m_form["Insertemail1"].onClick = [this] {
        showLinksDialog(FGalleryForImage, FImageTarget, "TabSheet2");
    };
    m_form["Removelink1"].onClick = [this] { Removelink1Click(); };
}

void TBandForm::showLinksDialog(bool forImage, uint8_t mode, const char* page) {
    FGalleryForImage = forImage;
    FImageTarget = mode;
    forms::FormObject* dialog = shell::processForm(ProcessFormSlot::Gallery);
    if (!dialog)
        return;
    if (forms::Control* pages = dialog->form().find("PageControl1"); pages && page)
        pages->setActivePage(page);
    dialog->Show();
}

void TBandForm::tableproperties() {
    tools::BandParts band = parts();
    tools::tableproperties(band);
}

void TBandForm::imageproperties() {
    tools::BandParts band = parts();
    tools::imageproperties(band);
}

void TBandForm::TWidthExit() {
    tools::BandParts band = parts();
    tools::TWidthExit(band);
}

void TBandForm::isrcExit() {
    tools::BandParts band = parts();
    tools::isrcExit(band);
}

void TBandForm::insererimage(int mode, const std::string& location) {
    tools::BandParts band = parts();
    tools::ImageTargets targets{*m_pictureDialog, FChosenWidth, FChosenHeight,
                                processFormModel(ProcessFormSlot::PageProperties),
                                processFormModel(ProcessFormSlot::Table)};
    tools::insererimage(band, targets, mode, location);
}

void TBandForm::creerlien(const std::string& address) {
    tools::creerlien(FBrowser.get(), address, linkDialogTarget(), FClickRange);
}

void TBandForm::Removelink1Click() {
    tools::removeLink(FBrowser.get());
}
