#include "tools/TForm3.h"

#include "forms/TableDialogDescription.h"
#include "forms/gtk/FormView.h"
#include "platform/ui/Dialogs.h"
#include "platform/window/Windows.h"
#include "tools/Colors.h"

#include <filesystem>
#include <stdexcept>

namespace tools {

TForm3::TForm3() : FormObject(forms::tableDialogDescription()) {
    forms::Form& f = form();
    const TableFields initial;
    f["Trows"].setText(initial.rows);
    f["tcolumns"].setText(initial.columns);
    f["twidth"].setText(initial.width);
    f["widthunit"].setText(initial.widthUnit);
    f["heightunit"].setText(initial.heightUnit);
    f["tborder"].setText(initial.border);
    f["Tcellpadding"].setText(initial.cellPadding);
    f["Tcellspacing"].setText(initial.cellSpacing);
    bindHandlers();
}

TForm3::~TForm3() {
    m_view.reset();
    if (m_window)
        win::DestroyWindow(m_window);
}

void TForm3::bindHandlers() {
    forms::Form& f = form();
    f["Trows"].onChange = [this] { TrowsChange(); };
    f["tcolumns"].onChange = [this] { TrowsChange(); };
    f["fixed"].onClick = [this] { fixedClick("fixed"); };
    f["moveable"].onClick = [this] { fixedClick("moveable"); };
    f["Button3"].onClick = [this] { Button3Click(); };
    f["tbackground"].onChange = [this] { tbackground2ColorChange(); };
    f["dfsColorButton1"].onChange = [this] { dfsColorButton2ColorChange(); };
    f["Imagelayer1"].onClick = [this] { Imagelayer1Click(); };
    f["Imagenormal1"].onClick = [this] { Imagenormal1Click(); };
}

void TForm3::Show() {
    // The window is made when the dialog is first wanted.
    if (!m_window) {
        const forms::FormDesc& d = form().desc();
        m_window = win::CreateWindowObject({"TForm3", d.caption, nullptr, d.width, d.height});
        m_view = forms::gtkview::buildIfDisplayed(form(), m_window);
    }
    FormShow();
    FormObject::Show();
}

TableFields TForm3::fields() const {
    const forms::Form& f = form();
    TableFields t;
    t.rows = f["Trows"].text();
    t.columns = f["tcolumns"].text();
    t.width = f["twidth"].text();
    t.widthUnit = f["widthunit"].text();
    t.height = f["theight"].text();
    t.heightUnit = f["heightunit"].text();
    t.border = f["tborder"].text();
    t.cellPadding = f["Tcellpadding"].text();
    t.cellSpacing = f["Tcellspacing"].text();
    t.borderColor = f["tbordercolor"].text();
    t.background = f["TBGImage"].text();
    t.backgroundColor = f["Tcouleur"].text();
    return t;
}

void TForm3::FormShow() {
    TrowsChange();
}

void TForm3::TrowsChange() {
    try {
        forms::Control& grid = form()["grid"];
        forms::Control::GridShape shape;
        shape.rows = std::stoi(form()["Trows"].text());
        shape.columns = std::stoi(form()["tcolumns"].text());
        shape.rows = std::max(1, shape.rows);
        shape.columns = std::max(1, shape.columns);
        shape.columnWidth = grid.desc().width / shape.columns;
        shape.rowHeight = grid.desc().height / shape.rows;
        grid.setGridShape(shape);
    } catch (const std::exception&) {
        // A count being typed is not a number yet: the preview waits.
    }
}

void TForm3::fixedClick(const std::string& button) {
    std::string html = tableMarkup(fields(), button == "moveable");
    if (!pasteHTML)
        throw std::runtime_error("No document to insert the table into");
    pasteHTML(html);
    Hide();
}

void TForm3::Button3Click() {
    Hide();
}

void TForm3::tbackground2ColorChange() {
    form()["Tcouleur"].setText(ColorToHtml(form()["tbackground"].color()));
}

void TForm3::dfsColorButton2ColorChange() {
    form()["tbordercolor"].setText(ColorToHtml(form()["dfsColorButton1"].color()));
}

void TForm3::Imagelayer1Click() {
    if (chooseWebImage)
        chooseWebImage();
}

void TForm3::Imagenormal1Click() {
    // The dialog stays on top of other windows: out of the way while the
    // picture is chosen, back when the choice is made.
    Hide();
    ui::FileDialogRequest request;
    request.title = "Background image";
    request.pictures = true;
    request.filters = {{"Pictures", {"*.gif", "*.jpg", "*.jpeg", "*.png", "*.bmp"}},
                       {"All files", {"*"}}};
    if (!m_lastPicture.empty())
        request.initialFolder = std::filesystem::path(m_lastPicture).parent_path().string();
    std::optional<std::string> chosen = ui::dialogs().openFile(request);
    Show();
    if (chosen && std::filesystem::exists(*chosen)) {
        m_lastPicture = *chosen;
        form()["TBGImage"].setText(*chosen);
    }
}

} // namespace tools
