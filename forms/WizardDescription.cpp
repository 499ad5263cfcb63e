#include "forms/WizardDescription.h"

namespace forms {

namespace {

ControlDesc control(const char* name, Kind kind, const char* parent, const char* caption = "") {
    ControlDesc c;
    c.name = name;
    c.kind = kind;
    c.parent = parent;
    c.caption = caption;
    return c;
}

ControlDesc label(const char* name, const char* parent, const char* caption) {
    return control(name, Kind::Label, parent, caption);
}

ControlDesc edit(const char* name, const char* parent) {
    return control(name, Kind::Edit, parent);
}

void addNewConnectionPages(std::vector<ControlDesc>& c) {
    c.push_back(control("Notebook1", Kind::PageControl, "TabSheet1"));
    c.back().tabsHidden = true;
    for (const char* page : kWizardPages)
        c.push_back(control(page, Kind::Page, "Notebook1", page));

    c.push_back(label("Label1", "page0", "What is the name of your website root ?"));
    c.push_back(edit("siteedit", "page0"));
    c.push_back(label("Label2", "page0", "Enter the address of your website root. "));
    c.push_back(label("Label3", "page0", "ex: http://www.mysite.com"));
    c.push_back(
        label("Label4", "page0", "What is the name of your FTP server ? (do not include ftp://)"));
    c.push_back(edit("ftpserveredit", "page0"));
    c.push_back(
        label("Label5", "page0", "Enter the FTP address (or IP address) of your website. "));
    c.push_back(
        label("Label6", "page0", "ex: ftp.mysite.com, or ftp.mysite.com:2121 for port 2121"));

    c.push_back(label("Label7", "page1", "FTP Login"));
    c.push_back(edit("ftploginedit", "page1"));
    c.push_back(label("Label8", "page1", "Enter the FTP login of your website."));
    c.push_back(label("Label9", "page1", "FTP password"));
    c.push_back(edit("ftppasswordedit", "page1"));
    c.back().password = true;
    c.push_back(label("Label10", "page1", "Entre the FTP password of your website."));

    c.push_back(label("Label11", "page2", "Initial folder name:"));
    c.push_back(control("ftpinitialfolderedit", Kind::ComboBox, "page2"));
    c.back().items = {"", "www", "html", "root"};
    c.back().freeText = true;
    c.push_back(label("Label12", "page2", "Enter here the initial folder of your website. "));
    c.push_back(label("Label13", "page2", "(leave blank if unknown)"));

    c.push_back(label("Label14", "3", "Testing your connection, please wait..."));
    c.push_back(control("ProgressBar1", Kind::WaitingBar, "3"));
    c.back().width = 50;
}

void addNewConnectionButtons(std::vector<ControlDesc>& c) {
    c.push_back(control("Panel1", Kind::Panel, "TabSheet1"));
    c.back().buttonBar = true;
    c.push_back(control("Button3", Kind::Button, "Panel1", "Cancel"));
    c.push_back(control("Button8", Kind::Button, "Panel1", "Save"));
    c.back().visible = false;
    c.push_back(control("Previous", Kind::Button, "Panel1", "<  Previous"));
    c.push_back(control("Netx", Kind::Button, "Panel1", "Next >"));
    c.back().isDefault = true;
    // Placed over "Next >": while it shows, "Next >" cannot be seen.
    c.push_back(control("finished", Kind::Button, "Panel1", "Finished"));
    c.back().visible = false;
    c.back().isDefault = true;
    c.back().covers = "Netx";
}

void addExistingConnections(std::vector<ControlDesc>& c) {
    c.push_back(label("Label15", "TabSheet2", "Choose an existing connection"));
    c.push_back(control("ListBox1", Kind::ListBox, "TabSheet2"));
    c.push_back(control("Panel2", Kind::Panel, "TabSheet2"));
    c.back().buttonBar = true;
    c.push_back(control("Button4", Kind::Button, "Panel2", "Cancel"));
    c.push_back(control("Button1", Kind::Button, "Panel2", "Delete"));
    c.back().enabled = false;
    c.push_back(control("Button6", Kind::Button, "Panel2", "Edit"));
    c.back().enabled = false;
    // Reached by double-clicking a line; never shown.
    c.push_back(control("Button5", Kind::Button, "Panel2", "Use this connection"));
    c.back().enabled = false;
    c.back().visible = false;
}

} // namespace

FormDesc wizardDescription() {
    FormDesc desc = namedForm("Tformwizzard");
    desc.caption = "Configuration wizzard";
    desc.width = 466;
    desc.height = 416;
    desc.topmost = true;
    auto& c = desc.controls;
    c.push_back(label("Panel3", "", "Configuration FTP wizard"));
    c.back().bold = true;
    c.back().color = 0x800000; // navy, where the caption bar's gradient starts
    c.back().height = 25;
    c.push_back(label("Image1", "", "Connect the page you see to the FTP account of its site"));
    c.back().picture = "network-server";
    c.back().height = 50;
    c.push_back(control("PageControl1", Kind::PageControl, ""));
    c.push_back(control("TabSheet1", Kind::Page, "PageControl1", "New connection"));
    c.push_back(control("TabSheet2", Kind::Page, "PageControl1", "Existing connections"));
    addNewConnectionPages(c);
    addNewConnectionButtons(c);
    addExistingConnections(c);
    c.push_back(control("Memo1", Kind::Memo, ""));
    c.back().visible = false;
    return desc;
}

} // namespace forms
