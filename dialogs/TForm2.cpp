#include "dialogs/TForm2.h"

#include "connections/TextOps.h"
#include "dialogs/DialogHost.h"
#include "dialogs/FileFilters.h"
#include "forms/DialogDescriptions.h"
#include "platform/browser/Dom.h"
#include "platform/ui/Dialogs.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <stdexcept>

namespace dialogs {

namespace {

// A meta's content as memo lines.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t from = 0;;) {
        size_t to = text.find('\n', from);
        std::string line = text.substr(from, to - from);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        if (to == std::string::npos)
            return lines;
        from = to + 1;
    }
}

} // namespace

void walkHead(const browser::Document& document,
              const std::function<void(const browser::Element&)>& visit) {
    browser::Collection all = document.all();
    for (long i = 0; i < all.length(); ++i) {
        browser::Element element = all.item(i);
        if (!element)
            break;
        visit(element);
        std::string tag = connections::text::lowerCase(element.tagName());
        if (tag == "body" || tag == "tr" || tag == "table")
            break;
    }
}

TForm2::TForm2() : WindowedForm(forms::pagePropertiesDescription()) {
    form()["Button2"].onClick = [this] { Button2Click(); };
    form()["Button3"].onClick = [this] { Button3Click(); };
    form()["tbackground"].onChange = [this] { tbackground2ColorChange(); };
    form()["Noimage1"].onClick = [this] { Noimage1Click(); };
    form()["Imagenormal1"].onClick = [this] { Imagenormal1Click(); };
    form()["Imagelayer1"].onClick = [this] { Imagelayer1Click(); };
}

void TForm2::Show() {
    ensureWindow();
    FormObject::Show();
    FormShow();
}

browser::Document TForm2::pageDocument() const {
    if (!FBandForm || !FBandForm->pageBrowser())
        throw std::runtime_error("No page is shown in the browser");
    return browser::Browser(ComPtr<IWebBrowser2>(FBandForm->pageBrowser())).document();
}

void TForm2::FormShow() {
    forms::Form& f = form();
    f["title"].setText("");
    f["backgroundimage"].setText("");
    f["tbackgroundcolor"].setText("");
    f["keywords"].setLines({});
    f["description"].setLines({});

    browser::Document document = pageDocument();
    f["title"].setText(document.title());
    f["tbackgroundcolor"].setText(document.bgColor());
    forms::ColorValue color = f["tbackground"].color();
    if (FBandForm->htmlToColor(f["tbackgroundcolor"].text(), color) &&
        color != f["tbackground"].color()) {
        // The picker reports its new color, as a user's choice would.
        f["tbackground"].setColor(color);
        tbackground2ColorChange();
    }
    f["backgroundimage"].setText(document.body().getAttribute("background").toText());

    std::vector<std::string> keywords, description;
    walkHead(document, [&](const browser::Element& element) {
        if (connections::text::lowerCase(element.tagName()) != "meta")
            return;
        std::string name = connections::text::lowerCase(element.metaName());
        std::vector<std::string>* memo = name == "keywords"      ? &keywords
                                         : name == "description" ? &description
                                                                 : nullptr;
        if (memo)
            for (const std::string& line : linesOf(element.metaContent()))
                memo->push_back(line);
    });
    f["keywords"].setLines(keywords);
    f["description"].setLines(description);
}

void TForm2::Button2Click() {
    forms::Form& f = form();
    browser::Document document = pageDocument();
    document.setTitle(f["title"].text());
    document.setBgColor(f["tbackgroundcolor"].text());
    // No picture takes the attribute away: an empty one would have the
    // engine load the page itself as the background.
    const std::string& image = f["backgroundimage"].text();
    document.body().setAttribute("background",
                                 image.empty() ? browser::Value() : browser::Value(image));
    std::string keywords = f["keywords"].linesText();
    std::string description = f["description"].linesText();
    walkHead(document, [&](const browser::Element& element) {
        if (connections::text::lowerCase(element.tagName()) != "meta")
            return;
        std::string name = connections::text::lowerCase(element.metaName());
        if (name == "keywords")
            element.setMetaContent(keywords);
        else if (name == "description")
            element.setMetaContent(description);
    });
    Hide();
}

void TForm2::Button3Click() {
    Hide();
}

void TForm2::tbackground2ColorChange() {
    if (FBandForm)
        form()["tbackgroundcolor"].setText(FBandForm->colorToHtml(form()["tbackground"].color()));
}

void TForm2::Noimage1Click() {
    form()["backgroundimage"].setText("");
}

void TForm2::Imagenormal1Click() {
    ui::FileDialogRequest request;
    request.title = "Background image";
    request.filters = parseFilter(forms::kPictureFilter);
    request.pictures = true;
    // The file dialog is modal and goes in front of this always-on-top one.
    std::optional<std::string> chosen = ui::dialogs().openFile(request);
    std::error_code error;
    if (chosen && !chosen->empty() && std::filesystem::is_regular_file(*chosen, error))
        form()["backgroundimage"].setText(fileAddress(*chosen));
}

void TForm2::Imagelayer1Click() {
    if (!FBandForm)
        return;
    FBandForm->setImageTarget(7);
    FBandForm->setGalleryForImage(true);
    FBandForm->showLinksAndImages();
}

} // namespace dialogs
