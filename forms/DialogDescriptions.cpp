#include "forms/DialogDescriptions.h"

namespace forms {

namespace {

ControlDesc control(const char* name, Kind kind, const char* parent, const char* caption = "",
                    const char* hint = "") {
    ControlDesc c;
    c.name = name;
    c.kind = kind;
    c.parent = parent;
    c.caption = caption;
    c.hint = hint;
    return c;
}

ControlDesc hidden(ControlDesc c) {
    c.visible = false;
    return c;
}

ControlDesc bold(ControlDesc c) {
    c.bold = true;
    return c;
}

ControlDesc captioned(ControlDesc c) {
    c.showCaption = true;
    return c;
}

ControlDesc sized(ControlDesc c, int height) {
    c.height = height;
    return c;
}

FormDesc buildPageProperties() {
    FormDesc f;
    f.name = "TForm2";
    f.caption = "Page properties";
    f.width = 368;
    f.height = 361;
    f.toolWindow = true;
    f.stayOnTop = true;
    f.sizeable = false;
    auto& c = f.controls;
    c.push_back(control("choiximages", Kind::PopupMenu, ""));
    c.push_back(control("Imagelayer1", Kind::MenuItem, "choiximages",
                        "Insert an image that is on a website"));
    c.push_back(control("Imagenormal1", Kind::MenuItem, "choiximages",
                        "Insert an image that is on my computer"));
    c.push_back(control("Noimage1", Kind::MenuItem, "choiximages", "No image"));

    c.push_back(bold(control("Label1", Kind::Label, "", "Page Title")));
    c.push_back(control("title", Kind::Edit, ""));
    c.push_back(control("Label2", Kind::Label, "", "BackGround Image"));
    ControlDesc arrow = control("JvArrowButton1", Kind::DropDownButton, "", "Choose...");
    arrow.menu = "choiximages";
    arrow.showCaption = true;
    c.push_back(arrow);
    c.push_back(hidden(control("backgroundimage", Kind::Edit, "")));
    c.push_back(control("Label3", Kind::Label, "", "Background color"));
    ControlDesc picker = control("tbackground", Kind::ColorPicker, "");
    picker.color = 0xFFFFFF;
    c.push_back(picker);
    c.push_back(hidden(control("tbackgroundcolor", Kind::Edit, "")));
    c.push_back(control("Label4", Kind::Label, "", "Keywords"));
    c.push_back(sized(control("keywords", Kind::Memo, ""), 70));
    c.push_back(control("Label5", Kind::Label, "", "Description"));
    c.push_back(sized(control("description", Kind::Memo, ""), 70));
    c.push_back(control("Panel1", Kind::Panel, ""));
    c.push_back(control("Button3", Kind::Button, "Panel1", "&Cancel"));
    c.push_back(control("Button2", Kind::Button, "Panel1", "&Ok"));
    return f;
}

void addLinkPage(std::vector<ControlDesc>& c) {
    c.push_back(control("TabSheet1", Kind::Page, "PageControl1", "Link insert"));
    c.push_back(control("ToolBar1", Kind::ToolBar, "TabSheet1"));
    c.push_back(captioned(control("BackBtn", Kind::Button, "ToolBar1", "Back", "Go back")));
    ControlDesc forward =
        captioned(control("ForwardBtn", Kind::Button, "ToolBar1", "Forward", "gGo forward"));
    forward.enabled = false;
    c.push_back(forward);
    c.push_back(captioned(control("StopBtn", Kind::Button, "ToolBar1", "Stop", "Stop")));
    c.push_back(captioned(
        control("RefreshBtn", Kind::Button, "ToolBar1", "Refresh", "Refresh the document")));
    c.push_back(captioned(control("ToolButton1", Kind::Button, "ToolBar1", "Add document")));

    c.push_back(control("CoolBar3", Kind::Panel, "TabSheet1"));
    c.push_back(control("Label1", Kind::Label, "CoolBar3", "Address of the link:"));
    ControlDesc urls =
        control("URLs", Kind::ComboBox, "CoolBar3", "", "Type here the web address.(URL)");
    urls.freeText = true;
    urls.width = 360;
    c.push_back(urls);
    c.push_back(
        control("BitBtn3", Kind::Button, "CoolBar3", "go", "Go to the webpage address (URL)"));

    c.push_back(control("CoolBar5", Kind::Panel, "TabSheet1"));
    c.push_back(
        control("Label2", Kind::Label, "CoolBar5", "Choose the target window for the link :"));
    ControlDesc target = control("targetcombo", Kind::ComboBox, "CoolBar5");
    target.freeText = true;
    target.items = {"default", "New Window", "Top window"};
    c.push_back(target);
    c.push_back(bold(control("BitBtn1", Kind::Button, "CoolBar5", "Insert Link",
                             "Click here to insert the link that points to the web address")));
    c.push_back(control("WebBrowser1", Kind::Browser, "TabSheet1"));
    ControlDesc status = control("StatusBar1", Kind::StatusBar, "TabSheet1");
    status.height = 19;
    status.items = {"", ""};
    status.widths = {80, 200};
    c.push_back(status);
}

void addEmailPage(std::vector<ControlDesc>& c) {
    c.push_back(control("TabSheet2", Kind::Page, "PageControl1", "EMail insert"));
    c.push_back(control("Label3", Kind::Label, "TabSheet2", "Email address"));
    c.push_back(control("email", Kind::Edit, "TabSheet2", "", "Enter here a valid email address"));
    c.push_back(control("Label4", Kind::Label, "TabSheet2", "Subject of the email"));
    c.push_back(
        control("subject", Kind::Edit, "TabSheet2", "", "Enter here the subject of the email"));
    c.push_back(control("SpeedButton1", Kind::Button, "TabSheet2", "Insert email link",
                        "Click here to insert the link that will open the email program with "
                        "defined email destination and subject"));
}

void addImagePage(std::vector<ControlDesc>& c) {
    c.push_back(control("TabSheet3", Kind::Page, "PageControl1", "Image insert"));
    c.push_back(control("Label5", Kind::Label, "TabSheet3",
                        "To choose another pictures, please navigate in the web browser. (use "
                        "the Link insert left TAB of this form)"));
    c.push_back(hidden(control("Panel1", Kind::Panel, "TabSheet3", "Loading images...")));
    c.push_back(control("IE", Kind::Browser, "TabSheet3"));
}

FormDesc buildLinksAndImages() {
    FormDesc f;
    f.name = "Ttestform";
    f.caption = "Links and images";
    f.width = 639;
    f.height = 475;
    f.toolWindow = true;
    f.stayOnTop = true;
    auto& c = f.controls;
    c.push_back(control("PageControl1", Kind::PageControl, ""));
    addLinkPage(c);
    addEmailPage(c);
    addImagePage(c);
    return f;
}

} // namespace

const FormDesc& pagePropertiesDescription() {
    static const FormDesc description = buildPageProperties();
    return description;
}

const FormDesc& linksAndImagesDescription() {
    static const FormDesc description = buildLinksAndImages();
    return description;
}

} // namespace forms
