#include "TMainForm.h"

#include "platform/browser/Dom.h"
#include "platform/loop/PumpUntil.h"
#include "platform/places/Places.h"
#include "platform/ui/Dialogs.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace ftp {

namespace {

std::string trimmed(const std::string& s) {
    auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

std::string lowerCase(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

int randomBelow1000() {
    static std::mt19937 generator{std::random_device{}()};
    return std::uniform_int_distribution<int>(0, 999)(generator);
}

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("Cannot open file \"" + path + "\".");
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

TMainForm::TMainForm(FtpSettings settings) : IdFTP1(settings) {
    FtpServerEdit.clear();
    IdFTP1.OnStatus = [this](FtpStatus kind, const std::string& text) { IdFTP1Status(kind, text); };
    IdFTP1.OnWorkBegin = [this](int64_t expected) { IdFTP1WorkBegin(expected); };
    IdFTP1.OnWork = [this](int64_t done) { IdFTP1Work(done); };
    IdFTP1.OnWorkEnd = [this] { IdFTP1WorkEnd(); };
    IdFTP1.OnDisconnected = [this] { IdFTP1Disconnected(); };
}

void TMainForm::bandStatus(const std::string& text) {
    if (FBandForm)
        FBandForm->setBandStatus(text);
}

void TMainForm::trace(const std::string& line) {
    if (FBandForm)
        FBandForm->trace(line);
}

void TMainForm::error(const std::string& message) {
    if (FErrorRoutine) {
        FErrorRoutine->error(message);
        return;
    }
    IdFTP1.Disconnect();
    ui::dialogs().message(message, "Warning", ui::Icon::Warning);
}

void TMainForm::ConnectButtonClick() {
    FErrorText.clear();
    if (IdFTP1.Connected())
        IdFTP1.Disconnect();
    try {
        IdFTP1.Username = UserIDEdit;
        IdFTP1.Password = PasswordEdit;
        IdFTP1.Host = FtpServerEdit;
        IdFTP1.Connect();
        bandStatus("Connected to " + FtpServerEdit);
        enterRemoteStart();
    } catch (...) {
        if (!IdFTP1.Connected())
            error("Could not connect");
        throw;
    }
    if (!IdFTP1.Connected())
        error("Could not connect");
}

void TMainForm::enterRemoteStart() {
    if (!IdFTP1.Connected())
        return;
    // Already there: no change and no listing, the last listing stays.
    if (IdFTP1.CurrentDirectory() != remotestart)
        changedir(remotestart);
    bandStatus("Remote directory: " + remotestart);
}

void TMainForm::changedir(const std::string& directory) {
    trace("changedir " + directory);
    std::string target = trimmed(directory).empty() ? "/" : directory;
    remotestart = target;
    try {
        IdFTP1.ChangeDirectory(target);
    } catch (const std::exception& e) {
        FErrorText.clear();
        ui::dialogs().message("No such directory", "Error", ui::Icon::Error);
        error(e.what());
        return;
    }
    try {
        CurrentDirEdit = IdFTP1.CurrentDirectory();
        DirectoryListBox.clear();
        DirectoryListBox = IdFTP1.List();
    } catch (const std::exception& e) {
        FErrorText.clear();
        ui::dialogs().message("Could not retrieve directory", "Error", ui::Icon::Error);
        error(e.what());
    }
}

void TMainForm::ChDirButtonClick() {
    trace("ChDirButtonClick " + CurrentDirEdit);
    changedir(CurrentDirEdit);
}

void TMainForm::getfile(const std::string& remoteName) {
    if (!IdFTP1.Connected())
        return;
    std::string folder = places::withTrailingSlash(places::cacheFolder());
    std::string localPath = folder + FBandForm->tempPageName();
    FExpectedSize = IdFTP1.Size(remoteName);
    // A fresh name each time the old copy could be removed, so that the
    // browser does not show a cached copy of the previous page.
    if (std::remove(localPath.c_str()) == 0) {
        FBandForm->setTempPageName(std::to_string(randomBelow1000()) + FBandForm->tempPageName());
        localPath = folder + FBandForm->tempPageName();
    }
    IdFTP1.Get(remoteName, localPath);
    addBaseElement(localPath);
    showWorkingCopy(localPath);
}

// Relative references of the copy resolve against the site, not against
// the local folder.
void TMainForm::addBaseElement(const std::string& localPath) {
    std::string page = readWhole(localPath);
    if (lowerCase(page).find("<base href") != std::string::npos)
        return;
    const connections::UrlParts& uri = FBandForm->pageUri();
    std::string base = "<base href=\"" + uri.protocol + "://" + uri.host + uri.path + "\"/>\r\n";
    std::ofstream out(localPath, std::ios::binary | std::ios::trunc);
    out << base << page;
    if (!out.flush())
        throw std::runtime_error("Cannot write file \"" + localPath + "\".");
}

void TMainForm::showWorkingCopy(const std::string& localPath) {
    browser::Browser shown(FBandForm->browser());
    FBandForm->setRemotePageURL(shown.locationURL());
    trace("FRemotePageURL " + FBandForm->remotePageURL());
    shown.navigate(localPath);
    // A copy that never finishes loading is still shown as far as it got.
    if (!loop::pumpUntil([&] { return !shown.busy(); }, std::chrono::seconds(60)))
        trace("The working copy was still loading after 60 seconds");
}

void TMainForm::IdFTP1Status(FtpStatus, const std::string& text) {
    StatusPanel = text;
}

void TMainForm::IdFTP1WorkBegin(int64_t expected) {
    FTransferStart = std::chrono::system_clock::now();
    ProgressMax = expected > 0 ? expected : FExpectedSize;
}

void TMainForm::IdFTP1Work(int64_t done) {
    ProgressPosition = done;
}

void TMainForm::IdFTP1WorkEnd() {
    StatusPanel = "Transfer complete.";
    FExpectedSize = 0;
    ProgressPosition = 0;
}

void TMainForm::IdFTP1Disconnected() {
    StatusPanel = "Disconnected.";
}

} // namespace ftp
