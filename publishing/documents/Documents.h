#pragma once

#include "connections/UrlParts.h"
#include "publishing/ftp/FtpClient.h"

#include <functional>
#include <string>

struct IWebBrowser2;

namespace documents {

// The text of a new page, one line ending in CR LF. A local page invites
// the user to edit it; a page on the site shows just its name.
std::string localPageText(const std::string& name);
std::string remotePageText(const std::string& name);

// The folder of the page templates that ship with the program.
std::string templateFolder();

// What the band form lends the document commands.
struct DocumentContext {
    IWebBrowser2* browser;
    connections::UrlParts& pageUri;
    ftp::FtpClient& ftp;
    // Where new pages are written.
    std::string folder;
    std::string templates;
    // Puts the page the browser shows into edit mode.
    std::function<void()> enterEditMode;
    // Waits until the browser has loaded what it was sent to.
    std::function<void()> waiting;
    std::function<void(const std::string&)> trace;
};

// New pages (on the disk or on the site), pages from templates, opening a
// local file and saving with the browser's Save As. An existing page is
// never replaced without the user's word.
class Documents {
public:
    explicit Documents(DocumentContext context) : m_context(std::move(context)) {}

    // On the site when the session is connected, else on the disk.
    void newPage();
    void newLocalPage();
    void newRemotePage();
    void pageFromTemplate();
    void open();
    void save();

private:
    bool startConfirmed() const;
    bool mayReplace(const std::string& what) const;
    void write(const std::string& path, const std::string& text) const;
    void show(const std::string& address);

    DocumentContext m_context;
};

} // namespace documents
