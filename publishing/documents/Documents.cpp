#include "publishing/documents/Documents.h"

#include "platform/browser/Dom.h"
#include "platform/places/Places.h"
#include "platform/ui/Dialogs.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace documents {

namespace {

const char* const kNewPageName = "newpage.htm";

bool exists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

} // namespace

std::string localPageText(const std::string& name) {
    return "<html><head><title>" + name + "</title></head><body>Edit here (" + name +
           ")</body></html>\r\n";
}

std::string remotePageText(const std::string& name) {
    return "<html><head><title>" + name + "</title></head><body>" + name + "</body></html>\r\n";
}

std::string templateFolder() {
    return places::withTrailingSlash(places::shareFolder() / "Templates");
}

void Documents::newPage() {
    if (m_context.ftp.Connected())
        newRemotePage();
    else
        newLocalPage();
}

bool Documents::startConfirmed() const {
    return ui::dialogs().confirmYesNo("Start a new page ?", "Confirm") == ui::Answer::Yes;
}

bool Documents::mayReplace(const std::string& what) const {
    return ui::dialogs().confirmYesNo(what + " already exists. Replace it ?", "Confirm") ==
           ui::Answer::Yes;
}

void Documents::write(const std::string& path, const std::string& text) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush())
        throw std::runtime_error("Cannot write file \"" + path + "\".");
}

void Documents::show(const std::string& address) {
    browser::Browser(m_context.browser).navigate(address);
    if (m_context.trace)
        m_context.trace("navigate " + address);
    m_context.waiting();
    m_context.enterEditMode();
}

void Documents::newLocalPage() {
    if (!startConfirmed())
        return;
    std::string name =
        ui::dialogs().prompt("Filename", "Enter the name of the new page", kNewPageName);
    if (name.empty())
        return;
    std::string path = m_context.folder + name;
    if (exists(path) && !mayReplace("The page \"" + name + "\""))
        return;
    write(path, localPageText(name));
    show(path);
}

void Documents::newRemotePage() {
    if (!startConfirmed())
        return;
    std::string name = ui::dialogs().prompt("Page name", "New page name", kNewPageName);
    if (name.empty())
        return;
    // SIZE answers for files only, so a folder of that name is not taken
    // for a page; a server without SIZE cannot tell, and the page is sent.
    if (m_context.ftp.Size(name) >= 0 && !mayReplace("The page \"" + name + "\" on your web site"))
        return;
    std::string path = m_context.folder + name;
    write(path, remotePageText(name));
    m_context.ftp.Put(path, name);
    connections::UrlParts& uri = m_context.pageUri;
    uri.document = name;
    // A site on a port of its own is reached on that port.
    std::string port = uri.port.empty() ? "" : ":" + uri.port;
    show(uri.protocol + "://" + uri.host + port + uri.path + name);
}

void Documents::pageFromTemplate() {
    ui::FileDialogRequest request;
    request.title = "Start a webpage from template";
    request.initialFolder = m_context.templates;
    request.filters = {{"html (*.htm, *.html)", {"*.htm", "*.html"}}, {"Tous(*.*)", {"*"}}};
    request.pictures = true;
    std::optional<std::string> chosen = ui::dialogs().openFile(request);
    if (!chosen || chosen->empty() || !exists(*chosen))
        return;
    browser::Browser(m_context.browser).navigate(*chosen);
    m_context.waiting();
    m_context.enterEditMode();
}

void Documents::open() {
    ui::FileDialogRequest request;
    request.title = "Open";
    request.filters = {{"Tous (*.htm, *.html, *.txt)", {"*.htm", "*.html", "*.txt"}},
                       {"HTML (*.htm, *.html)", {"*.htm", "*.html"}},
                       {"TXT (*.txt)", {"*.txt"}},
                       {"Tous (*.*)", {"*"}}};
    std::optional<std::string> chosen = ui::dialogs().openFile(request);
    if (!chosen || !exists(*chosen))
        return;
    browser::Browser(m_context.browser).navigate(*chosen);
    m_context.waiting();
}

void Documents::save() {
    browser::Browser(m_context.browser).document().execCommand("SaveAs", false, std::string());
    m_context.waiting();
}

} // namespace documents
