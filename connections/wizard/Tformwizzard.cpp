#include "connections/wizard/Tformwizzard.h"

#include "connections/Tftpparameters.h"
#include "forms/NotAvailable.h"
#include "platform/ui/Dialogs.h"

#include <algorithm>
#include <cctype>

namespace connections {

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

forms::FormDesc description() {
    forms::FormDesc desc = forms::namedForm("Tformwizzard");
    for (const char* name :
         {"siteedit", "ftpserveredit", "ftploginedit", "ftppasswordedit", "ftpinitialfolderedit"}) {
        forms::ControlDesc edit;
        edit.name = name;
        edit.kind = forms::Kind::Edit;
        desc.controls.push_back(edit);
    }
    return desc;
}

} // namespace

Tformwizzard::Tformwizzard() : FormObject(description()) {
    m_store.afterFormCreate();
}

Tformwizzard::~Tformwizzard() {
    try {
        m_store.beforeFormDestroy();
    } catch (const std::exception&) {
    }
}

bool Tformwizzard::connectionexiste(const std::string& address) {
    const std::string needle = lower(address) + "/";
    ConnectionLists& lists = m_store.lists();
    lists.equalize();
    for (size_t i = 0; i < lists.count(); ++i) {
        std::string site = lower(lists.siteweb[i]);
        if (!site.empty() && needle.find(site) != std::string::npos) {
            Tftpparameters::current().assign(lists.at(i));
            return true;
        }
    }
    return false;
}

void Tformwizzard::finishedClick() {
    forms::notAvailableYet("Connecting to the site by FTP");
}

void Tformwizzard::init() {
    // The wizard has no pages yet, so there is no first page to return to.
}

void Tformwizzard::error(const std::string& message) {
    if (FBandForm) {
        FBandForm->setEditButtonDown(false);
        FBandForm->deshabilitetout();
        FBandForm->DesignModeoff();
        FBandForm->disconnectFtp();
    }
    ui::dialogs().message(message, "Warning", ui::Icon::Warning);
}

void Tformwizzard::Show() {
    forms::notAvailableYet("The site wizard");
}

} // namespace connections
