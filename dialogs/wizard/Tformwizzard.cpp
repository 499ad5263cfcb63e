#include "dialogs/wizard/Tformwizzard.h"

#include "connections/Tftpparameters.h"
#include "forms/NotAvailable.h"
#include "platform/ui/Dialogs.h"
#include "platform/window/Application.h"

#include <algorithm>
#include <cctype>

namespace dialogs {

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

forms::ControlDesc control(const char* name, forms::Kind kind, const char* parent,
                           const char* caption = "") {
    forms::ControlDesc c;
    c.name = name;
    c.kind = kind;
    c.parent = parent;
    c.caption = caption;
    return c;
}

forms::FormDesc description() {
    using forms::Kind;
    forms::FormDesc desc = forms::namedForm("Tformwizzard");
    desc.caption = "Configuration wizzard";
    desc.width = 466;
    desc.height = 416;
    auto& c = desc.controls;
    c.push_back(control("PageControl1", Kind::PageControl, ""));
    c.push_back(control("TabSheet1", Kind::Page, "PageControl1", "New connection"));
    c.push_back(control("TabSheet2", Kind::Page, "PageControl1", "Existing connections"));
    c.push_back(control("Notebook1", Kind::PageControl, "TabSheet1"));
    for (const char* page : {"page0", "page1", "page2", "3"})
        c.push_back(control(page, Kind::Page, "Notebook1", page));
    c.push_back(control("siteedit", Kind::Edit, "page0"));
    c.push_back(control("ftpserveredit", Kind::Edit, "page0"));
    c.push_back(control("ftploginedit", Kind::Edit, "page1"));
    c.push_back(control("ftppasswordedit", Kind::Edit, "page1"));
    c.push_back(control("ftpinitialfolderedit", Kind::ComboBox, "page2"));
    c.back().items = {"", "www", "html", "root"};
    c.push_back(control("Button3", Kind::Button, "TabSheet1", "Cancel"));
    c.push_back(control("Button8", Kind::Button, "TabSheet1", "Save"));
    c.back().visible = false;
    c.push_back(control("Previous", Kind::Button, "TabSheet1", "<  Previous"));
    c.push_back(control("Netx", Kind::Button, "TabSheet1", "Next >"));
    c.push_back(control("finished", Kind::Button, "TabSheet1", "Finished"));
    c.back().visible = false;
    return desc;
}

} // namespace

Tformwizzard::Tformwizzard() : FormObject(description()) {
    siteedit().setText("http://");
    m_store.afterFormCreate();
}

Tformwizzard::~Tformwizzard() {
    try {
        m_store.beforeFormDestroy();
    } catch (const std::exception& error) {
        // A destructor must not throw; the user still learns that the
        // connections may not have been saved.
        app::ShowException(error);
    }
}

bool Tformwizzard::connectionexiste(const std::string& address) {
    const std::string needle = lower(address) + "/";
    connections::ConnectionLists& lists = m_store.lists();
    lists.equalize();
    for (size_t i = 0; i < lists.count(); ++i) {
        std::string site = lower(lists.siteweb[i]);
        if (!site.empty() && needle.find(site) != std::string::npos) {
            connections::Tftpparameters::current().assign(lists.at(i));
            return true;
        }
    }
    return false;
}

void Tformwizzard::finishedClick() {
    forms::notAvailableYet("Connecting to the site by FTP");
}

void Tformwizzard::init() {
    form()["PageControl1"].setActivePage("TabSheet1");
    form()["Notebook1"].setActivePage("page0");
    form()["Previous"].setEnabled(true);
    form()["Netx"].setEnabled(true);
    form()["finished"].setVisible(false);
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

} // namespace dialogs
