#include "forms/TableDialogDescription.h"

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

// A panel whose children stack from top to bottom.
ControlDesc group(const char* name, const char* parent, const char* caption) {
    ControlDesc c = control(name, Kind::Panel, parent, caption);
    c.multiLine = true;
    return c;
}

ControlDesc spin(const char* name, const char* parent, int minimum) {
    ControlDesc c = control(name, Kind::SpinEdit, parent);
    c.minimum = minimum;
    return c;
}

ControlDesc unitBox(const char* name, const char* parent) {
    ControlDesc c = control(name, Kind::ComboBox, parent);
    c.items = {"%", "px"};
    c.width = 50;
    return c;
}

ControlDesc hidden(ControlDesc c) {
    c.visible = false;
    return c;
}

} // namespace

FormDesc tableDialogDescription() {
    FormDesc f;
    f.name = "TForm3";
    f.caption = "Table properties";
    f.width = 420;
    f.height = 470;
    f.toolWindow = true;
    f.stayOnTop = true;
    f.sizeable = false;
    auto& c = f.controls;

    c.push_back(group("GroupBox1", "", "General table properties"));
    c.push_back(control("PanelRows", Kind::Panel, "GroupBox1"));
    c.push_back(control("Label1", Kind::Label, "PanelRows", "Number of Rows"));
    c.push_back(spin("Trows", "PanelRows", 1));
    c.push_back(control("PanelColumns", Kind::Panel, "GroupBox1"));
    c.push_back(control("Label2", Kind::Label, "PanelColumns", "Number of Columns"));
    c.push_back(spin("tcolumns", "PanelColumns", 1));
    c.push_back(control("PanelWidth", Kind::Panel, "GroupBox1"));
    c.push_back(control("Label3", Kind::Label, "PanelWidth", "Width of the table"));
    c.push_back(control("twidth", Kind::Edit, "PanelWidth"));
    c.push_back(unitBox("widthunit", "PanelWidth"));
    c.push_back(control("PanelHeight", Kind::Panel, "GroupBox1"));
    c.push_back(control("Label4", Kind::Label, "PanelHeight", "Height of the table"));
    c.push_back(control("theight", Kind::Edit, "PanelHeight"));
    c.push_back(unitBox("heightunit", "PanelHeight"));

    c.push_back(group("GroupBox2", "", "Borders"));
    c.push_back(control("PanelBorder", Kind::Panel, "GroupBox2"));
    c.push_back(control("Label5", Kind::Label, "PanelBorder", "Border width"));
    c.push_back(spin("tborder", "PanelBorder", 0));
    c.push_back(control("Label6", Kind::Label, "PanelBorder", "Cell pading"));
    c.push_back(spin("Tcellpadding", "PanelBorder", 0));
    c.push_back(control("Label7", Kind::Label, "PanelBorder", "Cell spacing"));
    c.push_back(spin("Tcellspacing", "PanelBorder", 0));
    c.push_back(control("PanelBorderColor", Kind::Panel, "GroupBox2"));
    c.push_back(control("Label8", Kind::Label, "PanelBorderColor", "Border color"));
    c.push_back(hidden(control("tbordercolor", Kind::Edit, "PanelBorderColor")));
    ControlDesc borderColor = control("dfsColorButton1", Kind::ColorPicker, "PanelBorderColor");
    borderColor.hint = "Enter the  table border color";
    c.push_back(borderColor);

    c.push_back(group("GroupBox3", "", "Background"));
    c.push_back(control("PanelBackground", Kind::Panel, "GroupBox3"));
    c.push_back(control("Label9", Kind::Label, "PanelBackground", "Background color"));
    c.push_back(hidden(control("Tcouleur", Kind::Edit, "PanelBackground")));
    ControlDesc background = control("tbackground", Kind::ColorPicker, "PanelBackground");
    background.color = 0xFFFFFF;
    c.push_back(background);
    c.push_back(control("Label10", Kind::Label, "PanelBackground", "Background image"));
    c.push_back(hidden(control("TBGImage", Kind::Edit, "PanelBackground")));
    ControlDesc arrow = control("JvArrowButton1", Kind::DropDownButton, "PanelBackground", "...");
    arrow.menu = "choiximages";
    c.push_back(arrow);
    c.push_back(control("choiximages", Kind::PopupMenu, ""));
    c.push_back(control("Imagelayer1", Kind::MenuItem, "choiximages",
                        "Insert an image that is on a website"));
    c.push_back(control("Imagenormal1", Kind::MenuItem, "choiximages",
                        "Insert an image that is on my computer"));

    ControlDesc grid = control("grid", Kind::Grid, "");
    grid.width = 375;
    grid.height = 105;
    c.push_back(grid);

    c.push_back(control("PanelButtons", Kind::Panel, ""));
    c.push_back(control("Button3", Kind::Button, "PanelButtons", "&Cancel"));
    c.push_back(control("fixed", Kind::Button, "PanelButtons", "Insert the table"));
    c.push_back(
        hidden(control("moveable", Kind::Button, "PanelButtons", "Insert a moveable table")));
    return f;
}

} // namespace forms
