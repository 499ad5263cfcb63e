#pragma once

#include "connections/UrlParts.h"
#include "publishing/ftp/FtpClient.h"

#include <functional>
#include <string>
#include <vector>

struct IWebBrowser2;

namespace documents {

// What the band form lends an upload: the page, its address, the lists the
// reference rewriting fills, the session, and the band's status line.
struct UploadContext {
    IWebBrowser2* browser;
    connections::UrlParts& pageUri;
    std::string& remotePageURL;
    std::vector<std::string>& uploadNames;
    std::vector<std::string>& uploadFiles;
    ftp::FtpClient& ftp;
    // Where the page's local copy is written.
    std::string folder;
    // The site wizard's Finished action, which (re)connects the session.
    std::function<void()> reconnect;
    // The Save command: the browser's Save As.
    std::function<void()> saveToDisk;
    std::function<void(const std::string&)> status;
    std::function<void(const std::string&)> trace;
};

enum class UploadOutcome {
    OfferedSave, // the page is not from the site: saving to disk was offered
    Declined,    // the user did not want it sent
    Stopped,     // no session, or an emptied name: nothing was sent
    Published,   // the page and every file it refers to are on the server
    Cancelled,   // the user stopped it; the status says what got there
};

// Publishes the page being edited: saves it, rewrites its references to
// local files and stores it, then each of those files, in the session's
// current remote directory. Failures of a store raise after the status line
// has said which files reached the server.
class Upload {
public:
    explicit Upload(UploadContext context);
    Upload(const Upload&) = delete;
    Upload& operator=(const Upload&) = delete;

    UploadOutcome run();
    // Stops a running upload: before the next file, or in the middle of the
    // one being sent (the session is closed to do so).
    void cancel();
    bool running() const { return m_running; }

    // The name a file gets on the server so that the rewritten reference
    // finds it: the reference with its %XX escapes written out, unless that
    // would leave the folder or put control characters in the name.
    static std::string remoteNameFor(const std::string& reference);

private:
    struct Cancelled {};
    struct Sending {
        std::string local;
        std::string remote;
    };

    UploadOutcome publish();
    UploadOutcome offerSave();
    std::string saveLocalCopy();
    void rewriteReferences(const std::string& localPath);
    void checkReadable() const;
    void sendAll(const std::vector<Sending>& files);
    void showProgress(int64_t done);
    std::string reached() const;
    void status(const std::string& text);
    void trace(const std::string& line);

    UploadContext m_context;
    bool m_running = false;
    bool m_cancelled = false;
    bool m_inTransfer = false;
    std::vector<std::string> m_sent;
    std::string m_current;
    size_t m_index = 0;
    size_t m_total = 0;
    int64_t m_expected = 0;
};

} // namespace documents
