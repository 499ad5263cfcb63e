#include "publishing/documents/Upload.h"

#include "connections/TextOps.h"
#include "platform/browser/Dom.h"
#include "platform/ui/Dialogs.h"
#include "publishing/documents/SaveHtml.h"
#include "publishing/references/ParsePage.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace documents {

namespace {

int randomBelow100() {
    static std::mt19937 generator{std::random_device{}()};
    return std::uniform_int_distribution<int>(0, 99)(generator);
}

std::vector<std::string> readLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("Cannot open file \"" + path + "\".");
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

void writeLines(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines)
        out << line << "\r\n";
    if (!out.flush())
        throw std::runtime_error("Cannot write file \"" + path + "\".");
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string sizeText(int64_t bytes) {
    if (bytes < 1024)
        return std::to_string(bytes) + " bytes";
    if (bytes < 1024 * 1024)
        return std::to_string((bytes + 512) / 1024) + " KB";
    std::ostringstream text;
    text.precision(1);
    text << std::fixed << static_cast<double>(bytes) / (1024.0 * 1024.0) << " MB";
    return text.str();
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// Routes the client's work events to the upload while it runs, and gives
// the earlier handlers their events too.
class WorkEvents {
public:
    WorkEvents(ftp::FtpClient& client, std::function<void(int64_t)> begin,
               std::function<void(int64_t)> work)
        : m_client(client), m_begin(client.OnWorkBegin), m_work(client.OnWork) {
        client.OnWorkBegin = [this, begin](int64_t expected) {
            if (m_begin)
                m_begin(expected);
            begin(expected);
        };
        client.OnWork = [this, work](int64_t done) {
            if (m_work)
                m_work(done);
            work(done);
        };
    }
    ~WorkEvents() {
        m_client.OnWorkBegin = m_begin;
        m_client.OnWork = m_work;
    }
    WorkEvents(const WorkEvents&) = delete;
    WorkEvents& operator=(const WorkEvents&) = delete;

private:
    ftp::FtpClient& m_client;
    std::function<void(int64_t)> m_begin;
    std::function<void(int64_t)> m_work;
};

} // namespace

Upload::Upload(UploadContext context) : m_context(std::move(context)) {}

std::string Upload::remoteNameFor(const std::string& reference) {
    std::string name;
    for (size_t i = 0; i < reference.size(); ++i) {
        int high =
            reference[i] == '%' && i + 2 < reference.size() ? hexDigit(reference[i + 1]) : -1;
        int low = high >= 0 ? hexDigit(reference[i + 2]) : -1;
        if (low >= 0) {
            name += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            name += reference[i];
        }
    }
    bool unsafe = name == "." || name == "..";
    for (unsigned char c : name)
        unsafe = unsafe || c < 0x20 || c == 0x7f || c == '/' || c == '\\';
    return unsafe ? reference : name;
}

UploadOutcome Upload::run() {
    trace("upload");
    if (m_context.remotePageURL.empty())
        return offerSave();
    m_running = true;
    m_cancelled = false;
    m_inTransfer = false;
    m_sent.clear();
    try {
        UploadOutcome outcome = publish();
        m_running = false;
        return outcome;
    } catch (...) {
        m_running = false;
        throw;
    }
}

UploadOutcome Upload::offerSave() {
    if (ui::dialogs().confirmYesNo("Save the file to your disk ?", "Confirm") == ui::Answer::Yes) {
        m_context.saveToDisk();
        return UploadOutcome::OfferedSave;
    }
    browser::Browser shown(m_context.browser);
    shown.navigate(shown.locationURL());
    return UploadOutcome::OfferedSave;
}

UploadOutcome Upload::publish() {
    m_context.uploadNames.clear();
    m_context.uploadFiles.clear();
    if (ui::dialogs().confirmYesNo("Upload the file to your server ?", "Confirm") !=
        ui::Answer::Yes)
        return UploadOutcome::Declined;
    std::string localPath = saveLocalCopy();
    if (!m_context.ftp.Connected())
        m_context.reconnect();
    if (!m_context.ftp.Connected())
        return UploadOutcome::Stopped;
    connections::UrlParts& uri = m_context.pageUri;
    uri.document = ui::dialogs().prompt("Upload file", "Upload file", uri.document);
    if (uri.document.empty())
        return UploadOutcome::Stopped;
    trace("local copy " + localPath + ", remote name " + uri.document);
    if (uri.protocol.empty())
        throw std::runtime_error("Protocol field is empty");
    if (uri.host.empty())
        throw std::runtime_error("Host field is empty");
    m_context.remotePageURL = uri.addressText();
    rewriteReferences(localPath);
    checkReadable();
    if (!m_context.ftp.Connected())
        m_context.reconnect();

    std::vector<Sending> files{{localPath, uri.document}};
    for (size_t i = 0; i < m_context.uploadFiles.size(); ++i)
        files.push_back({m_context.uploadFiles[i], remoteNameFor(m_context.uploadNames[i])});
    try {
        sendAll(files);
    } catch (const Cancelled&) {
        status("Publishing cancelled. " + reached());
        return UploadOutcome::Cancelled;
    } catch (const std::exception&) {
        if (m_cancelled) {
            std::string cut = m_inTransfer ? m_current + " was cut off. " : "";
            status("Publishing cancelled. " + cut + reached());
            return UploadOutcome::Cancelled;
        }
        status("Publishing stopped at " + m_current + ". " + reached());
        throw;
    }
    status("Published " + std::to_string(files.size()) + " file(s) to the site.");
    return UploadOutcome::Published;
}

// The local copy goes to the folder under the page's cleaned name; when no
// earlier copy was there to be replaced, a number in front keeps it apart.
std::string Upload::saveLocalCopy() {
    std::string name = m_context.pageUri.document;
    connections::text::nettoie(name);
    std::string path = m_context.folder + name;
    if (std::remove(path.c_str()) != 0)
        path = m_context.folder + std::to_string(randomBelow100()) + name;
    saveHTML(m_context.browser, path);
    trace("saveHTML " + path);
    return path;
}

void Upload::rewriteReferences(const std::string& localPath) {
    std::vector<std::string> lines = readLines(localPath);
    references::parsepage(lines, m_context.uploadNames, m_context.uploadFiles,
                          [this](const std::string& line) { trace(line); });
    writeLines(localPath, lines);
}

// A missing picture is found before anything is sent, so that the site is
// not left with a new page whose pictures never follow it.
void Upload::checkReadable() const {
    for (const std::string& file : m_context.uploadFiles) {
        int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            throw std::runtime_error("The page refers to \"" + file +
                                     "\", which cannot be read. Nothing was sent.");
        ::close(fd);
    }
}

void Upload::sendAll(const std::vector<Sending>& files) {
    WorkEvents events(
        m_context.ftp, [this](int64_t expected) { m_expected = expected; },
        [this](int64_t done) { showProgress(done); });
    m_total = files.size();
    for (m_index = 0; m_index < files.size(); ++m_index) {
        if (m_cancelled)
            throw Cancelled{};
        m_current = files[m_index].remote.empty() ? files[m_index].local : files[m_index].remote;
        m_expected = 0;
        showProgress(0);
        if (m_cancelled)
            throw Cancelled{};
        m_inTransfer = true;
        m_context.ftp.Put(files[m_index].local, files[m_index].remote);
        m_inTransfer = false;
        m_sent.push_back(m_current);
        trace("PWD " + m_context.ftp.CurrentDirectory());
    }
}

void Upload::cancel() {
    if (!m_running || m_cancelled)
        return;
    m_cancelled = true;
    status("Cancelling...");
    // Closing the session is what interrupts a file on its way.
    if (m_index < m_total)
        m_context.ftp.Disconnect();
}

void Upload::showProgress(int64_t done) {
    std::string text = "Sending " + m_current + " (" + std::to_string(m_index + 1) + " of " +
                       std::to_string(m_total) + "): " + sizeText(done);
    if (m_expected > 0)
        text += " of " + sizeText(m_expected);
    status(text);
}

std::string Upload::reached() const {
    std::string text =
        m_sent.empty() ? "Nothing reached the server." : "On the server: " + joined(m_sent) + ".";
    if (m_index < m_total) {
        size_t left = m_total - m_index;
        text += " Not sent: " + std::to_string(left) + " file(s).";
    }
    return text;
}

void Upload::status(const std::string& text) {
    if (m_context.status)
        m_context.status(text);
}

void Upload::trace(const std::string& line) {
    if (m_context.trace)
        m_context.trace(line);
}

} // namespace documents
