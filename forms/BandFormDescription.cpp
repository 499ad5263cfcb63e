#include "forms/BandFormDescription.h"

namespace forms {

namespace {

ControlDesc tool(const char* name, const char* parent, const char* hint, const char* picture,
                 const char* caption, bool enabled = false) {
    ControlDesc c;
    c.name = name;
    c.kind = Kind::Button;
    c.parent = parent;
    c.hint = hint;
    c.picture = picture;
    c.caption = caption;
    c.enabled = enabled;
    return c;
}

ControlDesc of(Kind kind, ControlDesc c) {
    c.kind = kind;
    return c;
}

ControlDesc withMenu(ControlDesc c, const char* menu) {
    c.kind = Kind::DropDownButton;
    c.menu = menu;
    return c;
}

ControlDesc grouped(ControlDesc c, int group) {
    c.kind = Kind::CheckButton;
    c.groupIndex = group;
    c.allowAllUp = true;
    return c;
}

ControlDesc separator(const char* name, const char* parent) {
    ControlDesc c;
    c.name = name;
    c.kind = Kind::Separator;
    c.parent = parent;
    return c;
}

ControlDesc container(const char* name, Kind kind, const char* parent, const char* caption = "") {
    ControlDesc c;
    c.name = name;
    c.kind = kind;
    c.parent = parent;
    c.caption = caption;
    return c;
}

ControlDesc menuItem(const char* name, const char* menu, const char* caption, bool enabled = true) {
    ControlDesc c = container(name, Kind::MenuItem, menu, caption);
    c.enabled = enabled;
    return c;
}

void addEditBar(std::vector<ControlDesc>& c) {
    ControlDesc bar = container("tlb_Edit", Kind::ToolBar, "CoolBar1");
    bar.height = 27;
    c.push_back(bar);

    ControlDesc designmode =
        tool("designmode", "tlb_Edit", "Press here to edit the document", "", "Edit site", true);
    designmode.kind = Kind::SpeedButton;
    designmode.groupIndex = 1;
    designmode.allowAllUp = true;
    designmode.showCaption = true;
    designmode.bold = true;
    designmode.handCursor = true;
    c.push_back(designmode);
    c.push_back(separator("tlb_EditSep1", "tlb_Edit"));
    c.push_back(withMenu(tool("btnNew", "tlb_Edit",
                              "New document\r\n(local document if not connected or remote "
                              "document if connected)",
                              "document-new", "New", true),
                         "popupstartnewpage"));
    ControlDesc pi =
        grouped(tool("pi", "tlb_Edit", "Show glyph picture", "view-reveal-symbolic", "Glyphs"), 2);
    c.push_back(pi);
    c.push_back(
        tool("ToolButton23", "tlb_Edit", "Page properties", "document-properties", "Properties"));
    c.push_back(tool("btnOpen", "tlb_Edit", "Open a new document", "document-open", "Open"));
    c.push_back(tool("btnSave", "tlb_Edit", "Save the document", "document-save", "Save"));
    // Shown only while a page is being sent to the site.
    ControlDesc cancel = tool("btnCancelUpload", "tlb_Edit", "Stop sending the page to the site",
                              "process-stop", "Cancel");
    cancel.visible = false;
    cancel.showCaption = true;
    c.push_back(cancel);
    c.push_back(tool("ToolButton8", "tlb_Edit", "FTP parameters", "network-server", "FTP", true));
    c.push_back(separator("tlb_EditSep2", "tlb_Edit"));
    c.push_back(tool("btnPrint", "tlb_Edit", "Print the document", "document-print", "Print"));
    c.push_back(separator("tlb_EditSep3", "tlb_Edit"));
    c.push_back(tool("btnCut", "tlb_Edit", "Cut", "edit-cut", "Cut"));
    c.push_back(tool("btnCopy", "tlb_Edit", "Copy", "edit-copy", "Copy"));
    c.push_back(tool("btnPaste", "tlb_Edit", "Paste", "edit-paste", "Paste"));
    c.push_back(separator("tlb_EditSep4", "tlb_Edit"));
    c.push_back(tool("btnUndo", "tlb_Edit", "Undo change", "edit-undo", "Undo"));
    c.push_back(tool("btnRedo", "tlb_Edit", "Redo change", "edit-redo", "Redo"));
}

void addInsertBar(std::vector<ControlDesc>& c) {
    ControlDesc bar = container("ToolBar4", Kind::ToolBar, "CoolBar1");
    bar.height = 29;
    c.push_back(bar);
    c.push_back(
        withMenu(tool("ToolButton11", "ToolBar4", "Insert an aligned image. (relative position)",
                      "insert-image", "Image"),
                 "PopupMenuImagefixe"));
    c.push_back(withMenu(tool("ToolButton16", "ToolBar4",
                              "Insert an HyperLink from the web or a document from your PC",
                              "insert-link", "Link"),
                         "PopupMenulink"));
    c.push_back(tool("ToolButton5", "ToolBar4",
                     "Insert free moveable text. (absolute position).\r\nYou can move and drag "
                     "the text position.",
                     "insert-text", "Text"));
    c.push_back(tool("ToolButton28", "ToolBar4", "Insert horizontal bar", "list-remove", "Rule"));
    c.push_back(
        tool("ToolButton13", "ToolBar4", "Insert a table", "x-office-spreadsheet", "Table"));
    c.push_back(tool("ToolButton20", "ToolBar4", "Insert flash movie", "video-x-generic", "Movie"));
    ControlDesc sep = separator("ToolButton18", "ToolBar4");
    sep.enabled = false;
    c.push_back(sep);
    c.push_back(tool("ToolButton35", "ToolBar4",
                     "Make an object draggable and absolute poistionned", "object-flip-horizontal",
                     "Float"));
    c.push_back(tool("ToolButton19", "ToolBar4",
                     "Make an object normal aligned and relative poistionned",
                     "object-flip-vertical", "Anchor"));
    ControlDesc absolute = withMenu(tool("ToolButton14", "ToolBar4",
                                         "Insert a free align image. (absolute position)\r\nYou "
                                         "can move and drag the image position.",
                                         "insert-image", "Free image"),
                                    "PopupMenuImageAbsolute");
    absolute.visible = false;
    c.push_back(absolute);
}

void addFormatBar(std::vector<ControlDesc>& c) {
    c.push_back(container("tlb_Format", Kind::ToolBar, "pgeneral"));
    ControlDesc fontName = tool("cmbFontName", "tlb_Format", "Select Font", "", "");
    fontName.kind = Kind::ComboBox;
    fontName.width = 160;
    fontName.items = {"Arial, Helvetica, sans-serif",
                      "Times New Roman, Times, serif",
                      "Courier New, Courier, mono",
                      "Georgia, Times New Roman, Times, serif",
                      "Verdana, Arial, Helvetica, sans-serif",
                      "Geneva, Arial, Helvetica, sans-serif",
                      "Arial",
                      "Helvetica",
                      "Sans-serif",
                      "Times New Roman",
                      "Times Serif",
                      "Courier New",
                      "Courier",
                      "Mono",
                      "Georgia",
                      "Geneva",
                      "Verdana"};
    c.push_back(fontName);
    ControlDesc fontSize = tool("cmbFontSize", "tlb_Format", "Select Font Size", "", "");
    fontSize.kind = Kind::ComboBox;
    fontSize.width = 50;
    fontSize.dropDownCount = 7;
    for (const char* sign : {"", "+", "-"})
        for (int i = 1; i <= 7; ++i)
            fontSize.items.push_back(sign + std::to_string(i));
    c.push_back(fontSize);
    ControlDesc color = tool("cmdcolor", "tlb_Format", "", "", "");
    color.kind = Kind::ColorPicker;
    color.color = clBtnFace;
    c.push_back(color);
    c.push_back(separator("tlb_FormatSep1", "tlb_Format"));
    c.push_back(
        of(Kind::CheckButton, tool("btnBold", "tlb_Format", "Bold", "format-text-bold", "B")));
    c.push_back(of(Kind::CheckButton,
                   tool("btnItalic", "tlb_Format", "Italic", "format-text-italic", "I")));
    c.push_back(of(Kind::CheckButton,
                   tool("btnUnderline", "tlb_Format", "Underscore", "format-text-underline", "U")));
    c.push_back(separator("tlb_FormatSep2", "tlb_Format"));
    c.push_back(grouped(
        tool("btnAlignLeft", "tlb_Format", "Left Justify", "format-justify-left", "Left"), 3));
    c.push_back(grouped(
        tool("btnAlignCenter", "tlb_Format", "Center", "format-justify-center", "Center"), 3));
    c.push_back(grouped(
        tool("btnAlignRight", "tlb_Format", "Right Justify", "format-justify-right", "Right"), 3));
    c.push_back(separator("tlb_FormatSep3", "tlb_Format"));
    c.push_back(tool("ToolButton70", "tlb_Format", "", "edit-clear", "Plain"));
    c.push_back(of(Kind::CheckButton, tool("btnNumberedList", "tlb_Format", "Numbered List",
                                           "view-list-ordered-symbolic", "1.")));
    c.push_back(of(Kind::CheckButton, tool("btnBulletedList", "tlb_Format", "Bulleted List",
                                           "view-list-bullet-symbolic", "*")));
    c.push_back(tool("btnIndentLeft", "tlb_Format", "Outdent", "format-indent-less", "<<"));
    c.push_back(tool("btnIndentRight", "tlb_Format", "Indent", "format-indent-more", ">>"));
}

// A labelled field of a property panel; a field without label is hidden.
void field(std::vector<ControlDesc>& c, const char* panel, const char* name, const char* label,
           Kind kind = Kind::Edit) {
    if (*label) {
        ControlDesc caption =
            container((std::string("lbl") + name).c_str(), Kind::Label, panel, label);
        c.push_back(caption);
    }
    ControlDesc f = container(name, kind, panel);
    f.visible = *label != '\0';
    c.push_back(f);
}

void addPropertyPanels(std::vector<ControlDesc>& c) {
    c.push_back(container("Panel1", Kind::Panel, "ptable", "General"));
    field(c, "Panel1", "TWidth", "Table Width");
    field(c, "Panel1", "Theight", "Table Height");
    field(c, "Panel1", "tbackground", "Background Color", Kind::ColorPicker);
    field(c, "Panel1", "Tcouleur", "");
    ControlDesc arrow =
        container("JvArrowButton1", Kind::DropDownButton, "Panel1", "Background Image");
    arrow.menu = "choiximagestab";
    arrow.showCaption = true;
    c.push_back(arrow);
    field(c, "Panel1", "TBGImage", "");
    c.push_back(container("Panel2", Kind::Panel, "ptable", "Borders"));
    field(c, "Panel2", "tborder", "Boder size");
    field(c, "Panel2", "TBorderColorCombo", "Border Color", Kind::ColorPicker);
    field(c, "Panel2", "TBorderColor", "");
    field(c, "Panel2", "Tcellspad", "Cell Padding");
    field(c, "Panel2", "TcellSpa", "Cell Spacing");

    c.push_back(container("Panel4", Kind::Panel, "pimage"));
    field(c, "Panel4", "isrc", "");
    field(c, "Panel4", "ialt", "Image Hint");
    field(c, "Panel4", "ivspace", "Vspace");
    field(c, "Panel4", "ihspace", "HSpace");
    field(c, "Panel4", "iborder", "Border");
    field(c, "Panel4", "iwidth", "Width");
    field(c, "Panel4", "iheight", "Height");
    field(c, "Panel4", "ialign", "Align", Kind::ComboBox);
    c.back().items = {"Default",         "Baseline",        "Top",  "Middle", "Bottom", "TextTop",
                      "Absolute Middle", "Absolute Bottom", "Left", "Right"};
}

void addPages(std::vector<ControlDesc>& c) {
    ControlDesc pages = container("PageControl1", Kind::PageControl, "");
    pages.tabsOnLeft = true;
    pages.tabWidth = 32;
    pages.multiLine = true;
    // The rest of the form's height, whichever page shows: the toolbars
    // above must not move when a click changes the page.
    pages.height = 197 - 65 - 19;
    c.push_back(pages);
    c.push_back(container("pgeneral", Kind::Page, "PageControl1", "Txt"));
    ControlDesc table = container("ptable", Kind::Page, "PageControl1", "Tab");
    table.visible = false;
    c.push_back(table);
    ControlDesc image = container("pimage", Kind::Page, "PageControl1", "Img");
    image.visible = false;
    c.push_back(image);
    ControlDesc source = container("HTMLSource", Kind::Page, "PageControl1", "htm");
    source.visible = false;
    c.push_back(source);

    addFormatBar(c);
    ControlDesc helper = container("helper", Kind::Browser, "pgeneral");
    helper.height = 60;
    c.push_back(helper);

    c.push_back(container("tlb_Table", Kind::ToolBar, "ptable"));
    c.push_back(
        tool("btnTableInsRow", "tlb_Table", "Insert a row to the table", "list-add", "+Row", true));
    c.push_back(tool("btnTableDelRow", "tlb_Table", "Delete a row from the table", "list-remove",
                     "-Row", true));
    c.push_back(tool("btnTableInsCol", "tlb_Table", "", "list-add", "+Col", true));
    c.push_back(tool("btnTableDelCol", "tlb_Table", "", "list-remove", "-Col", true));
    addPropertyPanels(c);
    c.push_back(container("memo2", Kind::Memo, "HTMLSource"));
}

void addMenus(std::vector<ControlDesc>& c) {
    c.push_back(container("popupstartnewpage", Kind::PopupMenu, ""));
    c.push_back(menuItem("Startablankpage1", "popupstartnewpage", "Start a blank page"));
    c.push_back(menuItem("Startawebpagefromtemplate1", "popupstartnewpage",
                         "Start a webpage from template..."));
    c.push_back(menuItem("Anewfileonyourserver1", "popupstartnewpage",
                         "A new file on your remote website", false));
    c.push_back(container("PopupMenuImagefixe", Kind::PopupMenu, ""));
    c.push_back(
        menuItem("Imagenormal1", "PopupMenuImagefixe", "Insert an image that is on my computer"));
    c.push_back(
        menuItem("Imagelayer1", "PopupMenuImagefixe", "Insert an image that is on a website"));
    c.push_back(container("PopupMenulink", Kind::PopupMenu, ""));
    c.push_back(menuItem("MenuItem4", "PopupMenulink", "Insert link (Browse...)"));
    c.push_back(menuItem("Removelink1", "PopupMenulink", "Remove link"));
    c.push_back(menuItem("Insertemail1", "PopupMenulink", "Insert email link"));
    c.push_back(container("choiximagestab", Kind::PopupMenu, ""));
    c.push_back(menuItem("MenuItem3", "choiximagestab", "Insert an image that is on a website"));
    c.push_back(menuItem("MenuItem5", "choiximagestab", "Insert an image that is on my computer"));
    c.push_back(menuItem("Nobackgroundimage1", "choiximagestab", "No background image"));
    c.push_back(container("PopupMenuImageAbsolute", Kind::PopupMenu, ""));
    c.push_back(
        menuItem("MenuItem2", "PopupMenuImageAbsolute", "Insert an image that is on a website"));
    c.push_back(
        menuItem("MenuItem1", "PopupMenuImageAbsolute", "Insert an image that is on my computer"));
}

FormDesc build() {
    FormDesc f;
    f.name = "TBandForm";
    f.caption = "Tavrisk";
    f.width = 1016;
    f.height = 197;
    f.border = false;
    f.fontName = "MS Sans Serif";
    f.fontHeight = -11;
    auto& c = f.controls;
    // Menus come first so that the buttons that drop them down find them.
    addMenus(c);
    ControlDesc cool = container("CoolBar1", Kind::CoolBar, "");
    cool.height = 65;
    c.push_back(cool);
    addEditBar(c);
    addInsertBar(c);
    addPages(c);
    ControlDesc status = container("StatusBar1", Kind::StatusBar, "");
    status.height = 19;
    status.items = {"", kNotConnected};
    status.widths = {300, 50};
    c.push_back(status);
    ControlDesc memo = container("Memo1", Kind::Memo, "");
    memo.visible = false;
    c.push_back(memo);
    // Test buttons of the form's own; hidden when the form is created.
    c.push_back(container("Button3", Kind::Button, "", "Button3"));
    c.push_back(container("Button4", Kind::Button, "", "Button4"));
    return f;
}

} // namespace

const FormDesc& bandFormDescription() {
    static const FormDesc description = build();
    return description;
}

} // namespace forms
